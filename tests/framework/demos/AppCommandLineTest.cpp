// The command line as the application object takes it: the text after the
// program path, the switches, and the fatal error for one it does not know.
#include "DemoAppFixture.h"
#include "framework/app/StringUtil.h"
#include "platform/app/ExitCodes.h"

using namespace Zelk;

namespace {

// Writes down the argument text it is handed and takes no switches.
class ArgumentsApp : public TestApp {
public:
    void HandleCommandLine(const std::string& args) override { handed.push_back(args); }
    std::vector<std::string> handed;
};

class AppCommandLine : public AppTest {};

} // namespace

TEST_F(AppCommandLine, TheTextAfterTheProgramPathGoesToTheHook)
{
    struct {
        const char* line;
        std::vector<std::string> handed;
    } cases[] = {
        {"\"/game/zelkapp\" -record -demofile a.dmo", {"-record -demofile a.dmo"}},
        {"\"/my games/zelk app\" -play", {"-play"}}, // blanks inside the quoted path
        {"\"/game/zelkapp\" ", {""}},
        {"zelkapp -screensaver", {"-screensaver"}},
        {"\"/game/zelkapp\"", {}},  // nothing after the path
        {"\"/game/zelkapp -play", {}}, // the quote never closes
    };
    for (auto& c : cases) {
        ArgumentsApp app;
        app.ParseCommandLine(c.line);
        EXPECT_EQ(app.handed, c.handed) << c.line;
        EXPECT_TRUE(app.mSkipCommandLine) << c.line; // parsed: Init leaves it alone
    }

    // Init parses the command line the program was given, once.
    ArgumentsApp app;
    app.mCommandLine = "\"/game/zelkapp\" -x";
    app.Init();
    EXPECT_EQ(app.handed, std::vector<std::string>{"-x"});
    ArgumentsApp parsed;
    parsed.ParseCommandLine("\"/game/zelkapp\" -y");
    parsed.mCommandLine = "\"/game/zelkapp\" -x";
    parsed.Init();
    EXPECT_EQ(parsed.handed, std::vector<std::string>{"-y"});
}

TEST_F(AppCommandLine, SwitchesSetTheApplicationsDemoAndFolderFields)
{
    DemoApp app("-record -demofile \"/demo files/run 1.dmo\" -screensaver -changedir /opt/game");
    app.ParseCommandLine(app.mCommandLine);
    EXPECT_TRUE(app.mRecordingDemo);
    EXPECT_FALSE(app.mPlayingDemo);
    EXPECT_EQ(app.mDemoFileName, "/demo files/run 1.dmo");
    EXPECT_TRUE(app.mScreenSaverMode);
    EXPECT_EQ(app.mProgramFolder, "/opt/game");

    // A later switch works on what the earlier ones left.
    EXPECT_TRUE(app.HandleSwitch("-play", ""));
    EXPECT_FALSE(app.mRecordingDemo);
    EXPECT_TRUE(app.mPlayingDemo);
    EXPECT_EQ(app.mDemoFileName, "/demo files/run 1.dmo");
}

TEST_F(AppCommandLine, AnUnknownSwitchIsAFatalErrorThatEndsTheProgram)
{
    struct {
        const char* switches;
        const wchar_t* replacement; // the string table's text, or null
        std::string box;
    } cases[] = {
        {"-bogus", nullptr, "Invalid command line parameter: -bogus"},
        {"-record -PLAY", nullptr, "Invalid command line parameter: -PLAY"},
        {"-demofile", nullptr, "Invalid command line parameter: -demofile"}, // lacks its value
        {"-bogus", L"Unknown switch: ", "Unknown switch: -bogus"},
    };
    for (auto& c : cases) {
        EXPECT_EXIT(
            {
                StderrBoxes boxes;
                boxes.Install();
                DemoApp app(c.switches);
                if (c.replacement)
                    app.SetString("INVALID_COMMANDLINE_PARAM", c.replacement);
                app.Init();
                fprintf(stderr, "still running\n");
            },
            ::testing::ExitedWithCode(plat::kExitBadSwitch), "box 'FATAL ERROR' 10: " + c.box + "\n")
            << c.switches;
    }
}

TEST_F(AppCommandLine, TheCrashSwitchFaults)
{
    EXPECT_DEATH(
        {
            DemoApp app;
            app.HandleSwitch("-crash", "");
        },
        "");
}
