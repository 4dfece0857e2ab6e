#include "platform/settings/FileSettingsStore.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace plat;

TEST(FileSettingsStore, RoundTripsEveryTypeThroughTheFile)
{
    testsupport::TempDir tmp;
    std::string path = tmp / "cfg/registry.txt";
    {
        FileSettingsStore s(path);
        EXPECT_TRUE(s.SetDword("SOFTWARE\\Co\\Game", "MusicVolume", 85));
        EXPECT_TRUE(s.SetString("SOFTWARE\\Co\\Game\\Test3D", "RuntimeError", "say \"hi\"\\\n\xE9"));
        uint8_t blob[] = {0, 1, 0xFF};
        EXPECT_TRUE(s.SetValue("SOFTWARE\\Co\\Game", "Blob", REG_BINARY, blob, 3));
    }
    FileSettingsStore s(path);
    EXPECT_EQ(s.SkippedLines(), 0);
    uint32_t v = 0;
    EXPECT_TRUE(s.GetDword("software/co/GAME", "musicvolume", v));
    EXPECT_EQ(v, 85u);
    SettingsValue sv;
    ASSERT_TRUE(s.QueryValue("SOFTWARE\\Co\\Game\\Test3D", "RuntimeError", sv));
    EXPECT_EQ(sv.type, uint32_t(REG_SZ));
    EXPECT_EQ(std::string(sv.data.begin(), sv.data.end()), "say \"hi\"\\\n\xE9");
    ASSERT_TRUE(s.QueryValue("SOFTWARE\\Co\\Game", "Blob", sv));
    EXPECT_EQ(sv.data, (std::vector<uint8_t>{0, 1, 0xFF}));
}

TEST(FileSettingsStore, SkipsDamagedLinesAndKeepsTheRest)
{
    testsupport::TempDir tmp;
    tmp.Write("r.txt", "[SOFTWARE\\Co\\Game]\r\n"
                       "\"A\"=dword:0000000a\r\n"
                       "\"B\"=dword:zz\n"
                       "garbage line\n"
                       "\"C\"=\"unterminated\n"
                       "[broken\n"
                       "\"D\"=dword:1\n"
                       "[SOFTWARE\\Co\\Game]\n"
                       "\"E\"=dword:123456789\n"
                       "\"F\"=dword:ffffffff\n");
    FileSettingsStore s(tmp / "r.txt");
    uint32_t v = 0;
    EXPECT_TRUE(s.GetDword("SOFTWARE\\Co\\Game", "A", v));
    EXPECT_EQ(v, 10u);
    EXPECT_FALSE(s.GetDword("SOFTWARE\\Co\\Game", "B", v));
    EXPECT_FALSE(s.GetDword("SOFTWARE\\Co\\Game", "D", v)); // under a broken section header
    EXPECT_FALSE(s.GetDword("SOFTWARE\\Co\\Game", "E", v)); // more than 32 bits
    EXPECT_TRUE(s.GetDword("SOFTWARE\\Co\\Game", "F", v));
    EXPECT_EQ(v, 0xFFFFFFFFu);
    EXPECT_EQ(s.SkippedLines(), 6);
}

TEST(FileSettingsStore, BinaryGarbageIsKeptAsideAndTheStoreStartsEmpty)
{
    testsupport::TempDir tmp;
    tmp.Write("r.txt", std::string("\0\x01\x02garbage", 10));
    FileSettingsStore s(tmp / "r.txt");
    EXPECT_EQ(s.ValueCount("SOFTWARE"), 0u);
    EXPECT_TRUE(tmp.Exists("r.txt.bad"));
    EXPECT_TRUE(s.SetDword("K", "V", 1));
    EXPECT_TRUE(tmp.Exists("r.txt"));
}

TEST(FileSettingsStore, WriteFailsWhenTheFolderCannotBeWritten)
{
    // A path under a regular file can never be created, even as root.
    testsupport::TempDir tmp;
    tmp.Write("file", "x");
    FileSettingsStore s(tmp / "file/sub/r.txt");
    EXPECT_FALSE(s.SetDword("K", "V", 1));
}

// A start removes what a killed rewrite of the file left beside it, and
// nothing of a process that still runs.
TEST(FileSettingsStore, LoadingRemovesTheTemporariesOfEndedProcesses)
{
    testsupport::TempDir tmp;
    const pid_t ended = fork();
    if (ended == 0)
        _exit(0);
    waitpid(ended, nullptr, 0);
    tmp.Write("r.txt", "[K]\n\"V\"=dword:00000001\n");
    tmp.Write("r.txt.tmp" + std::to_string(ended), "[K]\n\"V\"=dword:00000002\n");
    tmp.Write("r.txt.tmp" + std::to_string(getpid()), "being written");
    FileSettingsStore s(tmp / "r.txt");
    uint32_t v = 0;
    EXPECT_TRUE(s.GetDword("K", "V", v));
    EXPECT_EQ(v, 1u);
    EXPECT_FALSE(tmp.Exists("r.txt.tmp" + std::to_string(ended)));
    EXPECT_TRUE(tmp.Exists("r.txt.tmp" + std::to_string(getpid())));
}
