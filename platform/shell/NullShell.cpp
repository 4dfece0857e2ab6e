#include "platform/shell/NullShell.h"
#include "platform/shell/StartProgram.h"

namespace plat {

bool NullShell::OpenUrl(const std::string& url)
{
    std::lock_guard<std::mutex> g(mLock);
    mOpened.push_back(url);
    return openSucceeds;
}

bool NullShell::Execute(const std::string& path, const std::string& folder)
{
    {
        std::lock_guard<std::mutex> g(mLock);
        mExecuted.emplace_back(path, folder);
    }
    return executeForReal ? StartProgram(path, folder) : openSucceeds;
}

std::vector<std::pair<std::string, std::string>> NullShell::Executed()
{
    std::lock_guard<std::mutex> g(mLock);
    return mExecuted;
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
