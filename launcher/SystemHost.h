#pragma once
#include "launcher/LauncherHost.h"

namespace vorsel {

// The launcher's system: folders and files through the file layer (names
// with "\" and in any letter case), programs started through the shell.
class SystemHost : public LauncherHost {
public:
    bool ChangeFolder(const std::string& folder) override;
    bool IsRegularFile(const std::string& path) override;
    bool ReadFile(const std::string& path, std::string& bytes) override;
    void StartProgram(const std::string& path, const std::string& folder) override;

    // The folder of the running executable, ending in "/"; empty if unknown.
    static std::string ExecutableFolder();
    // Files larger than this are not read (no configuration or icon is).
    static constexpr size_t kMaxFile = size_t(16) << 20;
};

} // namespace vorsel
