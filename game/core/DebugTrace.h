#pragma once
#include <string>

// Trace output of the game's own code; it writes nothing. A test may install
// a hook that receives each formatted line.
void DebugTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));

using DebugTraceHook = void (*)(const std::string& line);
// Null removes the hook.
void SetDebugTraceHook(DebugTraceHook hook);
