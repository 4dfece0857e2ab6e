#pragma once
#include <string>

// Faults the empty application can be asked to make on its main thread, so the
// crash report of a real program can be checked: "nullwrite", "overflow",
// "abort", "doublefree" and "twothreads" (two threads writing through a null
// pointer at once). Anything else does nothing.
void RaiseNamedTestCrash(const std::string& kind);
