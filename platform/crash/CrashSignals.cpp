#include "platform/crash/CrashSignals.h"
#include "platform/crash/StackWalk.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <pthread.h>
#include <setjmp.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <ucontext.h>
#include <unistd.h>

namespace plat {

namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGTRAP};
constexpr int kSignalCount = int(sizeof kSignals / sizeof kSignals[0]);
constexpr unsigned kCrashSeconds = 60; // the longest a crashing process lives on

// The faults a bad read or a jump to a bad address makes.
constexpr int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE};

std::atomic<CrashHandler> gHandler{nullptr};
// Where a fault inside a guarded walk on this thread goes back to.
thread_local sigjmp_buf* tWalkEscape = nullptr;
std::atomic<uint32_t> gReportingThread{0}; // the thread writing the report, 0 while none
std::atomic<int> gCrashSignal{0};
char gCrashFilePath[PATH_MAX] = "";
std::atomic<int> gCrashFd{-1};
struct sigaction gPrevious[kSignalCount];
std::terminate_handler gPreviousTerminate = nullptr;

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

// The alarm armed by a crash: whatever the report was doing, the process ends
// by the signal it crashed with.
void OnCrashAlarm(int) { DieBy(gCrashSignal.load() ? gCrashSignal.load() : SIGABRT); }

void WriteAll(int fd, const char* text, size_t size)
{
    while (size > 0) {
        const ssize_t n = write(fd, text, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        text += n;
        size -= size_t(n);
    }
}

// Appends text and numbers to a fixed buffer, without allocating.
struct RawText {
    char data[2048];
    size_t size = 0;
    void Add(const char* text)
    {
        while (*text && size < sizeof data)
            data[size++] = *text++;
    }
    void Hex(uint64_t value)
    {
        char digits[17];
        int n = 0;
        do {
            digits[n++] = "0123456789ABCDEF"[value & 15];
            value >>= 4;
        } while (value && n < 16);
        Add("0x");
        while (n > 0 && size < sizeof data)
            data[size++] = digits[--n];
    }
    void Dec(uint64_t value)
    {
        char digits[21];
        int n = 0;
        do {
            digits[n++] = char('0' + value % 10);
            value /= 10;
        } while (value);
        while (n > 0 && size < sizeof data)
            data[size++] = digits[--n];
    }
};

void WriteBoth(const RawText& t)
{
    WriteAll(2, t.data, t.size);
    if (gCrashFd.load() >= 0)
        WriteAll(gCrashFd.load(), t.data, t.size);
}

// The first thing a crash writes, before anything can allocate or wait: the
// fault, then the raw return addresses, to standard error and the crash file.
// The fault's line is out before the stack is walked, since the walk itself
// may fault (a jump to a bad address leaves a frame the unwinder cannot
// read); such a fault ends the walk with the addresses found before it.
void WriteEssentialReport(const ExceptionInfo& e)
{
    if (gCrashFilePath[0] && gCrashFd.load() < 0)
        gCrashFd = open(gCrashFilePath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    RawText t;
    t.Add("Crash: signal ");
    t.Dec(uint64_t(e.signal));
    t.Add(", exception code ");
    t.Hex(e.code);
    t.Add(" at address ");
    t.Hex(e.address);
    t.Add(" in thread ");
    t.Dec(e.threadId);
    t.Add("\n");
    WriteBoth(t);

    StackFrame frames[48];
    bool complete = true;
    const size_t count = UnwindStackInto(frames, 48, &complete);
    RawText r;
    r.Add("Return addresses:");
    for (size_t i = 0; i < count; ++i) {
        r.Add(" ");
        r.Hex(frames[i].pc);
    }
    if (!complete)
        r.Add(" (the walk ended at a frame that cannot be read)");
    r.Add("\n");
    WriteBoth(r);
}

// Starts the report of a crash on this thread: false when the handler must
// not run (none installed, or a fault inside the report itself). A second
// thread that faults meanwhile waits here until the first report has ended
// the process.
bool BeginReport(int sig)
{
    const uint32_t self = CurrentThreadId();
    uint32_t expected = 0;
    if (!gReportingThread.compare_exchange_strong(expected, self)) {
        if (expected == self)
            return false;
        for (;;)
            pause();
    }
    gCrashSignal = sig;
    struct sigaction sa;
    memset(&sa, 0, sizeof sa);
    sa.sa_handler = OnCrashAlarm;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGALRM, &sa, nullptr);
    alarm(kCrashSeconds);
    return gHandler.load() != nullptr;
}

void OnSignal(int sig, siginfo_t* info, void* context)
{
    // A fault inside a guarded walk ends the walk, not the report.
    if (sigjmp_buf* escape = tWalkEscape) {
        tWalkEscape = nullptr;
        siglongjmp(*escape, 1);
    }
    if (!BeginReport(sig))
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
    WriteEssentialReport(e);
    if (CrashHandler handler = gHandler.load())
        handler(e);
    DieBy(sig);
}

void OnTerminate()
{
    if (BeginReport(SIGABRT)) {
        ExceptionInfo e;
        e.signal = SIGABRT;
        e.code = kCodeCppException;
        e.threadId = CurrentThreadId();
        ucontext_t uc;
        if (getcontext(&uc) == 0)
            FillRegisters(&uc, e.regs);
        e.address = e.regs.rip;
        WriteEssentialReport(e);
        if (CrashHandler handler = gHandler.load())
            handler(e);
    }
    DieBy(SIGABRT);
}

// Each thread's alternate signal stack, freed when the thread ends.
struct ThreadAltStack {
    void* memory = nullptr;
    ~ThreadAltStack()
    {
        if (!memory)
            return;
        stack_t off;
        memset(&off, 0, sizeof off);
        off.ss_flags = SS_DISABLE;
        sigaltstack(&off, nullptr);
        munmap(memory, kCrashStackSize);
    }
};

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

void PrepareThreadForCrashes()
{
    thread_local ThreadAltStack stack;
    if (stack.memory)
        return;
    stack_t current;
    if (sigaltstack(nullptr, &current) == 0 && !(current.ss_flags & SS_DISABLE) && current.ss_size >= kCrashStackSize)
        return; // the thread has one big enough already
    void* mem = mmap(nullptr, kCrashStackSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mem == MAP_FAILED)
        return;
    stack_t ss;
    ss.ss_sp = mem;
    ss.ss_size = kCrashStackSize;
    ss.ss_flags = 0;
    if (sigaltstack(&ss, nullptr) != 0) {
        munmap(mem, kCrashStackSize);
        return;
    }
    stack.memory = mem;
}

void SetCrashReportFile(const std::string& path)
{
    if (path.size() >= sizeof gCrashFilePath)
        return;
    // Written before any crash; the handler only reads it.
    memcpy(gCrashFilePath, path.c_str(), path.size() + 1);
}

void AppendCrashReport(const std::string& text)
{
    if (gCrashFd.load() >= 0)
        WriteAll(gCrashFd.load(), text.data(), text.size());
}

bool InstallCrashHandler(CrashHandler handler)
{
    if (!handler || gHandler.load())
        return false;
    PrepareThreadForCrashes();
    // The unwinder sets itself up now, not in the middle of a crash.
    StackFrame warm[2];
    UnwindStackInto(warm, 2);
    gReportingThread = 0;
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

bool RunFaultGuarded(void (*walk)(void* context), void* context)
{
    sigjmp_buf escape;
    // The mask is kept here and put back by the jump: inside a crash
    // handler the signal being handled is blocked, and a fault of that kind
    // while it is would end the process at once.
    if (sigsetjmp(escape, 1) != 0)
        return false;
    sigset_t faults, previous;
    sigemptyset(&faults);
    for (int sig : kFaultSignals)
        sigaddset(&faults, sig);
    tWalkEscape = &escape;
    pthread_sigmask(SIG_UNBLOCK, &faults, &previous);
    walk(context);
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    tWalkEscape = nullptr;
    return true;
}

void UninstallCrashHandler()
{
    if (!gHandler.load())
        return;
    for (int i = 0; i < kSignalCount; ++i)
        sigaction(kSignals[i], &gPrevious[i], nullptr);
    std::set_terminate(gPreviousTerminate);
    gHandler = nullptr;
}

bool CrashHandlerInstalled() { return gHandler.load() != nullptr; }

} // namespace plat
