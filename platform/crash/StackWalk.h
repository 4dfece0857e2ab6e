#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace plat {

// One frame of a stack walk: the program counter and the frame's canonical
// frame address (the stack pointer of the caller just before the call).
struct StackFrame {
    uint64_t pc = 0;
    uint64_t frame = 0;
    bool exact = false; // pc is the instruction itself (a signal frame), not a return address
};

// The calling thread's stack, innermost frame first, through the unwinder
// behind backtrace(); it also steps through signal frames, so from a signal
// handler it reaches the interrupted code and its callers. A fault inside
// the walk (a frame at an address that cannot be read, such as a jump to a
// bad address) ends it with the frames found before; complete, when given,
// then reads false.
std::vector<StackFrame> UnwindStack(size_t maxFrames = 128, bool* complete = nullptr);
// The same into room the caller provides, without allocating (for the first
// lines of a crash report); the number of frames written.
size_t UnwindStackInto(StackFrame* frames, size_t maxFrames, bool* complete = nullptr);

// The name of the function holding pc (demangled) and the distance from its
// start, from the dynamic symbol tables (dladdr). False when none is known.
bool FindSymbol(uint64_t pc, std::string& name, uint64_t& displacement);
// The human form of a C++ symbol name; the name itself when it is no mangled name.
std::string Demangle(const std::string& name);

// The module holding an address (its file path), the number of its loadable
// segment holding it (from 1) and the offset inside that segment.
bool GetLogicalAddress(uint64_t address, std::string& modulePath, uint32_t& section, uint32_t& offset);

// The address range of the calling thread's stack.
bool CurrentThreadStack(uintptr_t& low, uintptr_t& high);

} // namespace plat
