#pragma once
#include <string>
#include <vector>

namespace filebombs {

// What one run of a reader in a child process cost and said.
struct ChildRun {
    bool ended = false;   // exited by itself with status 0
    std::string how;      // "exit 0", "exit 3", "signal 6", "killed after 30 s"
    std::string output;   // its standard output, trimmed
    double cpuSeconds = 0; // user and system time
    double wallSeconds = 0;
    long peakKilobytes = 0; // ru_maxrss
};

// Starts the program with these arguments (a fresh process, so nothing of
// the caller's memory counts), waits for it at most timeoutSeconds and
// reports its resource use.
ChildRun RunChild(const std::vector<std::string>& argv, double timeoutSeconds);

} // namespace filebombs
