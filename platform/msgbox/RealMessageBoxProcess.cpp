#include "platform/msgbox/RealMessageBoxProcess.h"
#include "platform/msgbox/MessageBoxes.h"
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
#include <vector>

extern char** environ;

namespace plat {

namespace {

const char kFlags[] = "ZELK_MESSAGE_BOX_FLAGS";
const char kText[] = "ZELK_MESSAGE_BOX_TEXT";
const char kCaption[] = "ZELK_MESSAGE_BOX_CAPTION";
const char kParent[] = "ZELK_MESSAGE_BOX_PARENT";

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

int ShowMessageBoxProcess(const std::string& text, const std::string& caption, uint32_t flags)
{
    // The environment of this process without any box variables, and the box's own.
    std::vector<std::string> own = {std::string(kFlags) + "=" + std::to_string(flags),
                                     std::string(kText) + "=" + text, std::string(kCaption) + "=" + caption,
                                     std::string(kParent) + "=" + std::to_string(getpid())};
    std::vector<char*> env;
    for (char** e = environ; e && *e; ++e)
        if (!Named(*e, kFlags) && !Named(*e, kText) && !Named(*e, kCaption) && !Named(*e, kParent))
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
    // The desktop going away is no answer (Xlib's default would exit with 1, IDOK).
    SetDisplayLostHandler([] { _exit(0); });
    const char* text = getenv(kText);
    const char* caption = getenv(kCaption);
    const int answer = ShowHere(text ? text : "", caption ? caption : "", uint32_t(strtoul(flags, nullptr, 10)));
    // Not shown, or closed without a button: 0, which the caller takes as no answer.
    _exit(answer > 0 && answer < 256 ? answer : 0);
}

} // namespace plat
