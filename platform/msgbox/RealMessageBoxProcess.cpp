#include "platform/msgbox/RealMessageBoxProcess.h"
#include "platform/msgbox/MessageBoxes.h"
#include "platform/msgbox/RealProcessWindows.h"
#include "platform/window/RealDisplayLoss.h"

#include <SDL.h>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <cstdlib>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace plat {

namespace {

// Everything the box process reads comes in its environment, under this
// prefix: FLAGS (the icon), TEXT, CAPTION, PARENT (the starting process) and
// BUTTON0, BUTTON1, ... (a key letter, then the label: 'r' Enter, 'e'
// Escape, 'b' both, '-' neither). It ends with the chosen button's index + 1,
// kClosedStatus when closed without a button, 0 when it showed nothing.
const char kPrefix[] = "ZELK_MESSAGE_BOX_";
const char kFlags[] = "ZELK_MESSAGE_BOX_FLAGS";
const char kText[] = "ZELK_MESSAGE_BOX_TEXT";
const char kCaption[] = "ZELK_MESSAGE_BOX_CAPTION";
// The process whose windows the box hides first.
const char kHideWindowsOf[] = "ZELK_MESSAGE_BOX_HIDE_WINDOWS_OF";
const char kParent[] = "ZELK_MESSAGE_BOX_PARENT";
const char kButton[] = "ZELK_MESSAGE_BOX_BUTTON";
constexpr int kClosedStatus = 255;
constexpr size_t kMaxButtons = 200;

// Shows the box with the desktop library: the exit status described above.
int ShowHere(const char* text, const char* caption, uint32_t flags)
{
    std::vector<std::string> labels;
    std::vector<SDL_MessageBoxButtonData> buttons;
    for (size_t i = 0; i < kMaxButtons; ++i) {
        const char* b = getenv((kButton + std::to_string(i)).c_str());
        if (!b || !*b)
            break;
        labels.emplace_back(b + 1);
        SDL_MessageBoxButtonData data{};
        data.flags = (*b == 'r' || *b == 'b' ? SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT : 0) |
                     (*b == 'e' || *b == 'b' ? SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT : 0);
        data.buttonid = int(i);
        buttons.push_back(data);
    }
    for (size_t i = 0; i < buttons.size(); ++i)
        buttons[i].text = labels[i].c_str();
    SDL_MessageBoxData data{};
    const uint32_t icon = flags & 0xF0;
    data.flags = icon == MB_ICONERROR ? SDL_MESSAGEBOX_ERROR
                 : icon == MB_ICONWARNING ? SDL_MESSAGEBOX_WARNING
                                          : SDL_MESSAGEBOX_INFORMATION;
    data.title = caption;
    data.message = text;
    data.buttons = buttons.data();
    data.numbuttons = int(buttons.size());
    int answer = -1;
    if (SDL_ShowMessageBox(&data, &answer) != 0)
        return 0;
    return answer >= 0 && size_t(answer) < buttons.size() ? answer + 1 : kClosedStatus;
}

std::vector<MessageBoxButton> ButtonsOfKind(uint32_t flags)
{
    switch (flags & 0xF) {
    case MB_YESNO:
        return {{IDYES, "Yes", true, false}, {IDNO, "No", false, true}};
    case MB_OKCANCEL:
        return {{IDOK, "OK", true, false}, {IDCANCEL, "Cancel", false, true}};
    case MB_RETRYCANCEL:
        return {{IDRETRY, "Retry", true, false}, {IDCANCEL, "Cancel", false, true}};
    default:
        return {{IDOK, "OK", true, true}};
    }
}

} // namespace

int ShowMessageBoxProcess(const std::string& text, const std::string& caption, uint32_t flags,
                          const std::vector<MessageBoxButton>& buttons, bool hideCallersWindows)
{
    // The environment of this process without any box variables, and the box's own.
    std::vector<std::string> own = {std::string(kFlags) + "=" + std::to_string(flags),
                                     std::string(kText) + "=" + text, std::string(kCaption) + "=" + caption,
                                     std::string(kParent) + "=" + std::to_string(getpid())};
    if (hideCallersWindows)
        own.push_back(std::string(kHideWindowsOf) + "=" + std::to_string(getpid()));
    for (size_t i = 0; i < buttons.size() && i < kMaxButtons; ++i) {
        const MessageBoxButton& b = buttons[i];
        const char key = b.returnKey && b.escapeKey ? 'b' : b.returnKey ? 'r' : b.escapeKey ? 'e' : '-';
        own.push_back(kButton + std::to_string(i) + "=" + key + b.label);
    }
    std::vector<char*> env;
    for (char** e = environ; e && *e; ++e)
        if (strncmp(*e, kPrefix, sizeof kPrefix - 1) != 0)
            env.push_back(*e);
    for (std::string& s : own)
        env.push_back(s.data());
    env.push_back(nullptr);
    char self[] = "/proc/self/exe";
    char* argv[] = {self, nullptr};
    // A process group of its own: the box process and what it starts for the
    // box end together (see RunMessageBoxProcessIfAsked). Every signal open,
    // whatever the calling thread blocks.
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK);
    posix_spawnattr_setpgroup(&attr, 0);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attr, &none);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, self, nullptr, &attr, argv, env.data());
    posix_spawnattr_destroy(&attr);
    if (spawned != 0)
        return kMessageBoxNotShown;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            return kMessageBoxNotShown;
    if (!WIFEXITED(status) || WEXITSTATUS(status) == 0)
        return kMessageBoxNotShown;
    const size_t chosen = size_t(WEXITSTATUS(status));
    if (chosen == kClosedStatus || chosen > buttons.size())
        return kMessageBoxClosed;
    return buttons[chosen - 1].id;
}

int ShowMessageBoxProcess(const std::string& text, const std::string& caption, uint32_t flags,
                          bool hideCallersWindows)
{
    const int answer = ShowMessageBoxProcess(text, caption, flags, ButtonsOfKind(flags), hideCallersWindows);
    return answer == kMessageBoxNotShown || answer == kMessageBoxClosed ? -1 : answer;
}

void RunMessageBoxProcessIfAsked()
{
    const char* flags = getenv(kFlags);
    if (!flags)
        return;
    // The box ends with the program that asked for it. The kernel signals
    // this process when the asking thread goes (a kill -9 of the program, a
    // crash), and the handler ends the whole process group: the desktop
    // library shows the box from a process it forks, which would not hear of
    // it. A program already gone before that was set left another parent.
    struct sigaction sa {};
    sa.sa_handler = [](int) { kill(0, SIGKILL); };
    sigemptyset(&sa.sa_mask);
    sigaction(SIGTERM, &sa, nullptr);
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    const char* parent = getenv(kParent);
    if (!parent || getppid() != pid_t(strtol(parent, nullptr, 10)))
        _exit(0);
    // The desktop going away is no answer (Xlib's default would exit with 1,
    // the first button).
    SetDisplayLostHandler([] { _exit(0); });
    const char* text = getenv(kText);
    const char* caption = getenv(kCaption);
    if (const char* owner = getenv(kHideWindowsOf))
        HideWindowsOfProcess(pid_t(strtol(owner, nullptr, 10)));
    _exit(ShowHere(text ? text : "", caption ? caption : "", uint32_t(strtoul(flags, nullptr, 10))));
}

} // namespace plat
