#pragma once

namespace Zelk {

struct DebugToolHooks;

// Connects the debug keys to the running program: the profiler (F2), the
// tunable constants (Alt+R), the display's 3D switch (Shift+F8), the frame
// read back from the draw surface (F11), the PNG and JPEG writers and the
// application's images in memory (Shift+F11). Hooks already set are kept.
void ConnectDeveloperTools(DebugToolHooks& hooks);

} // namespace Zelk
