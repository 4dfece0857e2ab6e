#pragma once
#include "platform/shell/Shell.h"

namespace plat {

class RealWindowSystem;

// The desktop through SDL (the clipboard, on the event thread) and
// xdg-open (addresses, started directly, never through a shell); programs
// are started detached (see ShellExecute.h). Program
// files here carry no version resource.
class RealShell : public Shell {
public:
    explicit RealShell(RealWindowSystem* windows) : mWindows(windows) {}
    bool OpenUrl(const std::string& url) override;
    bool Execute(const std::string& verb, const std::string& file, const std::string& parameters,
                 const std::string& folder, int showCommand) override;
    bool SetClipboardText(const std::wstring& text) override;
    bool GetClipboardText(std::wstring& text) override;
    uint32_t VersionInfoSize(const std::string& path) override { return 0; }
    bool VersionValue(const std::string&, const std::string&, std::string&) override { return false; }

private:
    RealWindowSystem* mWindows;
};

} // namespace plat
