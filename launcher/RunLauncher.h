#pragma once
#include <string>

namespace plat {
class EventLoop;
}

namespace vorsel {

// The whole launcher over the installed platform services and the given
// loop: the form with its real network, page view, files, shell and busy
// picture; SIGTERM, SIGINT and SIGHUP end it without starting the game.
// Returns when the launcher has ended.
int RunLauncher(plat::EventLoop& loop, const std::string& exeDir);

} // namespace vorsel
