#pragma once
// Real crashes, each in a child process with the crash catcher installed:
// the child must write the crash text and end by its signal, not hang.
#include "framework/app/CrashCatcher.h"
#include "platform/NullPlatform.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace crashtest {

struct Child {
    bool finished = false;
    bool signaled = false;
    int signal = 0;
    int exitCode = -1; // when it ended by itself
    std::string output;
};

class CrashChild : public ::testing::Test {
protected:
    // Runs the body in a child with the catcher installed and standard error
    // going to a file; waits (bounded) for it to end.
    Child Run(const std::function<void()>& body, const std::string& workDir = std::string())
    {
        const std::string out = dir / "stderr.txt";
        const pid_t pid = fork();
        if (pid == 0) {
            const int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(fd, 2);
            if (!workDir.empty() && chdir(workDir.c_str()) != 0)
                _exit(98);
            Zelk::CrashCatcher::Install();
            body();
            _exit(99); // the crash did not happen
        }
        Child c;
        int status = 0;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < end) {
            if (waitpid(pid, &status, WNOHANG) == pid) {
                c.finished = true;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        if (!c.finished) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
        }
        c.signaled = c.finished && WIFSIGNALED(status);
        c.signal = c.signaled ? WTERMSIG(status) : 0;
        c.exitCode = c.finished && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        c.output = dir.Read("stderr.txt");
        return c;
    }

    static bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

    plat::NullPlatform platform;
    testsupport::TempDir dir;
};

} // namespace crashtest
