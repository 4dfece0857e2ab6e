#include "framework/app/PathUtil.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Zelk;

TEST(Paths, Table)
{
    EXPECT_EQ(GetFileName("a/b\\c.png"), "c.png");
    EXPECT_EQ(GetFileName("plain"), "plain");
    EXPECT_EQ(GetFileNameNoExt("a/b\\c.png", true), "c");
    EXPECT_EQ(GetFileNameNoExt("a.b/c", true), "c");
    EXPECT_EQ(GetFileNameNoExt("a/c.tar.gz", true), "c.tar");
    EXPECT_EQ(GetFileNameNoExt("a/c.png", false), "c.png");
    EXPECT_EQ(GetFileDir("a/b\\c.png", false), "a/b");
    EXPECT_EQ(GetFileDir("a\\b/c.png", true), "a\\b/");
    EXPECT_EQ(GetFileDir("c.png", true), "");
    EXPECT_EQ(AddTrailingSlash("", true), "");
    EXPECT_EQ(AddTrailingSlash("x", true), "x\\");
    EXPECT_EQ(AddTrailingSlash("x", false), "x/");
    EXPECT_EQ(AddTrailingSlash("x/", true), "x/");
    EXPECT_EQ(RemoveTrailingSlash("c:\\x\\"), "c:\\x");
    EXPECT_EQ(RemoveTrailingSlash("c:\\x"), "c:\\x");
    EXPECT_EQ(RemoveTrailingSlash(""), "");
}

TEST(AppDataFolder, GetsOneTrailingSeparator)
{
    std::string saved = gAppDataFolder;
    SetAppDataFolder("/data/Product");
    EXPECT_EQ(GetAppDataFolder(), "/data/Product\\");
    SetAppDataFolder("/data/Product/");
    EXPECT_EQ(GetAppDataFolder(), "/data/Product/");
    gAppDataFolder = saved;
}

class DeleteTree : public ::testing::Test {
protected:
    testsupport::TempDir tmp;
    void TearDown() override { gDeleteEntryHook = nullptr; }
};

TEST_F(DeleteTree, RemovesNestedTree)
{
    tmp.Write("t/a.txt", "a");
    tmp.Write("t/sub/deeper/b.txt", "b");
    CreateDirectories(tmp / "t\\empty\\x");
    EXPECT_TRUE(DeleteDirectoryTree(tmp / "t"));
    EXPECT_FALSE(tmp.Exists("t"));
}

TEST_F(DeleteTree, ShortPathIsRefused)
{
    EXPECT_FALSE(DeleteDirectoryTree(""));
    EXPECT_FALSE(DeleteDirectoryTree("/"));
}

TEST_F(DeleteTree, OneFailingEntryFailsButTheRestGoes)
{
    tmp.Write("t/keep.txt", "k");
    tmp.Write("t/go1.txt", "1");
    tmp.Write("t/sub/go2.txt", "2");
    gDeleteEntryHook = [](const std::string& p) { return p.find("keep.txt") == std::string::npos; };
    EXPECT_FALSE(DeleteDirectoryTree(tmp / "t"));
    EXPECT_TRUE(tmp.Exists("t/keep.txt"));
    EXPECT_FALSE(tmp.Exists("t/go1.txt"));
    EXPECT_FALSE(tmp.Exists("t/sub"));
}

TEST_F(DeleteTree, LinkIsRemovedAndItsTargetKept)
{
    tmp.Write("outside/precious.txt", "p");
    tmp.Write("t/x.txt", "x");
    ASSERT_EQ(symlink((tmp / "outside").c_str(), (tmp / "t/link").c_str()), 0);
    EXPECT_TRUE(DeleteDirectoryTree(tmp / "t"));
    EXPECT_FALSE(tmp.Exists("t"));
    EXPECT_EQ(tmp.Read("outside/precious.txt"), "p");
}
