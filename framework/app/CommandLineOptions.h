#pragma once
#include <string>
#include <vector>

namespace Zelk {

// What the command line chooses: demo recording or playback and its file,
// screen-saver mode and the program folder. The application object keeps one
// and hands each switch of its command line to HandleSwitch.
//
// Switches (compared whole, case-sensitively):
//   -play              play back the demo file
//   -record            record into the demo file
//   -recnum N          record into the next numbered demo file, keeping N
//                      (below 1: 5) numbered files
//   -playnum K         play back the K-th newest numbered demo file (1 newest)
//   -demofile NAME     the demo file (in the data folder unless absolute)
//   -crash             raise a test crash
//   -screensaver       screen-saver mode
//   -changedir FOLDER  the folder the program makes current
class CommandLineOptions {
public:
    static constexpr const char* kDefaultDemoBaseName = "zelkapp";
    // The default text of the fatal error for a switch that is not understood
    // (the switch follows it).
    static constexpr const char* kInvalidParameterText = "Invalid command line parameter: ";

    bool recording = false;
    bool playingBack = false;
    bool screenSaverMode = false;
    std::string demoBaseName = kDefaultDemoBaseName;
    std::string demoFileName = std::string(kDefaultDemoBaseName) + ".dmo";
    std::string programFolder;

    enum class SwitchResult {
        Handled,
        Crash,  // the caller raises the test crash
        Invalid // not a switch, or one lacking its value: a fatal error
    };
    SwitchResult HandleSwitch(const std::string& name, const std::string& value);

    // Everything after the program path of a command line. False when there
    // is nothing after it (no blank follows the path, or its opening double
    // quote is never closed); the text may be empty.
    static bool ArgumentText(const std::string& commandLine, std::string& arguments);

    struct Switch {
        std::string name;
        std::string value;
    };
    // Splits argument text at blanks into switches and their values; a double-
    // quoted part may hold blanks. The switches -recnum, -playnum, -demofile and
    // -changedir take the next part as their value. A part where a switch
    // should stand becomes a switch of that name (HandleSwitch refuses it).
    static std::vector<Switch> SplitArguments(const std::string& arguments);
    static bool TakesValue(const std::string& name);
};

// A demo file name as the program uses it: a name that is absolute (a drive
// letter and ":", "\" as third character, or a "/" path of at least two
// characters) stays; any other name is put in the application data folder.
std::string DemoFileInDataFolder(const std::string& name);

// The highest number n of the files base + n + ".dmo" (in the folder of base,
// names compared without regard to case), 0 when there are none. With
// deleteOldest, first deletes the lowest-numbered file when there are `keep`
// or more of them (one file per call).
int FindDemoFileNumber(const std::string& base, int keep, bool deleteOldest);

} // namespace Zelk
