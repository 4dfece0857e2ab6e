#pragma once
#include "framework/app/CriticalSection.h"

#include <atomic>
#include <cstdint>
#include <map>
#include <string>

namespace Zelk {

// A table of live allocations entered by whoever tracks them, which can write
// a leak report ("mem_leaks.txt") at the end of the run. Every change of the
// table and the report take the tracker's lock.
class LeakTracker {
public:
    struct Entry {
        int32_t size = 0;
        std::string file;
        int32_t line = 0;
    };

    LeakTracker();
    // Writes the report when asked to at exit.
    ~LeakTracker();
    LeakTracker(const LeakTracker&) = delete;
    LeakTracker& operator=(const LeakTracker&) = delete;

    // The program's tracker.
    static LeakTracker& Get();

    void AddTrack(const void* address, int32_t size, const char* file, int32_t line);
    void RemoveTrack(const void* address);
    size_t Count();

    void SetReportAtExit(bool report) { mReportAtExit = report; }
    // Writes the report to the file (the current folder's "mem_leaks.txt" by
    // default) and to the debug output. Nothing when the file cannot be made.
    void WriteReport(const std::string& path = "mem_leaks.txt");

    CriticalSection& GetLock() { return mLock; }

private:
    CriticalSection mLock;
    std::map<uintptr_t, Entry> mEntries;
    std::atomic<bool> mActive{false};
    bool mReportAtExit = false;
};

} // namespace Zelk
