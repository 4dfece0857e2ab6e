#pragma once
#include <string>

namespace testsupport {

// Runs a shell command line and waits for it: its exit code (-1 when it did
// not exit normally or could not start), and what it wrote to standard output
// in output when given (add "2>&1" to the command for standard error too).
int RunCommand(const std::string& command, std::string* output = nullptr);

} // namespace testsupport
