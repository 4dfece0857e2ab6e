#pragma once
#include <string>

// Faults the empty application can be asked to make on its main thread, so the
// crash report of a real program can be checked: "nullwrite", "overflow",
// "abort", "badjump" (a call through a garbage function pointer), "doublefree"
// and "twothreads" (two threads writing through a null pointer at once).
// "overflowonsignal" makes no fault at once: from then on, a thread that
// takes SIGUSR2 runs out of stack. Anything else does nothing.
void RaiseNamedTestCrash(const std::string& kind);
