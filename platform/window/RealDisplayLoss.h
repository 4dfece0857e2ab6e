#pragma once

namespace plat {

// When the connection to the X server breaks (the session ends, the server
// goes away), Xlib calls its I/O error handler on whichever thread noticed,
// and the default one ends the process there with exit(): static objects are
// destroyed under the threads that still run. After this call the handler
// runs `lost` instead, on that thread, from inside the Xlib call that failed,
// once for every failing call. `lost` must not call Xlib. When it returns,
// Xlib does not end the process: the failing call returns and the thread goes
// on, and later calls on that connection fail the same way.
// One handler for the process.
using DisplayLostHandler = void (*)();
void SetDisplayLostHandler(DisplayLostHandler lost);

} // namespace plat
