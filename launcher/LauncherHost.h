#pragma once
#include <string>

namespace vorsel {

// What the launcher asks of its system: its own folder, files and starting
// the game. Paths are UTF-8 and may use "\" as a separator.
class LauncherHost {
public:
    virtual ~LauncherHost() = default;
    virtual bool ChangeFolder(const std::string& folder) = 0;
    // "Exists" means a regular file.
    virtual bool IsRegularFile(const std::string& path) = 0;
    virtual bool ReadFile(const std::string& path, std::string& bytes) = 0;
    // Starts the program (folder empty: the current one), not waited for.
    virtual void StartProgram(const std::string& path, const std::string& folder) = 0;
};

} // namespace vorsel
