#pragma once

namespace plat {

// How a fatal end leaves the process. By default the run-time library's exit.
// The real platform installs its own: the code goes to the process's first
// thread, which stops the event pump, leaves SDL and ends the process there,
// so nothing is torn down under a live event loop.
using ProcessEnder = void (*)(int code);

[[noreturn]] void EndProcess(int code);
// Null puts the run-time library's exit back.
void SetProcessEnder(ProcessEnder ender);

} // namespace plat
