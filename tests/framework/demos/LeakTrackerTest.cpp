#include "framework/app/LeakTracker.h"
#include "platform/NullPlatform.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

using namespace Zelk;

namespace {
const void* Address(uint64_t a) { return reinterpret_cast<const void*>(uintptr_t(a)); }
const char* kHyphens = "-----------------------------------------------------------\n";
} // namespace

TEST(LeakTracker, ReportListsLeaksInAddressOrderWithTotals)
{
    plat::NullPlatform platform;
    testsupport::TempDir dir;
    LeakTracker tracker;
    // Addresses that differ only above 32 bits must stay apart.
    tracker.AddTrack(Address(0x200001000ull), 2, "b.cpp", 20);
    tracker.AddTrack(Address(0x100001000ull), 1, "a.cpp", 10);
    tracker.AddTrack(Address(0x300000000ull), 2000, "c.cpp", 30);
    tracker.AddTrack(Address(0x400000000ull), 77, "freed.cpp", 40);
    tracker.RemoveTrack(Address(0x400000000ull));
    EXPECT_EQ(tracker.Count(), 3u);

    platform.debug.StartCapture();
    tracker.WriteReport(dir / "mem_leaks.txt");
    std::string debug = platform.debug.StopCapture();

    std::string report = dir.Read("mem_leaks.txt");
    const std::string head = "Memory Leak Report for ";
    ASSERT_EQ(report.compare(0, head.size(), head), 0) << report;
    std::string body = "a.cpp(10) : Leak 1 byte\n"
                       "b.cpp(20) : Leak 2 bytes\n"
                       "c.cpp(30) : Leak 2000 bytes\n" +
                       std::string(kHyphens) + "Total Unfreed: 2003 bytes (1KB)\n\n";
    ASSERT_GE(report.size(), body.size());
    EXPECT_EQ(report.substr(report.size() - body.size()), body);
    // The header carries the date line and an empty line.
    EXPECT_EQ(report.find("\n\n"), report.size() - body.size() - 2);
    // The debug output gets the same text after an empty line.
    EXPECT_EQ(debug, "\n" + report);
}

TEST(LeakTracker, NothingWhenTheFileCannotBeMadeAndAtExitOnlyWhenAsked)
{
    plat::NullPlatform platform;
    testsupport::TempDir dir;
    LeakTracker tracker;
    tracker.AddTrack(Address(0x10), 4, "x.cpp", 1);
    platform.debug.StartCapture();
    tracker.WriteReport(dir / "missing/mem_leaks.txt");
    EXPECT_EQ(platform.debug.StopCapture(), "");

    // At exit the report goes to the current folder, only when asked for.
    // The folder the test started in is held open and made current again on
    // every path, even when it has no name any more (an earlier test's
    // removed folder).
    struct BackToFolder {
        int fd = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ~BackToFolder()
        {
            EXPECT_EQ(fchdir(fd), 0);
            close(fd);
        }
    } back;
    ASSERT_GE(back.fd, 0);
    ASSERT_EQ(chdir(dir.Path().c_str()), 0);
    {
        LeakTracker quiet;
        quiet.AddTrack(Address(0x10), 4, "x.cpp", 1);
    }
    EXPECT_FALSE(dir.Exists("mem_leaks.txt"));
    {
        LeakTracker reporting;
        reporting.AddTrack(Address(0x10), 4, "x.cpp", 1);
        reporting.SetReportAtExit(true);
    }
    EXPECT_TRUE(dir.Exists("mem_leaks.txt"));
    EXPECT_NE(dir.Read("mem_leaks.txt").find("x.cpp(1) : Leak 4 bytes\n"), std::string::npos);
}
