// Real crashes of the faulting thread's own code, each in a child process.
#include "CrashChild.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <stdexcept>

// The crash sites; the stack walk must name them.
__attribute__((noinline, no_sanitize("undefined"))) void CrashTestNullWrite()
{
    // The store itself is volatile: an optimiser may drop a plain store
    // through a pointer that can only be null.
    volatile int* volatile target = nullptr;
    *target = 1;
}

__attribute__((noinline)) void CrashTestAbort() { abort(); }

// A call through a garbage function pointer: the fault is at the bad address
// itself, in a frame the unwinder cannot read.
__attribute__((noinline, no_sanitize("undefined"))) void CrashTestJumpTo(uintptr_t address)
{
    void (*volatile target)() = reinterpret_cast<void (*)()>(address);
    target();
}

// A virtual call through an object whose table holds a bad slot, the way a
// freed or overwritten object fails.
struct CrashTestShape {
    virtual ~CrashTestShape() = default;
    virtual int Corners() const { return 0; }
};

__attribute__((noinline, no_sanitize("undefined", "vptr"))) void CrashTestBadVirtualSlot()
{
    static const uintptr_t table[4] = {0x10, 0x10, 0x10, 0x10};
    alignas(CrashTestShape) static unsigned char object[sizeof(CrashTestShape)];
    const uintptr_t* tablePointer = table;
    memcpy(object, &tablePointer, sizeof tablePointer);
    CrashTestShape* volatile shape = reinterpret_cast<CrashTestShape*>(object);
    shape->Corners();
}

__attribute__((noinline)) void CrashTestThrow() { throw std::runtime_error("nobody catches this"); }

namespace {

using crashtest::Child;
using crashtest::CrashChild;

void ThrowPastNoexcept() noexcept { CrashTestThrow(); }

} // namespace

TEST_F(CrashChild, NullWrite)
{
    const Child c = Run([] { CrashTestNullWrite(); });
    ASSERT_TRUE(c.finished) << "the crashing child hung";
    EXPECT_TRUE(c.signaled);
    EXPECT_EQ(c.signal, SIGSEGV);
    const std::string& t = c.output;
    EXPECT_TRUE(Has(t, "==== Fatal Error! ====\nAn unexpected error has occured!\nException: Access Violation "
                       "(code 0xc0000005) at address "))
        << t;
    EXPECT_TRUE(Has(t, "\r\nModule: tools_tests\r\nLogical Address: ")) << t;
    EXPECT_TRUE(std::regex_search(t, std::regex("\r\n[0-9A-F]{8,} [0-9A-F]{8,} CrashTestNullWrite\\(\\)\\+[0-9A-F]+\r\n"
                                                "Params: ")))
        << t;
    EXPECT_TRUE(Has(t, "\r\nRIP:")) << t;
    EXPECT_TRUE(Has(t, "\r\nWindows Ver: NT ")) << t;
    EXPECT_TRUE(Has(t, "[Close Now]")) << t;
    // The walk starts at the fault: the handler's own frames are not in it.
    EXPECT_FALSE(Has(t, "UnwindStack")) << t;
}

TEST_F(CrashChild, AbortAndUncaughtException)
{
    struct {
        const char* name;
        std::function<void()> body;
        const char* line;
        const char* site;
    } cases[] = {
        {"abort", [] { CrashTestAbort(); }, "Unknown exception: (code 0x40000015) at address ", "CrashTestAbort()+"},
        {"uncaught exception", [] { ThrowPastNoexcept(); }, "Unknown exception: (code 0xe06d7363) at address ",
         "CrashTestThrow()+"},
    };
    for (auto& c : cases) {
        const Child child = Run(c.body);
        ASSERT_TRUE(child.finished) << c.name << ": the crashing child hung";
        EXPECT_EQ(child.signal, SIGABRT) << c.name;
        EXPECT_TRUE(Has(child.output, c.line)) << c.name << "\n" << child.output;
        EXPECT_TRUE(Has(child.output, c.site)) << c.name << "\n" << child.output;
        EXPECT_FALSE(Has(child.output, "UnwindStack")) << c.name << "\n" << child.output;
        // Exactly one crash text, though abort raises a second signal.
        const size_t first = child.output.find("==== Fatal Error! ====");
        EXPECT_EQ(child.output.find("==== Fatal Error! ====", first + 1), std::string::npos) << c.name;
    }
}

// Without the symbol walker the frame-pointer chain is walked.
TEST_F(CrashChild, FrameWalkFallback)
{
    platform.modules.SetAbsent("imagehlp.dll", true);
    const Child c = Run([] { CrashTestNullWrite(); });
    ASSERT_TRUE(c.finished);
    EXPECT_EQ(c.signal, SIGSEGV);
    EXPECT_FALSE(Has(c.output, "Params: ")) << c.output;
    const std::regex frameLine("\r\n[0-9A-F]{8,}  [0-9A-F]{8,}  [0-9A-F]{4}:[0-9A-F]{8} tools_tests(?=\r\n)");
    const auto lines = std::distance(std::sregex_iterator(c.output.begin(), c.output.end(), frameLine),
                                     std::sregex_iterator());
    EXPECT_GE(lines, 2) << c.output; // the faulting function and its caller
}

// A map file in the current folder names the crash site.
TEST_F(CrashChild, MapFileNamesTheCrashSite)
{
    std::string path;
    uint32_t section = 0, offset = 0;
    ASSERT_TRUE(Zelk::CrashCatcher::GetLogicalAddress(uint64_t(reinterpret_cast<uintptr_t>(&CrashTestNullWrite)), path,
                                                      section, offset));
    char line[128];
    snprintf(line, sizeof line, " %04X:%08X       _CrashSite                 00401000 f   site.obj\n", section, offset);
    dir.Write("work/game.map", line);
    const Child c = Run([] { CrashTestNullWrite(); }, dir / "work");
    ASSERT_TRUE(c.finished);
    EXPECT_TRUE(std::regex_search(c.output, std::regex("\r\nLogical Address: _CrashSite\\+0x[0-9A-F]+\r\n")))
        << c.output;
}

// A jump to a bad address leaves a frame the unwinder faults on: the fault's
// line is written first, the walk that faults ends, and the whole report still
// follows (its stack part from the frame-pointer chain).
TEST_F(CrashChild, AJumpToABadAddressIsReportedInFull)
{
    struct {
        const char* name;
        std::function<void()> body;
        const char* address; // as the first line writes it
    } cases[] = {
        {"garbage function pointer", [] { CrashTestJumpTo(0x10); }, "0x10"},
        {"unmapped high address", [] { CrashTestJumpTo(0x7FF0DEAD0000); }, "0x7FF0DEAD0000"},
        {"bad virtual slot", [] { CrashTestBadVirtualSlot(); }, "0x10"},
    };
    for (auto& c : cases) {
        const Child child = Run(c.body);
        const std::string& t = child.output;
        ASSERT_TRUE(child.finished) << c.name << ": the crashing child hung";
        EXPECT_EQ(child.signal, SIGSEGV) << c.name;
        EXPECT_TRUE(Has(t, std::string("Crash: signal 11, exception code 0xC0000005 at address ") + c.address))
            << c.name << "\n" << t;
        EXPECT_TRUE(Has(t, "\nReturn addresses: 0x")) << c.name << "\n" << t;
        EXPECT_TRUE(Has(t, "Exception: Access Violation (code 0xc0000005) at address ")) << c.name << "\n" << t;
        EXPECT_TRUE(Has(t, "\r\nLogical Address: 0000:00000000\r\n")) << c.name << "\n" << t;
        EXPECT_TRUE(Has(t, "\r\nRIP:")) << c.name << "\n" << t;
        EXPECT_TRUE(Has(t, "\r\nWindows Ver: NT ")) << c.name << "\n" << t;
        EXPECT_TRUE(Has(t, "[Close Now]")) << c.name << "\n" << t;
    }
}
