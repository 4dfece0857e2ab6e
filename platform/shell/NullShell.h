#pragma once
#include "platform/shell/Shell.h"

#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace plat {

// The headless desktop: addresses are recorded, the clipboard lives in
// memory, and version resources are what a test puts into the table.
class NullShell : public Shell {
public:
    bool OpenUrl(const std::string& url) override;
    bool Execute(const std::string& path, const std::string& folder) override;
    bool SetClipboardText(const std::wstring& text) override;
    bool GetClipboardText(std::wstring& text) override;
    uint32_t VersionInfoSize(const std::string& path) override;
    bool VersionValue(const std::string& path, const std::string& subBlock, std::string& value) override;

    std::vector<std::string> OpenedUrls();
    // Programs asked to start: (path, folder).
    std::vector<std::pair<std::string, std::string>> Executed();
    // Starts them for real too (end-to-end tests with a stand-in program).
    bool executeForReal = false;
    bool openSucceeds = true;
    bool clipboardAvailable = true;
    std::wstring clipboard;
    bool clipboardHasText = false;
    // (path, sub-block) -> value.
    std::map<std::pair<std::string, std::string>, std::string> versionValues;

private:
    std::mutex mLock;
    std::vector<std::string> mOpened;
    std::vector<std::pair<std::string, std::string>> mExecuted;
};

} // namespace plat
