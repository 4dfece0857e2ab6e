#include "framework/app/DebugToolHooks.h"
#include "framework/app/DeveloperToolsConnection.h"
#include "framework/app/Profiler.h"
#include "platform/NullPlatform.h"

#include <gtest/gtest.h>

using namespace Zelk;

TEST(DeveloperTools, DebugKeysReachTheProfilerAndTheTunableConstants)
{
    plat::NullPlatform platform;
    DebugToolHooks hooks;
    ConnectDeveloperTools(hooks);

    Profiler::Get().SetCpuSpeed(1000000); // no 10 ms measurement in the test
    EXPECT_FALSE(hooks.profilerRunning());
    hooks.profilerStart();
    EXPECT_TRUE(Profiler::Get().IsRunning());
    EXPECT_TRUE(hooks.profilerRunning());
    hooks.profilerStop();
    EXPECT_FALSE(hooks.profilerRunning());
    EXPECT_EQ(hooks.profilerReport().rfind("Total Time: ", 0), 0u);

    // The program has no constant of its own that was read, so the reload
    // finds no changed file and says so.
    EXPECT_FALSE(hooks.reloadTunables());
    auto boxes = platform.messageBoxes.Log();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, L"MODVAL WARNING!");
}
