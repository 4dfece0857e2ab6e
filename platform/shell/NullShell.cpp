#include "platform/shell/NullShell.h"
#include "platform/shell/ShellExecute.h"

namespace plat {

bool NullShell::OpenUrl(const std::string& url)
{
    std::lock_guard<std::mutex> g(mLock);
    mOpened.push_back(url);
    return openSucceeds;
}

bool NullShell::Execute(const std::string& verb, const std::string& file, const std::string& parameters,
                        const std::string& folder, int showCommand)
{
    bool alive = applicationAlive && applicationAlive();
    std::lock_guard<std::mutex> g(mLock);
    mRequests.push_back({verb, file, parameters, folder, showCommand, alive});
    if (executeForReal)
        return ExecuteOnDesktop(verb, file, parameters, folder, [](const std::string&) { return false; });
    return executeSucceeds;
}

std::vector<NullShell::Request> NullShell::Requests()
{
    std::lock_guard<std::mutex> g(mLock);
    return mRequests;
}

std::vector<std::string> NullShell::OpenedUrls()
{
    std::lock_guard<std::mutex> g(mLock);
    return mOpened;
}

bool NullShell::SetClipboardText(const std::wstring& text)
{
    std::lock_guard<std::mutex> g(mLock);
    if (!clipboardAvailable)
        return false;
    clipboard = text;
    clipboardHasText = true;
    return true;
}

bool NullShell::GetClipboardText(std::wstring& text)
{
    std::lock_guard<std::mutex> g(mLock);
    if (!clipboardAvailable || !clipboardHasText)
        return false;
    text = clipboard;
    return true;
}

uint32_t NullShell::VersionInfoSize(const std::string& path)
{
    std::lock_guard<std::mutex> g(mLock);
    uint32_t size = 0;
    for (const auto& entry : versionValues)
        if (entry.first.first == path)
            size += uint32_t(entry.first.second.size() + entry.second.size() + 2);
    return size;
}

bool NullShell::VersionValue(const std::string& path, const std::string& subBlock, std::string& value)
{
    std::lock_guard<std::mutex> g(mLock);
    auto it = versionValues.find({path, subBlock});
    if (it == versionValues.end())
        return false;
    value = it->second;
    return true;
}

} // namespace plat
