#include "platform/crash/CrashSignals.h"
#include "platform/crash/StackWalk.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <exception>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <ucontext.h>
#include <unistd.h>

namespace plat {

namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGTRAP};
constexpr int kSignalCount = int(sizeof kSignals / sizeof kSignals[0]);
constexpr size_t kAltStackSize = 256 * 1024; // the handler builds texts and walks the stack

std::atomic<CrashHandler> gHandler{nullptr};
std::atomic<bool> gInHandler{false};
struct sigaction gPrevious[kSignalCount];
std::terminate_handler gPreviousTerminate = nullptr;
void* gAltStack = nullptr;
stack_t gPreviousAltStack;
bool gHadPreviousAltStack = false;

void FillRegisters(const ucontext_t* uc, CrashRegisters& r)
{
#if defined(__x86_64__)
    const greg_t* g = uc->uc_mcontext.gregs;
    r.rax = uint64_t(g[REG_RAX]);
    r.rbx = uint64_t(g[REG_RBX]);
    r.rcx = uint64_t(g[REG_RCX]);
    r.rdx = uint64_t(g[REG_RDX]);
    r.rsi = uint64_t(g[REG_RSI]);
    r.rdi = uint64_t(g[REG_RDI]);
    r.rip = uint64_t(g[REG_RIP]);
    r.rsp = uint64_t(g[REG_RSP]);
    r.rbp = uint64_t(g[REG_RBP]);
    r.flags = uint64_t(g[REG_EFL]);
    // CS, GS and FS share one slot, 16 bits each from the bottom.
    const uint64_t csgsfs = uint64_t(g[REG_CSGSFS]);
    r.cs = uint16_t(csgsfs);
    r.gs = uint16_t(csgsfs >> 16);
    r.fs = uint16_t(csgsfs >> 32);
#else
    (void)uc;
#endif
}

// Ends the process with the signal's default action.
[[noreturn]] void DieBy(int sig)
{
    signal(sig, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, sig);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    raise(sig);
    // A signal that does not end the process by default (none of ours).
    _exit(128 + sig);
}

void OnSignal(int sig, siginfo_t* info, void* context)
{
    CrashHandler handler = gHandler.load();
    if (gInHandler.exchange(true) || !handler)
        DieBy(sig);

    ExceptionInfo e;
    e.signal = sig;
    e.code = ExceptionCodeForSignal(sig, info ? info->si_code : 0);
    e.threadId = CurrentThreadId();
    if (context)
        FillRegisters(static_cast<const ucontext_t*>(context), e.regs);
    // Faults report the faulting instruction; signals sent by a process
    // (abort, kill) report where the thread stood.
    e.address = e.regs.rip;
    if (sig == SIGSEGV && info) {
        // A fault just below the thread's stack is the stack running out.
        uintptr_t low = 0, high = 0;
        const uintptr_t at = reinterpret_cast<uintptr_t>(info->si_addr);
        if (CurrentThreadStack(low, high) && at < low && low - at <= 64 * 1024)
            e.code = 0xC00000FD;
    }
    handler(e);
    DieBy(sig);
}

void OnTerminate()
{
    CrashHandler handler = gHandler.load();
    if (!gInHandler.exchange(true) && handler) {
        ExceptionInfo e;
        e.code = kCodeCppException;
        e.threadId = CurrentThreadId();
        ucontext_t uc;
        if (getcontext(&uc) == 0)
            FillRegisters(&uc, e.regs);
        e.address = e.regs.rip;
        handler(e);
    }
    DieBy(SIGABRT);
}

} // namespace

uint32_t ExceptionCodeForSignal(int signal, int siCode)
{
    switch (signal) {
    case SIGSEGV:
        return 0xC0000005;
    case SIGBUS:
        return siCode == BUS_ADRALN ? 0x80000002 : 0xC0000006;
    case SIGILL:
        return siCode == ILL_PRVOPC ? 0xC0000096 : 0xC000001D;
    case SIGTRAP:
        return 0x80000003;
    case SIGABRT:
        return kCodeFatalAppExit;
    case SIGFPE:
        switch (siCode) {
        case FPE_INTDIV:
            return 0xC0000094;
        case FPE_INTOVF:
            return 0xC0000095;
        case FPE_FLTDIV:
            return 0xC000008E;
        case FPE_FLTOVF:
            return 0xC0000091;
        case FPE_FLTUND:
            return 0xC0000093;
        case FPE_FLTRES:
            return 0xC000008F;
        case FPE_FLTSUB:
            return 0xC000008C;
        default:
            return 0xC0000090;
        }
    default:
        return 0;
    }
}

uint32_t CurrentThreadId() { return uint32_t(syscall(SYS_gettid)); }

bool InstallCrashHandler(CrashHandler handler)
{
    if (!handler || gHandler.load())
        return false;
    if (!gAltStack) {
        void* mem = mmap(nullptr, kAltStackSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        gAltStack = mem == MAP_FAILED ? nullptr : mem;
    }
    if (gAltStack) {
        stack_t ss;
        ss.ss_sp = gAltStack;
        ss.ss_size = kAltStackSize;
        ss.ss_flags = 0;
        gHadPreviousAltStack = sigaltstack(&ss, &gPreviousAltStack) == 0;
    }
    gInHandler = false;
    gHandler = handler;
    struct sigaction sa;
    sa.sa_sigaction = OnSignal;
    sa.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&sa.sa_mask);
    for (int i = 0; i < kSignalCount; ++i)
        sigaction(kSignals[i], &sa, &gPrevious[i]);
    gPreviousTerminate = std::set_terminate(OnTerminate);
    return true;
}

void UninstallCrashHandler()
{
    if (!gHandler.load())
        return;
    for (int i = 0; i < kSignalCount; ++i)
        sigaction(kSignals[i], &gPrevious[i], nullptr);
    std::set_terminate(gPreviousTerminate);
    if (gHadPreviousAltStack)
        sigaltstack(&gPreviousAltStack, nullptr);
    gHandler = nullptr;
}

bool CrashHandlerInstalled() { return gHandler.load() != nullptr; }

} // namespace plat
