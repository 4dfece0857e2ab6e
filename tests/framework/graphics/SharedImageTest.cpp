#include "GraphicsFixtures.h"

#include "framework/app/ZelkAppBase.h"
#include "framework/graphics/SharedImage.h"

#include <gtest/gtest.h>

#include <thread>

using namespace Zelk;

namespace {

// Counts deletions of the images it hands out.
struct CountedImage : Image {
    explicit CountedImage(int* deleted) : mDeleted(deleted) {}
    ~CountedImage() override { ++*mDeleted; }
    int* mDeleted;
};

class SharedImages : public ::testing::Test {
protected:
    // What the application's look-up by name does: one record per key.
    SharedImageRef Get(const std::string& name)
    {
        auto& record = app.mSharedImageMap[{name, ""}];
        if (!record.mImage)
            record.mImage = new CountedImage(&deleted);
        return SharedImageRef(&record);
    }
    void TearDown() override
    {
        app.mSharedImagePurgeWanted = true;
        app.PurgeSharedImages();
    }
    test::TestApplication t;
    ZelkAppBase& app = t.app;
    int deleted = 0;
};

} // namespace

TEST_F(SharedImages, UseCountsAndDeferredDeletion)
{
    SharedImageRef a = Get("A");
    SharedImage* record = a.mSharedImage;
    {
        SharedImageRef b = Get("A");
        SharedImageRef c(b);
        EXPECT_EQ(record->mRefCount, 3);
        EXPECT_EQ(c.GetImage(), a.GetImage());
    }
    EXPECT_EQ(record->mRefCount, 1);
    EXPECT_FALSE(app.mSharedImagePurgeWanted);

    a.Release();
    EXPECT_TRUE(app.mSharedImagePurgeWanted);
    EXPECT_EQ(deleted, 0); // only the next purge deletes it
    app.PurgeSharedImages();
    EXPECT_EQ(deleted, 1);
    EXPECT_TRUE(app.mSharedImageMap.empty());
    EXPECT_FALSE(app.mSharedImagePurgeWanted);

    // A record that gained a handle again before the purge survives it.
    SharedImageRef d = Get("B");
    d.Release();
    SharedImageRef e = Get("B");
    app.PurgeSharedImages();
    EXPECT_EQ(deleted, 1);
    EXPECT_NE(e.GetSharedImage(), nullptr);
}

TEST_F(SharedImages, AssignmentSharesOnlyTheRecord)
{
    SharedImageRef a = Get("A");
    SharedImage* record = a.mSharedImage;
    SharedImageRef& same = a;
    a = same; // self-assignment keeps the image
    EXPECT_EQ(record->mRefCount, 1);
    EXPECT_NE(a.GetImage(), nullptr);
    EXPECT_FALSE(app.mSharedImagePurgeWanted);

    SharedImageRef b;
    b.Assign(record);
    b.Assign(record);
    EXPECT_EQ(record->mRefCount, 2);

    // A handle holding only a direct image.
    int directDeleted = 0;
    SharedImageRef owner;
    owner.AssignOwned(new CountedImage(&directDeleted));
    {
        SharedImageRef view(owner); // shares, does not own
        EXPECT_EQ(view.GetImage(), owner.GetImage());
        EXPECT_EQ(view.GetSharedImage(), nullptr);
        SharedImageRef assigned;
        assigned = owner; // the direct image is not taken over
        EXPECT_EQ(assigned.GetImage(), nullptr);
    }
    EXPECT_EQ(directDeleted, 0);
    owner.Release();
    EXPECT_EQ(directDeleted, 1);
    EXPECT_FALSE(app.mSharedImagePurgeWanted); // no record: nothing for the application
}

// The loading thread makes and drops handles while the main thread does: no
// count may be lost, or the image would be deleted while held (or never).
TEST_F(SharedImages, HandlesMadeOnTwoThreadsKeepTheCount)
{
    SharedImageRef held = Get("busy");
    SharedImage* record = held.mSharedImage;
    auto churn = [&held] {
        for (int i = 0; i < 200000; ++i) {
            SharedImageRef copy(held);
            SharedImageRef other;
            other = copy;
        }
    };
    std::thread loader(churn);
    churn();
    loader.join();
    EXPECT_EQ(record->mRefCount.load(), 1);
}
