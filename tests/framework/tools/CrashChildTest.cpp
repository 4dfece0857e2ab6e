// Real crashes, each in a child process with the crash catcher installed:
// the child must write the crash text and end by its signal, not hang.
#include "framework/app/CrashCatcher.h"
#include "platform/NullPlatform.h"
#include "tests/support/TempDir.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <regex>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// The crash sites; the stack walk must name them.
__attribute__((noinline, no_sanitize("undefined"))) void CrashTestNullWrite()
{
    // The store itself is volatile: an optimiser may drop a plain store
    // through a pointer that can only be null.
    volatile int* volatile target = nullptr;
    *target = 1;
}

__attribute__((noinline)) void CrashTestAbort() { abort(); }

__attribute__((noinline)) void CrashTestThrow() { throw std::runtime_error("nobody catches this"); }

namespace {

void ThrowPastNoexcept() noexcept { CrashTestThrow(); }

struct Child {
    bool finished = false;
    bool signaled = false;
    int signal = 0;
    std::string output;
};

class CrashChild : public ::testing::Test {
protected:
    // Runs the body in a child with the catcher installed and standard error
    // going to a file; waits (bounded) for it to end.
    Child Run(const std::function<void()>& body, const std::string& workDir = std::string())
    {
        const std::string out = dir / "stderr.txt";
        const pid_t pid = fork();
        if (pid == 0) {
            const int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(fd, 2);
            if (!workDir.empty() && chdir(workDir.c_str()) != 0)
                _exit(98);
            Zelk::CrashCatcher::Install();
            body();
            _exit(99); // the crash did not happen
        }
        Child c;
        int status = 0;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < end) {
            if (waitpid(pid, &status, WNOHANG) == pid) {
                c.finished = true;
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        if (!c.finished) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
        }
        c.signaled = c.finished && WIFSIGNALED(status);
        c.signal = c.signaled ? WTERMSIG(status) : 0;
        c.output = dir.Read("stderr.txt");
        return c;
    }

    static bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

    plat::NullPlatform platform;
    testsupport::TempDir dir;
};

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
