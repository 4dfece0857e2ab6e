// Every thread the framework and the platform start is ready for a crash:
// a child runs one of each kind at once, lists its threads and checks each,
// and a stack overflow on a thread of each kind is reported.
#include "CrashChild.h"

#include "framework/app/HTTPTransfer.h"
#include "framework/app/ZelkAppBase.h"
#include "platform/Platform.h"
#include "platform/crash/CrashSignals.h"
#include "platform/instance/SingleInstance.h"
#include "platform/loop/BackgroundTask.h"
#include "platform/shell/ShellExecute.h"
#include "platform/soundlib/SoundLibrary.h"

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fstream>
#include <map>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/syscall.h>

namespace {

using crashtest::Child;
using crashtest::CrashChild;

// The names the program's threads take, one of each kind.
const char* const kThreadKinds[] = {"zelk-cursor", "zelk-loading", "zelk-soundlib", "zelk-instance",
                                    "zelk-http",   "zelk-task",    "zelk-reaper"};

constexpr int kProbeSignal = SIGUSR1;    // asks a thread about its alternate stack
constexpr int kOverflowSignal = SIGUSR2; // makes a thread run out of stack

volatile bool gBottomless = true;

// Each frame keeps a buffer the compiler cannot drop, and the call is no tail call.
__attribute__((noinline)) int SinkDeeper(int depth)
{
    volatile char frame[1024];
    frame[0] = char(depth);
    return gBottomless ? SinkDeeper(depth + 1) + frame[0] : frame[0];
}

// Runs on the thread's own stack (the handler is not put on the alternate
// one), as the thread's own code would.
void OverflowThisThread(int) { SinkDeeper(0); }

struct ProbeAnswer {
    std::atomic<long> tid{0};
    std::atomic<long> altStack{-1}; // its size, 0 when the thread has none
};
ProbeAnswer gAnswers[64];
std::atomic<int> gAnswerCount{0};

void AnswerProbe(int)
{
    stack_t current;
    long size = 0;
    if (sigaltstack(nullptr, &current) == 0 && !(current.ss_flags & SS_DISABLE))
        size = long(current.ss_size);
    const int slot = gAnswerCount.fetch_add(1);
    if (slot < 64) {
        gAnswers[slot].altStack = size;
        gAnswers[slot].tid = long(syscall(SYS_gettid));
    }
}

void Handle(int sig, void (*handler)(int))
{
    struct sigaction sa {};
    sa.sa_handler = handler;
    sigemptyset(&sa.sa_mask);
    sigaction(sig, &sa, nullptr);
}

// The threads of this process by id, with the names the system lists.
std::map<long, std::string> ListThreads()
{
    std::map<long, std::string> threads;
    DIR* dir = opendir("/proc/self/task");
    if (!dir)
        return threads;
    while (const dirent* e = readdir(dir)) {
        const long tid = atol(e->d_name);
        if (tid <= 0)
            continue;
        std::ifstream comm("/proc/self/task/" + std::string(e->d_name) + "/comm");
        std::string name;
        std::getline(comm, name);
        threads[tid] = name;
    }
    closedir(dir);
    return threads;
}

bool AllKindsRun()
{
    const std::map<long, std::string> threads = ListThreads();
    for (const char* kind : kThreadKinds) {
        bool found = false;
        for (const auto& [tid, name] : threads)
            found = found || name == kind;
        if (!found)
            return false;
    }
    return true;
}

// The application: its loading thread waits, and its first update hands the
// main thread to the check.
class ThreadsApp : public Zelk::ZelkAppBase {
public:
    ThreadsApp()
    {
        mProdName = "ThreadsTest";
        mRegKey = "Test Co\\Threads";
        mLoadingThreadWanted = true;
    }
    void LoadContent() override
    {
        while (!mShuttingDown)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    void UpdateWidgets() override
    {
        Zelk::ZelkAppBase::UpdateWidgets();
        if (onUpdate) {
            std::function<void()> once = std::move(onUpdate);
            onUpdate = nullptr;
            once();
        }
    }
    std::function<void()> onUpdate;
};

// Starts one thread of every kind, then runs the check on the main thread
// from inside the application's loop; never returns.
[[noreturn]] void RunProgram(const std::string& runtimeFolder, const std::function<int()>& check)
{
    Handle(kProbeSignal, AnswerProbe);
    Handle(kOverflowSignal, OverflowThisThread);

    plat::SoundLibrary sound(true);
    plat::SingleInstance instance(runtimeFolder);
    instance.Acquire("threads");
    // A server that takes the connection and never answers keeps the transfer waiting.
    const int server = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof at;
    bind(server, reinterpret_cast<sockaddr*>(&at), sizeof at);
    listen(server, 1);
    getsockname(server, reinterpret_cast<sockaddr*>(&at), &length);
    Zelk::HTTPTransfer transfer;
    transfer.Start("127.0.0.1:" + std::to_string(ntohs(at.sin_port)) + "/x", "GET /x HTTP/1.0\r\n\r\n");
    plat::EventLoop loop(*plat::Get().clock);
    plat::BackgroundTask task(
        loop,
        [](const plat::Canceller& cancel) {
            pollfd wait{cancel.Fd(), POLLIN, 0};
            while (poll(&wait, 1, -1) < 0 && errno == EINTR) {
            }
        },
        [] {});
    // The program started (and reaped) outside keeps none of the test's
    // output open, so nobody waits for its end.
    fcntl(1, F_SETFD, FD_CLOEXEC);
    plat::ExecuteOnDesktop("open", "/bin/sleep", "5", "", [](const std::string&) { return false; });

    ThreadsApp app;
    app.Init();
    app.onUpdate = [&] {
        for (int i = 0; i < 5000 && !AllKindsRun(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        _exit(check());
    };
    app.Start();
    _exit(96); // the loop ended before its first update
}

} // namespace

TEST_F(CrashChild, EveryThreadOfARunningProgramHasItsOwnAlternateStack)
{
    const Child c = Run([this] {
        RunProgram(dir / "run", [] {
            // Listed before the probe: a signal may end a thread's wait early.
            const bool allKinds = AllKindsRun();
            const std::map<long, std::string> threads = ListThreads();
            for (const auto& [tid, name] : threads)
                syscall(SYS_tgkill, getpid(), tid, kProbeSignal);
            for (int i = 0; i < 5000 && gAnswerCount.load() < int(threads.size()); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            int failures = 0;
            for (const auto& [tid, name] : threads) {
                long altStack = -1;
                for (int i = 0; i < std::min(gAnswerCount.load(), 64); ++i)
                    if (gAnswers[i].tid.load() == tid)
                        altStack = gAnswers[i].altStack.load();
                // The main thread has this program's name; every other one
                // went through the program's thread start and took its name.
                bool known = tid == getpid();
                for (const char* kind : kThreadKinds)
                    known = known || name == kind;
                // The sanitizers give threads a small one of their own: too small.
                const bool ready = altStack >= long(plat::kCrashStackSize);
                fprintf(stderr, "thread %ld \"%s\": alternate stack %ld%s%s\n", tid, name.c_str(), altStack,
                        ready ? "" : " NOT READY", known ? "" : " NOT STARTED BY THE PROGRAM");
                failures += !ready || !known;
            }
            if (!allKinds)
                fprintf(stderr, "not every kind of thread runs\n");
            return allKinds && failures == 0 ? 0 : 1;
        });
    });
    ASSERT_TRUE(c.finished) << c.output;
    EXPECT_EQ(c.exitCode, 0) << c.output;
    for (const char* kind : kThreadKinds)
        EXPECT_TRUE(Has(c.output, std::string("\"") + kind + "\": alternate stack")) << kind << "\n" << c.output;
}

TEST_F(CrashChild, AStackOverflowOnAThreadOfEachKindIsReported)
{
    for (const char* kind : kThreadKinds) {
        const Child c = Run([this, kind] {
            RunProgram(dir / "run", [kind] {
                for (const auto& [tid, name] : ListThreads()) {
                    if (name == kind) {
                        fprintf(stderr, "overflow on thread %ld\n", tid);
                        syscall(SYS_tgkill, getpid(), tid, kOverflowSignal);
                        // The crash ends the process meanwhile.
                        std::this_thread::sleep_for(std::chrono::seconds(50));
                        return 97;
                    }
                }
                return 95;
            });
        });
        ASSERT_TRUE(c.finished) << kind << ": the crashing child hung\n" << c.output;
        EXPECT_EQ(c.signal, SIGSEGV) << kind << ", ended with " << c.exitCode << "\n" << c.output;
        const size_t at = c.output.find("overflow on thread ");
        ASSERT_NE(at, std::string::npos) << kind << "\n" << c.output;
        const std::string tid = c.output.substr(at + 19, c.output.find('\n', at) - at - 19);
        EXPECT_TRUE(Has(c.output, "Crash: signal 11, exception code 0xC00000FD at address ")) << kind << "\n"
                                                                                            << c.output;
        EXPECT_TRUE(Has(c.output, " in thread " + tid + "\n")) << kind << "\n" << c.output;
        EXPECT_TRUE(Has(c.output, "Exception: Stack Overflow (code 0xc00000fd)")) << kind << "\n" << c.output;
        EXPECT_TRUE(Has(c.output, "[Close Now]")) << kind << "\n" << c.output;
    }
}
