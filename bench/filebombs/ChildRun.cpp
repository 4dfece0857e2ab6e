#include "bench/filebombs/ChildRun.h"

#include <chrono>
#include <csignal>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace filebombs {

ChildRun RunChild(const std::vector<std::string>& argv, double timeoutSeconds)
{
    ChildRun run;
    int out[2];
    if (pipe(out) != 0) {
        run.how = "no pipe";
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        run.how = "cannot start";
        return run;
    }
    bool killed = false;
    char buffer[4096];
    for (;;) {
        double left = timeoutSeconds - std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (left <= 0 && !killed) {
            kill(pid, SIGKILL);
            killed = true;
        }
        pollfd p{out[0], POLLIN, 0};
        int ready = poll(&p, 1, killed ? 1000 : int(left * 1000) + 1);
        if (ready <= 0)
            continue;
        ssize_t n = read(out[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        run.output.append(buffer, size_t(n));
    }
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    run.peakKilobytes = usage.ru_maxrss;
    while (!run.output.empty() && (run.output.back() == '\n' || run.output.back() == ' '))
        run.output.pop_back();
    if (killed)
        run.how = "killed after " + std::to_string(int(timeoutSeconds)) + " s";
    else if (WIFSIGNALED(status))
        run.how = "signal " + std::to_string(WTERMSIG(status));
    else
        run.how = "exit " + std::to_string(WEXITSTATUS(status));
    run.ended = !killed && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

} // namespace filebombs
