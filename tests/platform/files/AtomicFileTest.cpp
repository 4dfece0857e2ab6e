#include "platform/files/AtomicFile.h"
#include "tests/support/TempDir.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The id of a process that has ended (and been collected).
pid_t EndedProcess()
{
    const pid_t pid = fork();
    if (pid == 0)
        _exit(0);
    waitpid(pid, nullptr, 0);
    return pid;
}

std::set<std::string> Entries(const testsupport::TempDir& dir)
{
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.Path()))
        names.insert(e.path().filename().string());
    return names;
}

} // namespace

// What a start removes beside "pref.dat": only temporaries of its own writes
// whose process has ended.
TEST(AtomicFile, AStartRemovesTheTemporariesOfEndedProcessesOnly)
{
    testsupport::TempDir dir;
    const std::string ended = std::to_string(EndedProcess());
    const pid_t living = fork();
    if (living == 0) {
        pause();
        _exit(0);
    }
    struct {
        std::string name;
        bool removed;
    } cases[] = {
        {"pref.dat.tmp" + ended, true},
        {"pref.dat.tmp" + std::to_string(getpid()), false}, // this process, perhaps writing now
        {"pref.dat.tmp" + std::to_string(living), false},   // another copy that runs
        {"pref.dat.tmp" + std::to_string(getppid()), false},
        {"pref.dat.tmp" + ended + "x", false},
        {"pref.dat.tmp0" + ended, false},
        {"pref.dat.tmp", false},
        {"pref.dat.tmp99999999999", false},
        {"other.dat.tmp" + ended, false},
        {"Pref.dat.tmp" + ended, false},
        {"pref.dat", false},
    };
    for (const auto& c : cases)
        dir.Write(c.name, "left over");
    // Only regular files: a folder or a link of that name is not a leftover.
    const std::string endedToo = std::to_string(EndedProcess());
    std::filesystem::create_directory(dir / ("pref.dat.tmp" + endedToo));
    const std::string endedLink = std::to_string(EndedProcess());
    std::filesystem::create_symlink(dir / "pref.dat", dir / ("pref.dat.tmp" + endedLink));

    plat::RemoveLeftoverTemporaries(dir / "pref.dat");
    kill(living, SIGKILL);
    waitpid(living, nullptr, 0);

    const std::set<std::string> left = Entries(dir);
    for (const auto& c : cases)
        EXPECT_EQ(left.count(c.name), c.removed ? 0u : 1u) << c.name;
    EXPECT_EQ(left.count("pref.dat.tmp" + endedToo), 1u);
    EXPECT_EQ(left.count("pref.dat.tmp" + endedLink), 1u);
    // A folder that is not there, and a name without one, are no trouble.
    plat::RemoveLeftoverTemporaries(dir / "absent/pref.dat");
    plat::RemoveLeftoverTemporaries("pref.dat");
}

// The next write after a removal goes through as ever.
TEST(AtomicFile, AWriteAfterTheCleaningReplacesTheFile)
{
    testsupport::TempDir dir;
    dir.Write("settings.reg", "old");
    dir.Write("settings.reg.tmp" + std::to_string(EndedProcess()), "half");
    plat::RemoveLeftoverTemporaries(dir / "settings.reg");
    ASSERT_TRUE(plat::WriteFileAtomically(dir / "settings.reg", "new", 3));
    EXPECT_EQ(Entries(dir), std::set<std::string>{"settings.reg"});
    EXPECT_EQ(dir.Read("settings.reg"), "new");
}
