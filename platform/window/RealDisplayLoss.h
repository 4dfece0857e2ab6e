#pragma once

namespace plat {

// When the connection to the X server breaks (the session ends, the server
// goes away), Xlib calls its I/O error handler on whichever thread noticed,
// and the default one ends the process there with exit(): static objects are
// destroyed under the threads that still run. After this call the handler
// runs `lost` instead, on that thread, from inside the Xlib call that failed.
// `lost` must not return (Xlib would exit then) and must not call Xlib.
// One handler for the process.
using DisplayLostHandler = void (*)();
void SetDisplayLostHandler(DisplayLostHandler lost);

} // namespace plat
