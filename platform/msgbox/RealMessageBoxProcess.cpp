#include "platform/msgbox/RealMessageBoxProcess.h"
#include "platform/msgbox/MessageBoxes.h"
#include "platform/msgbox/RealProcessWindows.h"

#include <SDL.h>
#include <cerrno>
#include <cstring>
#include <cstdlib>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace plat {

namespace {

const char kFlags[] = "ZELK_MESSAGE_BOX_FLAGS";
const char kText[] = "ZELK_MESSAGE_BOX_TEXT";
const char kCaption[] = "ZELK_MESSAGE_BOX_CAPTION";
// The process whose windows the box hides first.
const char kHideWindowsOf[] = "ZELK_MESSAGE_BOX_HIDE_WINDOWS_OF";

bool Named(const char* entry, const char* name)
{
    const size_t n = strlen(name);
    return strncmp(entry, name, n) == 0 && entry[n] == '=';
}

// Shows the box with the desktop library; the answer, or -1 when it could
// not be shown or was closed without a button.
int ShowHere(const char* text, const char* caption, uint32_t flags)
{
    const uint32_t kind = flags & 0xF;
    SDL_MessageBoxButtonData yesNo[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDYES, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDNO, "No"},
    };
    SDL_MessageBoxButtonData okCancel[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDOK, "OK"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDCANCEL, "Cancel"},
    };
    SDL_MessageBoxButtonData retryCancel[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, IDRETRY, "Retry"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDCANCEL, "Cancel"},
    };
    SDL_MessageBoxButtonData ok[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, IDOK, "OK"},
    };
    SDL_MessageBoxData data{};
    const uint32_t icon = flags & 0xF0;
    data.flags = icon == MB_ICONERROR ? SDL_MESSAGEBOX_ERROR
                 : icon == MB_ICONWARNING ? SDL_MESSAGEBOX_WARNING
                                          : SDL_MESSAGEBOX_INFORMATION;
    data.title = caption;
    data.message = text;
    if (kind == MB_YESNO) {
        data.buttons = yesNo;
        data.numbuttons = 2;
    } else if (kind == MB_OKCANCEL) {
        data.buttons = okCancel;
        data.numbuttons = 2;
    } else if (kind == MB_RETRYCANCEL) {
        data.buttons = retryCancel;
        data.numbuttons = 2;
    } else {
        data.buttons = ok;
        data.numbuttons = 1;
    }
    int answer = -1;
    if (SDL_ShowMessageBox(&data, &answer) != 0)
        return -1;
    return answer; // -1 when the box was closed without a button
}

} // namespace

int ShowMessageBoxProcess(const std::string& text, const std::string& caption, uint32_t flags,
                          bool hideCallersWindows)
{
    // The environment of this process without any box variables, and the box's own.
    std::vector<std::string> own = {std::string(kFlags) + "=" + std::to_string(flags),
                                     std::string(kText) + "=" + text, std::string(kCaption) + "=" + caption};
    if (hideCallersWindows)
        own.push_back(std::string(kHideWindowsOf) + "=" + std::to_string(getpid()));
    std::vector<char*> env;
    for (char** e = environ; e && *e; ++e)
        if (!Named(*e, kFlags) && !Named(*e, kText) && !Named(*e, kCaption) && !Named(*e, kHideWindowsOf))
            env.push_back(*e);
    for (std::string& s : own)
        env.push_back(s.data());
    env.push_back(nullptr);
    char self[] = "/proc/self/exe";
    char* argv[] = {self, nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, self, nullptr, nullptr, argv, env.data()) != 0)
        return -1;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return -1;
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 0)
        return -1;
    return WEXITSTATUS(status);
}

void RunMessageBoxProcessIfAsked()
{
    const char* flags = getenv(kFlags);
    if (!flags)
        return;
    const char* text = getenv(kText);
    const char* caption = getenv(kCaption);
    if (const char* owner = getenv(kHideWindowsOf))
        HideWindowsOfProcess(pid_t(strtol(owner, nullptr, 10)));
    const int answer = ShowHere(text ? text : "", caption ? caption : "", uint32_t(strtoul(flags, nullptr, 10)));
    // Not shown, or closed without a button: 0, which the caller takes as no answer.
    _exit(answer > 0 && answer < 256 ? answer : 0);
}

} // namespace plat
