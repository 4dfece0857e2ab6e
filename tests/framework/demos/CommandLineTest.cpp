#include "framework/app/CommandLineOptions.h"
#include "framework/app/PathUtil.h"
#include "platform/cmdline/CommandLine.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace Zelk;
using Result = CommandLineOptions::SwitchResult;

namespace {

// Runs a test with the application data folder set, and puts it back.
class DataFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        mSaved = gAppDataFolder;
        SetAppDataFolder(dir.Path());
    }
    void TearDown() override { gAppDataFolder = mSaved; }
    std::string Data() const { return GetAppDataFolder(); }
    void Touch(const std::vector<std::string>& names)
    {
        for (const std::string& n : names)
            dir.Write(n, "x");
    }

    testsupport::TempDir dir;

private:
    std::string mSaved;
};

} // namespace

TEST_F(DataFolder, EachSwitchSetsItsOption)
{
    struct {
        const char* name;
        const char* value;
        Result result;
        bool recording, playingBack, screenSaver;
        std::string demoFile; // "" = unchanged
        std::string folder;
    } cases[] = {
        {"-play", "", Result::Handled, false, true, false, "", ""},
        {"-record", "", Result::Handled, true, false, false, "", ""},
        {"-demofile", "run.dmo", Result::Handled, false, false, false, Data() + "run.dmo", ""},
        {"-screensaver", "", Result::Handled, false, false, true, "", ""},
        {"-changedir", "/opt/game", Result::Handled, false, false, false, "", "/opt/game"},
        {"-crash", "", Result::Crash, false, false, false, "", ""},
        // Not understood: a fatal error for the caller.
        {"-PLAY", "", Result::Invalid, false, false, false, "", ""},
        {"-playx", "", Result::Invalid, false, false, false, "", ""},
        {"play", "", Result::Invalid, false, false, false, "", ""},
        {"", "", Result::Invalid, false, false, false, "", ""},
        {"-demofile", "", Result::Invalid, false, false, false, "", ""},
        {"-changedir", "", Result::Invalid, false, false, false, "", ""},
    };
    for (auto& c : cases) {
        CommandLineOptions o;
        EXPECT_EQ(o.HandleSwitch(c.name, c.value), c.result) << c.name;
        EXPECT_EQ(o.recording, c.recording) << c.name;
        EXPECT_EQ(o.playingBack, c.playingBack) << c.name;
        EXPECT_EQ(o.screenSaverMode, c.screenSaver) << c.name;
        EXPECT_EQ(o.demoFileName, c.demoFile.empty() ? "zelkapp.dmo" : c.demoFile) << c.name;
        EXPECT_EQ(o.programFolder, c.folder) << c.name;
    }

    // The mode switches replace each other; -demofile keeps the mode.
    CommandLineOptions o;
    o.HandleSwitch("-record", "");
    o.HandleSwitch("-demofile", "a.dmo");
    EXPECT_TRUE(o.recording);
    o.HandleSwitch("-play", "");
    EXPECT_FALSE(o.recording);
    EXPECT_TRUE(o.playingBack);
    EXPECT_EQ(o.demoFileName, Data() + "a.dmo");
}

TEST_F(DataFolder, DemoFileNamesGoToTheDataFolderUnlessAbsolute)
{
    struct {
        const char* name;
        bool kept;
    } cases[] = {
        {"c:\\demos\\a.dmo", true}, // drive letter
        {"c:a.dmo", true},
        {"ab\\c.dmo", true},        // "\" as third character
        {"/tmp/a.dmo", true},
        {"a.dmo", false},
        {"demos/a.dmo", false},
        {"x", false}, // one character: always the data folder
        {":", false},
        {"/", false},
    };
    for (auto& c : cases)
        EXPECT_EQ(DemoFileInDataFolder(c.name), c.kept ? c.name : Data() + c.name) << c.name;
    gAppDataFolder.clear();
    EXPECT_EQ(DemoFileInDataFolder("a.dmo"), "a.dmo");
}

TEST_F(DataFolder, RecnumRecordsToTheNextNumberAndKeepsTheNewest)
{
    Touch({"zelkapp1.dmo", "zelkapp2.dmo", "zelkapp3.dmo", "zelkapp4.dmo", "zelkapp5.dmo"});
    // Names that are not numbered demo files of this base.
    Touch({"zelkapp.dmo", "zelkappx.dmo", "zelkapp-9.dmo", "zelkapp9.txt", "myzelkapp9.dmo", "zelkapp1a.dmo"});

    CommandLineOptions o;
    o.playingBack = true;
    // "0" counts as 5: five numbered files exist, so the oldest goes.
    EXPECT_EQ(o.HandleSwitch("-recnum", "0"), Result::Handled);
    EXPECT_EQ(o.demoFileName, Data() + "zelkapp6.dmo");
    EXPECT_TRUE(o.recording);
    EXPECT_FALSE(o.playingBack);
    EXPECT_FALSE(dir.Exists("zelkapp1.dmo"));
    EXPECT_TRUE(dir.Exists("zelkapp2.dmo"));

    // Four remain: "abc" counts as 5 too, and nothing is deleted.
    o.HandleSwitch("-recnum", "abc");
    EXPECT_EQ(o.demoFileName, Data() + "zelkapp6.dmo");
    EXPECT_TRUE(dir.Exists("zelkapp2.dmo"));

    // Keeping 2 of 2..6 deletes only the oldest, one file per call.
    Touch({"ZELKAPP6.DMO"});
    o.HandleSwitch("-recnum", "2");
    EXPECT_EQ(o.demoFileName, Data() + "zelkapp7.dmo");
    EXPECT_FALSE(dir.Exists("zelkapp2.dmo"));
    EXPECT_TRUE(dir.Exists("zelkapp3.dmo"));
    EXPECT_TRUE(dir.Exists("zelkapp.dmo"));
}

TEST_F(DataFolder, PlaynumCountsBackFromTheNewest)
{
    Touch({"zelkapp3.dmo", "zelkapp4.dmo", "zelkapp10.dmo"});
    struct {
        const char* value;
        const char* file;
    } cases[] = {{"0", "zelkapp10.dmo"}, {"1", "zelkapp10.dmo"}, {"", "zelkapp10.dmo"},
                 {"-4", "zelkapp10.dmo"}, {"2", "zelkapp9.dmo"},  {"7", "zelkapp4.dmo"}};
    for (auto& c : cases) {
        CommandLineOptions o;
        o.recording = true;
        EXPECT_EQ(o.HandleSwitch("-playnum", c.value), Result::Handled);
        EXPECT_EQ(o.demoFileName, Data() + c.file) << c.value;
        EXPECT_TRUE(o.playingBack);
        EXPECT_FALSE(o.recording);
    }
    EXPECT_TRUE(dir.Exists("zelkapp3.dmo")); // playing deletes nothing
    EXPECT_EQ(FindDemoFileNumber(dir / "none", 1, true), 0);
}

TEST(CommandLine, ArgumentTextIsWhatFollowsTheProgramPath)
{
    struct {
        const char* line;
        bool present;
        const char* arguments;
    } cases[] = {
        {"\"/opt/game/zelkapp\" -play", true, "-play"},
        {"\"/opt/my game/zelkapp\" -record -demofile a.dmo", true, "-record -demofile a.dmo"},
        {"\"/opt/game/zelkapp\"", false, ""},
        {"\"/opt/game/zelkapp\" ", true, ""},
        {"\"/opt/game/zelkapp -play", false, ""}, // the quote never closes
        {"zelkapp -play  -record", true, "-play  -record"},
        {"zelkapp", false, ""},
        {"", false, ""},
    };
    for (auto& c : cases) {
        std::string args = "unchanged";
        EXPECT_EQ(CommandLineOptions::ArgumentText(c.line, args), c.present) << c.line;
        EXPECT_EQ(args, c.present ? c.arguments : "unchanged") << c.line;
    }
}

TEST(CommandLine, SplitsSwitchesAndTheirValues)
{
    using S = CommandLineOptions::Switch;
    auto split = [](const std::string& text) {
        std::vector<std::pair<std::string, std::string>> out;
        for (const S& s : CommandLineOptions::SplitArguments(text))
            out.emplace_back(s.name, s.value);
        return out;
    };
    using V = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(split(""), V{});
    EXPECT_EQ(split("  -record\t-demofile \"my demo.dmo\" -screensaver "),
              (V{{"-record", ""}, {"-demofile", "my demo.dmo"}, {"-screensaver", ""}}));
    EXPECT_EQ(split("-recnum 3 -playnum -changedir"), (V{{"-recnum", "3"}, {"-playnum", "-changedir"}}));
    EXPECT_EQ(split("-demofile"), (V{{"-demofile", ""}}));
    EXPECT_EQ(split("stray -play"), (V{{"stray", ""}, {"-play", ""}}));
    EXPECT_EQ(split("-demofile \"\" -play"), (V{{"-demofile", ""}, {"-play", ""}}));

    // The whole path: program arguments -> command line -> switches.
    const char* argv[] = {"/opt/my game/zelkapp", "-demofile", "a b.dmo", "-record"};
    plat::SetCommandLineArguments(4, argv);
    std::string line = plat::GetCommandLine();
    EXPECT_EQ(line, "\"/opt/my game/zelkapp\" -demofile \"a b.dmo\" -record");
    std::string args;
    ASSERT_TRUE(CommandLineOptions::ArgumentText(line, args));
    EXPECT_EQ(split(args), (V{{"-demofile", "a b.dmo"}, {"-record", ""}}));

    const char* alone[] = {"/opt/game/zelkapp"};
    plat::SetCommandLineArguments(1, alone);
    EXPECT_FALSE(CommandLineOptions::ArgumentText(plat::GetCommandLine(), args));
}
