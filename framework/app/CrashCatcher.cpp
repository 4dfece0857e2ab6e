// The crash catcher: signal capture to crash text. The windows and the report
// are in CrashCatcherWindows.cpp, the map-file names in CrashCatcherMap.cpp.
#include "framework/app/CrashCatcher.h"

#include "framework/app/PathUtil.h"
#include "framework/app/StringUtil.h"
#include "framework/app/ZelkAppBase.h"
#include "platform/Platform.h"
#include "platform/crash/StackWalk.h"
#include "platform/modules/Modules.h"

#include <sys/utsname.h>
#include <unistd.h>

namespace Zelk {

namespace {

struct ExceptionNameEntry {
    uint32_t code;
    const char* name;
};

const ExceptionNameEntry kExceptionNames[] = {
    {0x40000005, "Segment Notification"},
    {0x80000003, "Breakpoint"},
    {0x80000004, "Single step"},
    {0x00000000, "Wait 0"},
    {0x00000080, "Abandoned Wait 0"},
    {0x000000C0, "User APC"},
    {0x00000102, "Timeout"},
    {0x00000103, "Pending"},
    {0x80000001, "Guard Page Violation"},
    {0x80000002, "Data Type Misalignment"},
    {0xC0000005, "Access Violation"},
    {0xC0000006, "In Page Error"},
    {0xC0000017, "No Memory"},
    {0xC000001D, "Illegal Instruction"},
    {0xC0000025, "Noncontinuable Exception"},
    {0xC0000026, "Invalid Disposition"},
    {0xC000008C, "Array Bounds Exceeded"},
    {0xC000008D, "Float Denormal Operand"},
    {0xC000008E, "Divide by Zero"},
    {0xC000008F, "Float Inexact Result"},
    {0xC0000090, "Float Invalid Operation"},
    {0xC0000091, "Float Overflow"},
    {0xC0000092, "Float Stack Check"},
    {0xC0000093, "Float Underflow"},
    {0xC0000094, "Integer Divide by Zero"},
    {0xC0000095, "Integer Overflow"},
    {0xC0000096, "Privileged Instruction"},
    {0xC00000FD, "Stack Overflow"},
    {0xC000013A, "Ctrl+C Exit"},
};

using ull = unsigned long long;

// Reads a machine word of the stack, only when it lies inside [low, high).
// The word may lie anywhere in a live stack: a raw read, not checked by the
// address sanitizer.
__attribute__((no_sanitize("address"))) bool ReadStackWord(uint64_t at, uintptr_t low, uintptr_t high,
                                                          uint64_t& value)
{
    if (at < low || at > high || high - at < sizeof(uintptr_t))
        return false;
    value = uint64_t(*reinterpret_cast<const uintptr_t*>(uintptr_t(at)));
    return true;
}

} // namespace

namespace CrashCatcher {

void Install()
{
    plat::InstallCrashHandler([](const plat::ExceptionInfo& info) { Filter(info); });
}

void Uninstall() { plat::UninstallCrashHandler(); }

int Filter(const plat::ExceptionInfo& info)
{
    if (gCrashApp)
        gCrashApp->OnCrash();
    HandleCrash(info);
    // The system's error box is no concern here: the default action follows.
    return 0;
}

const char* ExceptionName(uint32_t code)
{
    for (const ExceptionNameEntry& e : kExceptionNames)
        if (e.code == code)
            return e.name;
    return nullptr;
}

std::string ExceptionLine(const plat::ExceptionInfo& info)
{
    if (const char* name = ExceptionName(info.code))
        return StrFormat("Exception: %s (code 0x%x) at address %08llX in thread %X\r\n", name, info.code,
                         ull(info.address), info.threadId);
    return StrFormat("Unknown exception: (code 0x%x) at address %08llX in thread %X\r\n", info.code, ull(info.address),
                     info.threadId);
}

// Register names are the x86-64 ones, 64-bit values in 16 digits.
std::string RegistersText(const plat::CrashRegisters& r)
{
    std::string text = StrFormat("RAX:%016llX RBX:%016llX RCX:%016llX RDX:%016llX RSI:%016llX RDI:%016llX\r\n",
                                 ull(r.rax), ull(r.rbx), ull(r.rcx), ull(r.rdx), ull(r.rsi), ull(r.rdi));
    text += StrFormat("RIP:%016llX RSP:%016llX  RBP:%016llX\r\n", ull(r.rip), ull(r.rsp), ull(r.rbp));
    text += StrFormat("CS:%04X SS:%04X DS:%04X ES:%04X FS:%04X GS:%04X\r\n", r.cs, r.ss, r.ds, r.es, r.fs, r.gs);
    text += StrFormat("Flags:%08X\r\n", unsigned(r.flags));
    return text;
}

bool LoadImageHlp()
{
    plat::Modules* modules = plat::Get().modules;
    return !modules || modules->Load("imagehlp.dll");
}

bool GetLogicalAddress(uint64_t address, std::string& modulePath, uint32_t& section, uint32_t& offset)
{
    return plat::GetLogicalAddress(address, modulePath, section, offset);
}

std::string ImageHlpStackWalk(const plat::ExceptionInfo& info)
{
    bool complete = true;
    const std::vector<plat::StackFrame> frames = plat::UnwindStack(128, &complete);
    // Start at the faulting instruction: the frames before it are the
    // handler's own and the signal trampoline. A fault that is no signal
    // (an uncaught exception) has no such frame; there the handler's frames
    // are the ones called after its registers were taken, below its stack
    // pointer.
    size_t start = frames.size();
    for (size_t i = 0; i < frames.size() && info.regs.rip != 0; ++i) {
        if (frames[i].pc == info.regs.rip) {
            start = i;
            break;
        }
    }
    // A walk that a fault ended before it reached the faulting instruction
    // (a jump to a bad address) holds only the handler's frames: the
    // frame-pointer walk takes over.
    if (!complete && start == frames.size())
        return std::string();
    for (size_t i = 0; i < frames.size() && start == frames.size(); ++i)
        if (info.regs.rsp == 0 || frames[i].frame > info.regs.rsp)
            start = i;
    uintptr_t low = 0, high = 0;
    plat::CurrentThreadStack(low, high);

    std::string text;
    for (size_t i = start; i < frames.size(); ++i) {
        const plat::StackFrame& f = frames[i];
        if (f.frame == 0 || f.pc == 0)
            return text;
        // A return address may already lie past its function's end.
        const uint64_t lookup = (f.exact || i == start) ? f.pc : f.pc - 1;
        std::string name;
        uint64_t displacement = 0;
        if (plat::FindSymbol(lookup, name, displacement)) {
            displacement += f.pc - lookup;
            text += StrFormat("%08llX %08llX %s+%llX\r\n", ull(f.frame), ull(f.pc), name.c_str(), ull(displacement));
        } else {
            std::string path;
            uint32_t section = 0, offset = 0;
            GetLogicalAddress(lookup, path, section, offset);
            if (lookup != f.pc && section != 0)
                offset += 1;
            text += StrFormat("%08llX %08llX %04X:%08X %s\r\n", ull(f.frame), ull(f.pc), section, offset,
                              GetFileName(path).c_str());
        }
        // The words just above the frame: arguments passed on the stack.
        uint64_t params[4] = {};
        for (int k = 0; k < 4; ++k)
            ReadStackWord(f.frame + uint64_t(k) * sizeof(uintptr_t), low, high, params[k]);
        text += StrFormat("Params: %08llX %08llX %08llX %08llX\r\n", ull(params[0]), ull(params[1]), ull(params[2]),
                          ull(params[3]));
        text += "\r\n";
    }
    // The walk ran to the end of the stack.
    text += "StackWalk failed (error 0)\r\n";
    return text;
}

std::string FrameStackWalk(uint64_t pc, uint64_t frame, uintptr_t stackLow, uintptr_t stackHigh)
{
    std::string text;
    for (int depth = 0; depth < 4096; ++depth) {
        std::string path;
        uint32_t section = 0, offset = 0;
        if (!GetLogicalAddress(pc, path, section, offset)) {
            section = 0;
            offset = 0;
            path.clear();
        }
        text += StrFormat("%08llX  %08llX  %04X:%08X %s\r\n", ull(pc), ull(frame), section, offset,
                          GetFileName(path).c_str());
        // Each frame holds the caller's frame pointer and, above it, the
        // return address. Only words inside the stack are read.
        uint64_t nextFrame = 0, nextPc = 0;
        if (!ReadStackWord(frame, stackLow, stackHigh, nextFrame) ||
            !ReadStackWord(frame + sizeof(uintptr_t), stackLow, stackHigh, nextPc))
            break;
        if (nextFrame % sizeof(uintptr_t) != 0 || nextFrame <= frame || nextFrame < stackLow ||
            nextFrame >= stackHigh)
            break;
        pc = nextPc;
        frame = nextFrame;
    }
    return text;
}

std::string FrameStackWalk(const plat::ExceptionInfo& info)
{
    uintptr_t low = 0, high = 0;
    plat::CurrentThreadStack(low, high);
    return FrameStackWalk(info.regs.rip, info.regs.rbp, low, high);
}

std::string GetSystemInfoText()
{
    // The kernel's release "major.minor.build-..." in the system's form.
    int major = 0, minor = 0, build = 0;
    std::string name;
    utsname u;
    if (uname(&u) == 0) {
        sscanf(u.release, "%d.%d.%d", &major, &minor, &build);
        name = u.sysname;
    }
    std::string text = "Windows Ver: NT " + StrFormat("%d.%d", major, minor) + " " + name + " " + "Build " +
                       StrFormat("%d", build) + "\r\n";
    if (gCrashApp) {
        plat::Modules* modules = plat::Get().modules;
        const char* libs[][2] = {{"ddraw.dll", "DDraw Ver: "}, {"dsound.dll", "DSound Ver: "}};
        for (auto& lib : libs)
            if (modules && modules->Load(lib[0]))
                text += lib[1] + gCrashApp->GetProductVersion(lib[0]) + "\r\n";
    }
    return text;
}

std::string BuildCrashText(const plat::ExceptionInfo& info, std::string& title)
{
    const bool haveImageHlp = LoadImageHlp();
    std::string text = ExceptionLine(info);

    // A fault outside every module still gets both lines, with 0000:00000000.
    std::string path;
    uint32_t section = 0, offset = 0;
    if (!GetLogicalAddress(info.address, path, section, offset)) {
        path.clear();
        section = 0;
        offset = 0;
    }
    text += "Module: " + GetFileName(path) + "\r\n";
    text += StrFormat("Logical Address: %04X:%08X\r\n", section, offset);
    text += "\r\n";
    title = StrFormat("Exception at %04X:%08X", section, offset);

    std::string walk;
    if (haveImageHlp)
        walk = ImageHlpStackWalk(info);
    if (walk.empty())
        walk = FrameStackWalk(info);
    text += walk + "\r\n";

    text += RegistersText(info.regs) + "\r\n";
    text += GetSystemInfoText();
    if (gCrashApp) {
        const std::string appInfo = gCrashApp->GetCrashReportInfo();
        if (!appInfo.empty())
            text += "\r\n" + appInfo;
    }
    return text;
}

void HandleCrash(const plat::ExceptionInfo& info)
{
    std::string title;
    std::string text = BuildCrashText(info, title);
    if (LoadImageHlp())
        ResolveMapSymbols(text);
    plat::AppendCrashReport(title + "\r\n" + text);
    if (!gCrashShowWindow) {
        // The window would have shown it on standard error.
        const std::string out = title + "\r\n" + text;
        ssize_t ignored = write(2, out.data(), out.size());
        (void)ignored;
    }
    if (gCrashApp)
        gCrashApp->OnCrashReported();
    if (gCrashShowWindow)
        ShowCrashWindow(title, text);
}

} // namespace CrashCatcher

} // namespace Zelk
