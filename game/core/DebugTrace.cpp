#include "game/core/DebugTrace.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {
std::atomic<DebugTraceHook> gHook{nullptr};
}

void SetDebugTraceHook(DebugTraceHook hook) { gHook.store(hook); }

void DebugTrace(const char* format, ...)
{
    DebugTraceHook hook = gHook.load();
    if (!hook || !format)
        return;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string line;
    if (length > 0) {
        std::vector<char> buffer(size_t(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        line.assign(buffer.data(), size_t(length));
    }
    va_end(args);
    hook(line);
}
