#include "platform/instance/SingleInstance.h"
#include "tests/support/TempDir.h"

#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using namespace plat;

TEST(SingleInstance, SecondHolderIsRefusedAndNotifiesTheFirst)
{
    testsupport::TempDir tmp;
    SingleInstance first(tmp.Path());
    std::atomic<int> notified{0};
    first.onNotify = [&] { ++notified; };
    ASSERT_TRUE(first.Acquire("ProductMutex"));

    SingleInstance second(tmp.Path());
    EXPECT_FALSE(second.Acquire("ProductMutex"));
    EXPECT_TRUE(second.NotifyFirst("ProductMutex"));
    for (int i = 0; i < 2000 && notified == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(notified.load(), 1);

    first.Release();
    EXPECT_TRUE(second.Acquire("ProductMutex"));
}
