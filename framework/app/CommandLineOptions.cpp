#include "framework/app/CommandLineOptions.h"
#include "framework/app/PathUtil.h"
#include "framework/app/StringUtil.h"

#include <climits>
#include <filesystem>
#include <map>

namespace Zelk {

namespace {

// A number as atoi reads it, held at the int range instead of overflowing.
int ReadInt(const std::string& text) { return int(ReadLeadingInteger(text, INT_MIN, INT_MAX)); }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

} // namespace

CommandLineOptions::SwitchResult CommandLineOptions::HandleSwitch(const std::string& name, const std::string& value)
{
    if (name == "-play") {
        playingBack = true;
        recording = false;
    } else if (name == "-recnum") {
        int keep = ReadInt(value);
        if (keep < 1)
            keep = 5;
        std::string base = DemoFileInDataFolder(demoBaseName);
        int64_t highest = FindDemoFileNumber(base, keep, true);
        demoFileName = base + std::to_string(highest + 1) + ".dmo";
        recording = true;
        playingBack = false;
    } else if (name == "-playnum") {
        int64_t back = int64_t(ReadInt(value)) - 1;
        if (back < 0)
            back = 0;
        std::string base = DemoFileInDataFolder(demoBaseName);
        int64_t highest = FindDemoFileNumber(base, 0, false);
        demoFileName = base + std::to_string(highest - back) + ".dmo";
        playingBack = true;
        recording = false;
    } else if (name == "-record") {
        recording = true;
        playingBack = false;
    } else if (name == "-demofile") {
        if (value.empty())
            return SwitchResult::Invalid;
        demoFileName = DemoFileInDataFolder(value);
    } else if (name == "-crash") {
        return SwitchResult::Crash;
    } else if (name == "-screensaver") {
        screenSaverMode = true;
    } else if (name == "-changedir") {
        if (value.empty())
            return SwitchResult::Invalid;
        programFolder = value;
    } else {
        return SwitchResult::Invalid;
    }
    return SwitchResult::Handled;
}

bool CommandLineOptions::ArgumentText(const std::string& commandLine, std::string& arguments)
{
    std::string t = commandLine;
    if (!t.empty() && t[0] == '"') {
        size_t close = t.find('"', 1);
        if (close == std::string::npos)
            return false;
        t = t.substr(close + 1);
    }
    size_t blank = t.find(' ');
    if (blank == std::string::npos)
        return false;
    arguments = t.substr(blank + 1);
    return true;
}

std::vector<CommandLineOptions::Switch> CommandLineOptions::SplitArguments(const std::string& arguments)
{
    std::vector<std::string> parts;
    size_t i = 0;
    while (i < arguments.size()) {
        while (i < arguments.size() && IsBlank(arguments[i]))
            ++i;
        if (i >= arguments.size())
            break;
        std::string part;
        bool quoted = false;
        for (; i < arguments.size() && (quoted || !IsBlank(arguments[i])); ++i) {
            if (arguments[i] == '"')
                quoted = !quoted;
            else
                part.push_back(arguments[i]);
        }
        parts.push_back(part);
    }

    std::vector<Switch> switches;
    for (size_t k = 0; k < parts.size(); ++k) {
        Switch s;
        s.name = parts[k];
        if (TakesValue(s.name) && k + 1 < parts.size())
            s.value = parts[++k];
        switches.push_back(s);
    }
    return switches;
}

bool CommandLineOptions::TakesValue(const std::string& name)
{
    return name == "-recnum" || name == "-playnum" || name == "-demofile" || name == "-changedir";
}

std::string DemoFileInDataFolder(const std::string& name)
{
    bool absolute = name.size() >= 2 && (name[1] == ':' || (name.size() >= 3 && name[2] == '\\') || name[0] == '/');
    return absolute ? name : GetAppDataFolder() + name;
}

int FindDemoFileNumber(const std::string& base, int keep, bool deleteOldest)
{
    namespace fs = std::filesystem;
    const std::string dir = GetFileDir(base);
    const std::string stem = StringToLower(GetFileName(base));
    const fs::path folder = dir.empty() ? fs::path(".") : fs::path(NativePath(dir));

    std::map<int, std::string> numbered; // number -> file name as found
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= stem.size() + 4)
            continue;
        const std::string lower = StringToLower(name);
        if (lower.compare(0, stem.size(), stem) != 0 || lower.compare(lower.size() - 4, 4, ".dmo") != 0)
            continue;
        const std::string digits = name.substr(stem.size(), name.size() - stem.size() - 4);
        if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
            continue;
        numbered[std::stoi(digits)] = name;
    }
    if (numbered.empty())
        return 0;
    if (deleteOldest && int64_t(numbered.size()) > int64_t(keep) - 1) {
        std::error_code ignored;
        fs::remove(folder / numbered.begin()->second, ignored);
    }
    return numbered.rbegin()->first;
}

} // namespace Zelk
