#include "platform/shell/RealShell.h"
#include "platform/shell/ShellExecute.h"

#include "platform/text/Utf8.h"
#include "platform/window/RealWindowSystem.h"

#include <SDL.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

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
    std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
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
