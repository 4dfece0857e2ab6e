#include "framework/app/CrashCatcher.h"
#include "framework/app/StringUtil.h"
#include "framework/app/ZelkAppBase.h"
#include "platform/NullPlatform.h"
#include "platform/crash/StackWalk.h"
#include "tests/support/TempDir.h"

#include <csignal>
#include <gtest/gtest.h>
#include <string>

using namespace Zelk;

// Two functions of this program whose addresses the tests look up.
__attribute__((noinline)) int CrashTextSiteA(int x) { return x * 3 + 1; }
__attribute__((noinline)) int CrashTextSiteB(int x) { return x * 5 + 2; }

namespace {

class CrashApp : public ZelkAppBase {
public:
    CrashApp()
    {
        mProdName = "TestProduct";
        mProductVersion = "1.2";
        mLoadingThreadWanted = false;
    }
    std::string GetCrashReportInfo() override { return emptyInfo ? std::string() : ZelkAppBase::GetCrashReportInfo(); }
    std::string GetProductVersion(const std::string& path) override { return "v:" + path; }
    bool emptyInfo = false;
};

plat::ExceptionInfo SiteFault(uint32_t code)
{
    plat::ExceptionInfo e;
    e.code = code;
    e.address = uint64_t(reinterpret_cast<uintptr_t>(&CrashTextSiteA)) + 4;
    e.threadId = 0x2A;
    e.regs.rax = 1;
    e.regs.rbx = 0xFFFFFFFFFFFFFFFFull;
    e.regs.rip = e.address;
    e.regs.rsp = 0x7FFC0000;
    e.regs.rbp = 0; // no frame chain: the frame walk stops at once
    e.regs.flags = 0x246;
    e.regs.cs = 0x33;
    e.regs.gs = 0;
    e.regs.fs = 0;
    return e;
}

} // namespace

TEST(CrashText, ExceptionLine)
{
    struct {
        uint32_t code;
        uint64_t address;
        uint32_t thread;
        const char* line;
    } cases[] = {
        {0xC0000005, 0x1234ABCD, 0x2A, "Exception: Access Violation (code 0xc0000005) at address 1234ABCD in thread 2A\r\n"},
        {0xE06D7363, 0x10, 1, "Unknown exception: (code 0xe06d7363) at address 00000010 in thread 1\r\n"},
        {0, 0x7FFF12345678, 0xFF, "Exception: Wait 0 (code 0x0) at address 7FFF12345678 in thread FF\r\n"},
        {0xC00000FD, 0, 2, "Exception: Stack Overflow (code 0xc00000fd) at address 00000000 in thread 2\r\n"},
        {0x40000015, 0, 2, "Unknown exception: (code 0x40000015) at address 00000000 in thread 2\r\n"},
    };
    for (auto& c : cases) {
        plat::ExceptionInfo e;
        e.code = c.code;
        e.address = c.address;
        e.threadId = c.thread;
        EXPECT_EQ(CrashCatcher::ExceptionLine(e), c.line);
    }
}

TEST(CrashText, SignalCodes)
{
    struct {
        int signal, siCode;
        uint32_t code;
    } cases[] = {
        {SIGSEGV, SEGV_MAPERR, 0xC0000005}, {SIGFPE, FPE_INTDIV, 0xC0000094}, {SIGFPE, FPE_FLTDIV, 0xC000008E},
        {SIGILL, ILL_ILLOPC, 0xC000001D},   {SIGTRAP, TRAP_BRKPT, 0x80000003}, {SIGBUS, BUS_ADRALN, 0x80000002},
        {SIGBUS, BUS_ADRERR, 0xC0000006},   {SIGABRT, 0, 0x40000015},
    };
    for (auto& c : cases)
        EXPECT_EQ(plat::ExceptionCodeForSignal(c.signal, c.siCode), c.code) << c.signal << "/" << c.siCode;
}

TEST(CrashText, LogicalAddress)
{
    const uint64_t a = uint64_t(reinterpret_cast<uintptr_t>(&CrashTextSiteA));
    const uint64_t b = uint64_t(reinterpret_cast<uintptr_t>(&CrashTextSiteB));
    std::string pathA, pathB;
    uint32_t secA = 0, offA = 0, secB = 0, offB = 0;
    ASSERT_TRUE(CrashCatcher::GetLogicalAddress(a, pathA, secA, offA));
    ASSERT_TRUE(CrashCatcher::GetLogicalAddress(b, pathB, secB, offB));
    EXPECT_EQ(pathA.substr(pathA.rfind('/') + 1), "tools_tests");
    EXPECT_EQ(pathA, pathB);
    EXPECT_GE(secA, 1u);
    EXPECT_EQ(secA, secB); // both in the code segment
    EXPECT_EQ(int64_t(offB) - int64_t(offA), int64_t(b - a));

    std::string path;
    uint32_t section = 7, offset = 7;
    EXPECT_FALSE(CrashCatcher::GetLogicalAddress(0x10, path, section, offset));
}

// The frame-pointer walk over a made-up stack: each frame holds the caller's
// frame and the return address above it.
TEST(CrashText, FrameWalkStopsAtABadFrame)
{
    alignas(16) uint64_t stack[48] = {};
    auto at = [&](int i) { return uint64_t(reinterpret_cast<uintptr_t>(&stack[i])); };
    const uintptr_t low = uintptr_t(at(0)), high = uintptr_t(at(0) + sizeof stack);
    struct {
        const char* name;
        uint64_t last; // what the third frame holds as its caller's frame
        int lines;
    } cases[] = {
        {"null", 0, 3},
        {"misaligned", at(20) + 1, 3},
        {"descending", at(4), 3},
        {"the same frame", at(12), 3},
        {"past the stack", at(0) + sizeof stack + 64, 3},
        {"a good frame", at(20), 4},
    };
    for (auto& c : cases) {
        std::fill(std::begin(stack), std::end(stack), 0);
        stack[2] = at(6);
        stack[3] = 0x2222;
        stack[6] = at(12);
        stack[7] = 0x3333;
        stack[12] = c.last;
        stack[13] = 0x4444;
        const std::string walk = CrashCatcher::FrameStackWalk(0x1111, at(2), low, high);
        int lines = 0;
        for (size_t p = walk.find("\r\n"); p != std::string::npos; p = walk.find("\r\n", p + 2))
            ++lines;
        EXPECT_EQ(lines, c.lines) << c.name << "\n" << walk;
        EXPECT_EQ(walk.find("00001111  " + StrFormat("%08llX", (unsigned long long)at(2)) + "  0000:00000000 \r\n"), 0u)
            << c.name;
        EXPECT_NE(walk.find("00003333  "), std::string::npos) << c.name;
        EXPECT_EQ(walk.find("00004444  ") != std::string::npos, c.lines == 4) << c.name;
    }
    // A first frame outside the stack is never read.
    EXPECT_EQ(CrashCatcher::FrameStackWalk(0x1111, 0x10, low, high), "00001111  00000010  0000:00000000 \r\n");
}

TEST(CrashText, ParseHex)
{
    struct {
        const char* text;
        bool ok;
        uint32_t value;
    } cases[] = {{"", true, 0}, {"0001", true, 1}, {"DeadBeef", true, 0xDEADBEEF}, {"00x1", false, 0},
                 {"12 4", false, 0}, {"123456789", false, 0}};
    for (auto& c : cases) {
        uint32_t v = 0;
        EXPECT_EQ(CrashCatcher::ParseHex(c.text, v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}

TEST(CrashText, MapSymbols)
{
    const std::string map = std::string(ZELK_FIXTURES) + "/crash/sample.map";
    const std::string main = "\r\n    c:\\src\\main.cpp line ";
    const std::string open = "\r\n    c:\\src\\open.cpp segment .text line ";
    struct {
        const char* address;
        std::string named; // empty: left as it is
    } cases[] = {
        {"0001:00000000", "_main" + main + "10 +0x0"},
        {"0001:00000010", "_main+0x10" + main + "11 +0x0"},
        {"0001:00000108", "?Update@Office@@QAEXXZ+0x8" + main + "12 +0x8"},
        {"0001:00000204", "DrawFrame()+0x4" + main + "20 +0x4"},
        {"0001:00000300", "_new" + main + "20 +0x100"},          // the later line of a key wins
        {"0001:00000510", "_new+0x210" + main + "20 +0x310"},    // a line without its columns is no symbol
        {"0002:00000060", "_gTable+0x10"},                       // no line numbers in that section
        {"0003:00000010", ""},                                   // below the section's first symbol
        {"0004:00000000", ""},                                   // a section without symbols
        {"0005:00000024", "_opener+0x24" + open + "8 +0x4"},     // a file name without ")"
        {"0005:00000064", "_opener+0x64" + open + "9 +0x24"},    // an entry with bad hex is skipped
        {"00G1:00000000", ""},
    };
    for (auto& c : cases) {
        std::string text = std::string("Logical Address: ") + c.address + "\r\nnext";
        CrashCatcher::ResolveMapSymbolsFrom(text, map);
        const std::string want = "Logical Address: " + (c.named.empty() ? std::string(c.address) : c.named) + "\r\nnext";
        EXPECT_EQ(text, want) << c.address;
    }

    // Several addresses in one text, one at its very end.
    std::string text = "0002:00000050 and 0001:00000100";
    CrashCatcher::ResolveMapSymbolsFrom(text, map);
    EXPECT_EQ(text, "_gTable and ?Update@Office@@QAEXXZ" + main + "12 +0x0");

    // No map: nothing changes.
    std::string same = "0001:00000010";
    CrashCatcher::ResolveMapSymbolsFrom(same, map + ".missing");
    EXPECT_EQ(same, "0001:00000010");
}

// The scan goes on after what it inserted: a source file whose name looks
// like an address is not resolved again (nor forever).
TEST(CrashText, MapScanSkipsInsertedText)
{
    testsupport::TempDir dir;
    dir.Write("a.map", " 0001:00000000       _main                      00401000 f   a.obj\n"
                       "Line numbers for a.obj(0001:00000000) segment .text\n"
                       "     1 0001:00000000     2 0001:00000010     3 0001:00000020     4 0001:00000030\n");
    std::string text = "0001:00000010";
    CrashCatcher::ResolveMapSymbolsFrom(text, dir / "a.map");
    EXPECT_EQ(text, "_main+0x10\r\n    0001:00000000 line 2 +0x0");
}

class CrashTextApp : public ::testing::Test {
protected:
    plat::NullPlatform platform;
};

TEST_F(CrashTextApp, TextWithoutAnApplication)
{
    ASSERT_EQ(gCrashApp, nullptr);
    const plat::ExceptionInfo e = SiteFault(0xC0000005);
    std::string path;
    uint32_t section = 0, offset = 0;
    ASSERT_TRUE(CrashCatcher::GetLogicalAddress(e.address, path, section, offset));

    std::string title;
    const std::string text = CrashCatcher::BuildCrashText(e, title);
    EXPECT_EQ(title, StrFormat("Exception at %04X:%08X", section, offset));
    const std::string head = CrashCatcher::ExceptionLine(e) + "Module: tools_tests\r\n" +
                             StrFormat("Logical Address: %04X:%08X\r\n", section, offset) + "\r\n";
    EXPECT_EQ(text.compare(0, head.size(), head), 0) << text;

    const std::string regs = "RAX:0000000000000001 RBX:FFFFFFFFFFFFFFFF RCX:0000000000000000 RDX:0000000000000000 "
                             "RSI:0000000000000000 RDI:0000000000000000\r\n"
                             "RIP:" + StrFormat("%016llX", (unsigned long long)e.address) +
                             " RSP:000000007FFC0000  RBP:0000000000000000\r\n"
                             "CS:0033 SS:0000 DS:0000 ES:0000 FS:0000 GS:0000\r\n"
                             "Flags:00000246\r\n\r\n";
    const size_t regsAt = text.find(regs);
    ASSERT_NE(regsAt, std::string::npos) << text;
    EXPECT_EQ(text.compare(regsAt - 2, 2, "\r\n"), 0); // a blank line after the walk
    // Then the system line, and nothing from an application.
    const std::string rest = text.substr(regsAt + regs.size());
    EXPECT_EQ(rest.compare(0, 16, "Windows Ver: NT "), 0) << rest;
    EXPECT_EQ(rest.find("\r\n"), rest.size() - 2) << rest;
}

TEST_F(CrashTextApp, TextWithAnApplication)
{
    CrashApp app;
    app.mPrimaryThreadId = 0x1A2B;
    platform.clock.Advance(5000);
    platform.modules.SetAbsent("dsound.dll", true);

    std::string title;
    const std::string text = CrashCatcher::BuildCrashText(SiteFault(0xC0000005), title);
    const size_t sys = text.find("Windows Ver: NT ");
    ASSERT_NE(sys, std::string::npos);
    const std::string rest = text.substr(text.find("\r\n", sys) + 2);
    EXPECT_EQ(rest, "DDraw Ver: v:ddraw.dll\r\n"
                    "\r\n"
                    "Product: TestProduct\r\nVersion: 1.2\r\nTime Loaded: 00:00:05\r\nFullscreen: No\r\n"
                    "Primary ThreadId: 1A2B\r\n");

    // Application lines that are empty add no blank line.
    app.emptyInfo = true;
    const std::string quiet = CrashCatcher::BuildCrashText(SiteFault(0xC0000005), title);
    EXPECT_EQ(quiet.substr(quiet.size() - 24), "DDraw Ver: v:ddraw.dll\r\n");
}

TEST_F(CrashTextApp, ReportInfoHoursAreNotWrapped)
{
    CrashApp app;
    app.mWindowed = false;
    platform.clock.Advance(((100 * 60 + 2) * 60 + 3) * 1000);
    const std::string info = app.GetCrashReportInfo();
    EXPECT_NE(info.find("Time Loaded: 100:02:03\r\nFullscreen: Yes\r\n"), std::string::npos) << info;
}

TEST_F(CrashTextApp, OnCrashQuietsTheApplication)
{
    CrashApp app;
    plat::WindowDesc desc;
    app.mMainWindow = platform.windows.Create(desc);
    platform.windows.Show(app.mMainWindow);
    app.OnCrash();
    EXPECT_TRUE(app.mCrashed.load());
    EXPECT_EQ(app.GetMusicVolume(), 0.0);
    // The window system is left alone: the faulting thread may be the event
    // thread inside one of its calls. The crash window's process hides it.
    EXPECT_TRUE(platform.windows.IsVisible(app.mMainWindow));
}

TEST_F(CrashTextApp, FrameWalkWhenTheSymbolWalkerIsMissing)
{
    platform.modules.SetAbsent("imagehlp.dll", true);
    std::string title;
    const std::string text = CrashCatcher::BuildCrashText(SiteFault(0xC0000005), title);
    EXPECT_EQ(text.find("Params: "), std::string::npos);
    EXPECT_EQ(text.find("StackWalk failed"), std::string::npos);
    // The frame walk's one line: the program counter, frame 0, its place.
    EXPECT_NE(text.find(StrFormat("%08llX  00000000  ", (unsigned long long)SiteFault(0).address)), std::string::npos)
        << text;
}
