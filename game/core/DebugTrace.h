#pragma once

// Trace output of the game's own code; it writes nothing.
inline void DebugTrace(const char* /*format*/, ...) {}
