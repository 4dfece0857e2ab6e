#include "platform/shell/RealShell.h"
#include "platform/crash/ThreadStart.h"
#include "platform/shell/ShellExecute.h"

#include "platform/text/Utf8.h"
#include "platform/window/RealWindowSystem.h"

#include <SDL.h>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace plat {

bool RealShell::OpenUrl(const std::string& url)
{
    // The address is one argument of xdg-open: no shell sees it.
    std::string program = "xdg-open";
    std::string argument = url;
    char* argv[] = {program.data(), argument.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, argv, environ) != 0)
        return false;
    // Reap the opener whenever it ends.
    StartThread("zelk-reaper", [pid] { waitpid(pid, nullptr, 0); }).detach();
    return true;
}

bool RealShell::Execute(const std::string& verb, const std::string& file, const std::string& parameters,
                        const std::string& folder, int showCommand)
{
    return ExecuteOnDesktop(verb, file, parameters, folder, [this](const std::string& what) { return OpenUrl(what); });
}

bool RealShell::SetClipboardText(const std::wstring& text)
{
    const std::string utf8 = WideToUtf8(text);
    bool ok = false;
    mWindows->RunOnEventThread([&] { ok = SDL_SetClipboardText(utf8.c_str()) == 0; });
    return ok;
}

bool RealShell::GetClipboardText(std::wstring& text)
{
    bool ok = false;
    mWindows->RunOnEventThread([&] {
        if (!SDL_HasClipboardText())
            return;
        char* utf8 = SDL_GetClipboardText();
        if (!utf8)
            return;
        text = Utf8ToWide(utf8);
        SDL_free(utf8);
        ok = true;
    });
    return ok;
}

} // namespace plat

namespace plat {

namespace {

bool IsRunningProgram(const std::string& path)
{
    char self[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0 || path.empty())
        return false;
    self[n] = 0;
    char given[PATH_MAX];
    return realpath(path.c_str(), given) && strcmp(given, self) == 0;
}

} // namespace

uint32_t RealShell::VersionInfoSize(const std::string& path)
{
    return IsRunningProgram(path) ? uint32_t(sizeof(ZELK_BUILD_VERSION)) : 0;
}

bool RealShell::VersionValue(const std::string& path, const std::string& subBlock, std::string& value)
{
    const std::string key = "ProductVersion";
    if (!IsRunningProgram(path) || subBlock.size() < key.size() ||
        subBlock.compare(subBlock.size() - key.size(), key.size(), key) != 0)
        return false;
    value = ZELK_BUILD_VERSION;
    return true;
}

} // namespace plat
