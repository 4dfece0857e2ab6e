#include "platform/shell/StartProgram.h"

#include <spawn.h>
#include <unistd.h>

extern char** environ;

namespace plat {

bool StartProgram(const std::string& path, const std::string& folder)
{
    std::string program = path;
    std::string opener = "xdg-open";
    const bool direct = access(path.c_str(), X_OK) == 0;
    char* direct_argv[] = {program.data(), nullptr};
    char* open_argv[] = {opener.data(), program.data(), nullptr};

    posix_spawnattr_t attr;
    posix_spawn_file_actions_t actions;
    posix_spawnattr_init(&attr);
    posix_spawn_file_actions_init(&actions);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);
    if (!folder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    pid_t pid = 0;
    const int rc = direct ? posix_spawn(&pid, program.c_str(), &actions, &attr, direct_argv, environ)
                          : posix_spawnp(&pid, "xdg-open", &actions, &attr, open_argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    return rc == 0;
}

} // namespace plat
