#pragma once

namespace Zelk {

struct DebugToolHooks;

// Connects the profiler (F2) and the tunable constants (Alt+R) to the debug
// keys: the program's Profiler and ModValRegistry answer the hooks.
void ConnectDeveloperTools(DebugToolHooks& hooks);

} // namespace Zelk
