#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace plat {

// The processor state at a fault. The names are the x86-64 ones; on other
// processors the registers read as 0. The segment registers DS, ES and SS
// are not kept in a Linux signal context and read as 0.
struct CrashRegisters {
    uint64_t rax = 0, rbx = 0, rcx = 0, rdx = 0, rsi = 0, rdi = 0;
    uint64_t rip = 0, rsp = 0, rbp = 0;
    uint64_t flags = 0;
    uint16_t cs = 0, ss = 0, ds = 0, es = 0, fs = 0, gs = 0;
};

// What the crash text is made from: the fault as an exception record with the
// system's exception codes (0xC0000005 access violation, ...), its address,
// the thread it happened on and the registers.
struct ExceptionInfo {
    uint32_t code = 0;
    uint64_t address = 0;
    uint32_t threadId = 0;
    int signal = 0; // 0 when it did not come from a signal
    CrashRegisters regs;
};

// Exception codes used for faults that are not signals.
constexpr uint32_t kCodeCppException = 0xE06D7363; // an uncaught C++ exception
constexpr uint32_t kCodeFatalAppExit = 0x40000015; // abort()

using CrashHandler = void (*)(const ExceptionInfo& info);

// Installs the crash handler for SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT and
// SIGTRAP (on the faulting thread's alternate stack, so a stack overflow can
// still be reported) and for uncaught C++ exceptions. Before the handler runs,
// the fault and the raw return addresses are written to standard error and
// the crash file without allocating, and an alarm is armed so the process
// ends whatever the handler does. The handler runs once: a fault inside it
// goes straight to the default action, and another thread faulting meanwhile
// waits until the process ends. When the handler returns the signal is raised
// again with its default action, which ends the process.
bool InstallCrashHandler(CrashHandler handler);
// Gives the calling thread its own alternate signal stack (kept until the
// thread ends); every thread the programs start calls it first. A thread that
// has one of at least kCrashStackSize bytes already keeps it.
void PrepareThreadForCrashes();
// The room the handler needs: it builds texts and walks the stack.
constexpr size_t kCrashStackSize = 256 * 1024;
// Where a crash writes its report (opened only when a crash happens).
void SetCrashReportFile(const std::string& path);
// Appends to the crash file of the crash being reported.
void AppendCrashReport(const std::string& text);
// Runs a walk over memory that may be bad (the stack of a crashed thread,
// a frame at a garbage address). A fault inside it ends the walk: the call
// returns false and the thread goes on where it called, with the signal mask
// it had. Returns true when the walk ran to its end. Faults are caught only
// while the crash handler is installed.
bool RunFaultGuarded(void (*walk)(void* context), void* context);
// Puts back the actions that were installed before.
void UninstallCrashHandler();
bool CrashHandlerInstalled();

// The exception code for a signal and its si_code.
uint32_t ExceptionCodeForSignal(int signal, int siCode);
// The kernel's id of the calling thread.
uint32_t CurrentThreadId();

} // namespace plat
