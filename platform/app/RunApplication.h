#pragma once
#include <functional>

namespace plat {

// Runs a program on the real platform: installs the real services, keeps the
// process's first thread for the window system's event pump and presenter,
// and runs appMain on a second thread (the application's main thread). The
// result is appMain's, or 1 when the desktop could not be reached.
int RunRealApplication(const std::function<int()>& appMain);

} // namespace plat
