#include "platform/crash/StackWalk.h"
#include "platform/crash/CrashSignals.h"

#include <climits>
#include <cstdlib>
#include <cxxabi.h>
#include <dlfcn.h>
#include <link.h>
#include <pthread.h>
#include <unistd.h>
#include <unwind.h>

namespace plat {

namespace {

struct UnwindState {
    StackFrame* frames;
    size_t max;
    // Counted frame by frame, so a walk a fault ends keeps what it found.
    volatile size_t count;
};

_Unwind_Reason_Code OnFrame(_Unwind_Context* context, void* arg)
{
    auto* state = static_cast<UnwindState*>(arg);
    if (state->count >= state->max)
        return _URC_END_OF_STACK;
    int beforeInsn = 0;
    StackFrame f;
    f.pc = uint64_t(_Unwind_GetIPInfo(context, &beforeInsn));
    f.frame = uint64_t(_Unwind_GetCFA(context));
    f.exact = beforeInsn != 0;
    if (f.pc == 0)
        return _URC_END_OF_STACK;
    state->frames[state->count] = f;
    state->count = state->count + 1;
    return _URC_NO_REASON;
}

void Unwind(void* state) { _Unwind_Backtrace(OnFrame, state); }

struct SegmentSearch {
    uintptr_t address;
    std::string path;
    uint32_t section = 0;
    uint32_t offset = 0;
    bool found = false;
};

int OnObject(dl_phdr_info* info, size_t, void* arg)
{
    auto* s = static_cast<SegmentSearch*>(arg);
    uint32_t loadIndex = 0;
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const ElfW(Phdr)& ph = info->dlpi_phdr[i];
        if (ph.p_type != PT_LOAD)
            continue;
        const uintptr_t start = info->dlpi_addr + ph.p_vaddr;
        if (s->address >= start && s->address <= start + ph.p_memsz) {
            s->section = loadIndex + 1;
            s->offset = uint32_t(s->address - start);
            s->path = info->dlpi_name ? info->dlpi_name : "";
            s->found = true;
            return 1;
        }
        ++loadIndex;
    }
    return 0;
}

std::string ProgramPath()
{
    char buf[PATH_MAX];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, size_t(n)) : std::string();
}

} // namespace

size_t UnwindStackInto(StackFrame* frames, size_t maxFrames, bool* complete)
{
    UnwindState state{frames, maxFrames, 0};
    const bool whole = RunFaultGuarded(Unwind, &state);
    if (complete)
        *complete = whole;
    return state.count;
}

std::vector<StackFrame> UnwindStack(size_t maxFrames, bool* complete)
{
    // The room is made before the walk: a fault inside it never leaves the
    // allocator half way.
    std::vector<StackFrame> frames(maxFrames);
    frames.resize(UnwindStackInto(frames.data(), maxFrames, complete));
    return frames;
}

std::string Demangle(const std::string& name)
{
    // Only mangled names: a plain "i" would otherwise come back as "int".
    if (name.compare(0, 2, "_Z") != 0)
        return name;
    int status = 0;
    char* out = abi::__cxa_demangle(name.c_str(), nullptr, nullptr, &status);
    if (status != 0 || !out)
        return name;
    std::string text(out);
    free(out);
    return text;
}

bool FindSymbol(uint64_t pc, std::string& name, uint64_t& displacement)
{
    Dl_info info;
    if (dladdr(reinterpret_cast<void*>(uintptr_t(pc)), &info) == 0 || !info.dli_sname || !info.dli_saddr)
        return false;
    name = Demangle(info.dli_sname);
    displacement = pc - uint64_t(reinterpret_cast<uintptr_t>(info.dli_saddr));
    return true;
}

bool GetLogicalAddress(uint64_t address, std::string& modulePath, uint32_t& section, uint32_t& offset)
{
    SegmentSearch s;
    s.address = uintptr_t(address);
    dl_iterate_phdr(OnObject, &s);
    if (!s.found)
        return false;
    // The program itself has no name in the loader's list.
    modulePath = s.path.empty() ? ProgramPath() : s.path;
    section = s.section;
    offset = s.offset;
    return true;
}

bool CurrentThreadStack(uintptr_t& low, uintptr_t& high)
{
    pthread_attr_t attr;
    if (pthread_getattr_np(pthread_self(), &attr) != 0)
        return false;
    void* addr = nullptr;
    size_t size = 0;
    const bool ok = pthread_attr_getstack(&attr, &addr, &size) == 0;
    pthread_attr_destroy(&attr);
    if (!ok)
        return false;
    low = reinterpret_cast<uintptr_t>(addr);
    high = low + size;
    return true;
}

} // namespace plat
