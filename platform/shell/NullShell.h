#pragma once
#include "platform/shell/Shell.h"

#include <functional>
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
    bool Execute(const std::string& verb, const std::string& file, const std::string& parameters,
                 const std::string& folder, int showCommand) override;
    bool SetClipboardText(const std::wstring& text) override;
    bool GetClipboardText(std::wstring& text) override;
    uint32_t VersionInfoSize(const std::string& path) override;
    bool VersionValue(const std::string& path, const std::string& subBlock, std::string& value) override;

    std::vector<std::string> OpenedUrls();

    // An execute request as it arrived, with whether the application object
    // still lived then (as applicationAlive tells; false when it is unset).
    struct Request {
        std::string verb, file, parameters, folder;
        int showCommand = 0;
        bool applicationAlive = false;
    };
    std::vector<Request> Requests();
    std::function<bool()> applicationAlive;
    bool executeSucceeds = true;
    // Carries requests out as the desktop would (end-to-end tests with a
    // stand-in program); the desktop's opener is never called.
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
    std::vector<Request> mRequests;
};

} // namespace plat
