// What the application asks of the desktop: the clipboard, web links, the
// screen-error log and the program's version text.
#include "framework/app/StringUtil.h"
#include "framework/app/ZelkAppBase.h"
#include "platform/Platform.h"
#include "platform/clock/Clock.h"
#include "platform/modules/Modules.h"
#include "platform/shell/Shell.h"

#include <cstdio>
#include <ctime>

namespace Zelk {

namespace {

// The first screen-error line of a run starts the file afresh.
bool gScreenErrorFirstCall = true;

} // namespace

void ZelkAppBase::CopyToClipboard(const std::string& text)
{
    plat::Shell* shell = plat::Get().shell;
    if (mPlayingDemo || !shell)
        return;
    // Each byte is the character of the same code.
    shell->SetClipboardText(StringToWString(text));
}

std::string ZelkAppBase::GetClipboardText()
{
    plat::Shell* shell = plat::Get().shell;
    std::wstring wide;
    std::string text;
    if (!mPlayingDemo && shell && shell->GetClipboardText(wide)) {
        // Characters beyond Latin-1 have no byte: they become "?".
        text.reserve(wide.size());
        for (wchar_t c : wide)
            text.push_back(uint32_t(c) <= 0xFF ? char(uint8_t(c)) : '?');
    }
    // Recorded into a demo, and taken from one while it plays.
    DemoSyncString(text);
    return text;
}

bool ZelkAppBase::OpenUrl(const std::string& url, bool quitAfter)
{
    // A second click while the first request runs does nothing.
    if (mUrlPending && mPendingUrl == url)
        return true;
    mQuitAfterUrl = quitAfter;
    mUrlPending = true;
    mPendingUrl = url;
    mUrlRequestTick = plat::GetTickCount();
    plat::Shell* shell = plat::Get().shell;
    if (shell && shell->OpenUrl(url))
        return true;
    OnUrlOpenFailed(url);
    return false;
}

void ZelkAppBase::OnUrlOpened(const std::string&)
{
    mUrlPending = false;
    if (mQuitAfterUrl)
        Shutdown();
}

void ZelkAppBase::OnUrlOpenFailed(const std::string&) { mUrlPending = false; }

void ZelkAppBase::LogScreenError(const std::string& text)
{
    const bool first = gScreenErrorFirstCall;
    gScreenErrorFirstCall = false;
    // In the current folder (the program's); a folder that cannot be written loses the line.
    FILE* file = std::fopen("ScrError.txt", first ? "w" : "a+");
    if (!file)
        return;
    char clock[16] = "";
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local))
        std::strftime(clock, sizeof(clock), "%H:%M:%S", &local);
    std::fprintf(file, "%s %s %u\n", text.c_str(), clock, plat::GetTickCount());
    std::fclose(file);
}

std::string ZelkAppBase::GetProductVersion(const std::string& path)
{
    plat::Modules* modules = plat::Get().modules;
    plat::Shell* shell = plat::Get().shell;
    if (!shell || (modules && !modules->Load("version.dll")))
        return std::string();
    if (shell->VersionInfoSize(path) == 0)
        return std::string();
    std::string value;
    if (shell->VersionValue(path, "\\StringFileInfo\\040904B0\\ProductVersion", value) ||
        shell->VersionValue(path, "\\StringFileInfo\\040904E4\\ProductVersion", value))
        return value;
    return std::string();
}

} // namespace Zelk
