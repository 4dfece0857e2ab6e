#pragma once
#include <string>

namespace plat {

// Starts the file with posix_spawn: argv[0] is the path, no further
// arguments, the given folder current (empty: ours), a session of its own so
// it outlives us; not waited for. A file we may not execute is handed to
// xdg-open. True when a process was started.
bool StartProgram(const std::string& path, const std::string& folder);

} // namespace plat
