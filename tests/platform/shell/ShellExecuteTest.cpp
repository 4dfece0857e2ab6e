#include "platform/shell/ShellExecute.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

using plat::ExecuteOnDesktop;

namespace {

// What the desktop was asked to open.
struct Opener {
    std::vector<std::string> opened;
    bool succeeds = true;
    std::function<bool(const std::string&)> Fn()
    {
        return [this](const std::string& what) {
            opened.push_back(what);
            return succeeds;
        };
    }
};

bool WaitForFile(const std::string& path)
{
    for (int i = 0; i < 500; ++i) {
        if (std::ifstream(path).good())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

} // namespace

TEST(ShellExecute, ShortcutsOpenTheirAddressOrTheirOwnPage)
{
    testsupport::TempDir dir;
    dir.Write("about/index.html", "<html/>");
    struct Case {
        const char* what;
        std::string text;
        bool result;
        std::string opened; // empty: nothing
    } cases[] = {
        {"web address", "[InternetShortcut]\r\nURL=https://example.org/play\r\n", true, "https://example.org/play"},
        {"key in any case, blanks", "[InternetShortcut]\nurl = \nURL=  HTTP://x.test/a  \n", true,
         "HTTP://x.test/a"},
        {"own page beside the shortcut, any case", "[InternetShortcut]\nURL=About\\INDEX.html\n", true,
         dir / "about/index.html"},
        {"own page that is missing", "[InternetShortcut]\nURL=about\\gone.html\n", false, ""},
        {"no address", "[InternetShortcut]\nIconIndex=0\n", false, ""},
    };
    for (const Case& c : cases) {
        dir.Write("play.url", c.text);
        Opener opener;
        EXPECT_EQ(ExecuteOnDesktop("OPEN", "play.url", "", dir.Path(), opener.Fn()), c.result) << c.what;
        std::vector<std::string> expected;
        if (!c.opened.empty())
            expected.push_back(c.opened);
        EXPECT_EQ(opener.opened, expected) << c.what;
    }
}

TEST(ShellExecute, MissingFilesAndOtherVerbsFail)
{
    testsupport::TempDir dir;
    dir.Write("notes.txt", "x");
    Opener opener;
    EXPECT_FALSE(ExecuteOnDesktop("OPEN", "play.url", "", dir.Path(), opener.Fn()));
    EXPECT_FALSE(ExecuteOnDesktop("OPEN", ".\\fscommand\\Dunmarl.exe", "", dir.Path(), opener.Fn()));
    EXPECT_FALSE(ExecuteOnDesktop("print", "notes.txt", "", dir.Path(), opener.Fn()));
    EXPECT_FALSE(ExecuteOnDesktop("OPEN", ".", "", dir.Path(), opener.Fn())); // a folder
    EXPECT_TRUE(opener.opened.empty());
    // Any other file goes to the desktop by its native path.
    EXPECT_TRUE(ExecuteOnDesktop("", "NOTES.TXT", "", dir.Path(), opener.Fn()));
    EXPECT_EQ(opener.opened, std::vector<std::string>{dir / "notes.txt"});
}

TEST(ShellExecute, ProgramsStartOnTheirOwnInTheGivenFolder)
{
    testsupport::TempDir dir;
    const std::string out = dir / "ran.txt";
    // The program writes its folder and arguments, then outlives the call.
    dir.Write("fscommand/Launch.sh", "#!/bin/sh\necho \"$(pwd) $1 $2\" > \"" + out + ".part\"\nmv \"" + out +
                                         ".part\" \"" + out + "\"\n");
    ASSERT_EQ(chmod((dir / "fscommand/Launch.sh").c_str(), 0755), 0);
    Opener opener;
    EXPECT_TRUE(ExecuteOnDesktop("OPEN", ".\\FSCOMMAND\\launch.sh", "a  b", dir.Path(), opener.Fn()));
    ASSERT_TRUE(WaitForFile(out));
    std::ifstream in(out);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, dir.Path() + " a b");
    EXPECT_TRUE(opener.opened.empty());
}
