#include "framework/app/LeakTracker.h"
#include "framework/app/StringUtil.h"
#include "platform/debug/DebugSink.h"

#include <cstdio>
#include <ctime>

namespace Zelk {

LeakTracker::LeakTracker() { mActive = true; }

LeakTracker::~LeakTracker()
{
    if (mReportAtExit)
        WriteReport();
    mActive = false;
}

LeakTracker& LeakTracker::Get()
{
    static LeakTracker tracker;
    return tracker;
}

void LeakTracker::AddTrack(const void* address, int32_t size, const char* file, int32_t line)
{
    CritSectGuard guard(mLock);
    mEntries[reinterpret_cast<uintptr_t>(address)] = Entry{size, file ? file : "", line};
}

void LeakTracker::RemoveTrack(const void* address)
{
    CritSectGuard guard(mLock);
    mEntries.erase(reinterpret_cast<uintptr_t>(address));
}

size_t LeakTracker::Count()
{
    CritSectGuard guard(mLock);
    return mEntries.size();
}

void LeakTracker::WriteReport(const std::string& path)
{
    if (!mActive)
        return;
    CritSectGuard guard(mLock);
    FILE* f = fopen(path.c_str(), "w");
    if (!f)
        return;

    auto both = [f](const std::string& text) {
        fputs(text.c_str(), f);
        plat::OutputDebugString(text);
    };

    time_t now = time(nullptr);
    tm local;
    char stamp[64] = "";
    if (localtime_r(&now, &local))
        asctime_r(&local, stamp);
    std::string header = StrFormat("Memory Leak Report for %s\n", stamp);
    fputs(header.c_str(), f);
    plat::OutputDebugString("\n" + header);

    int64_t total = 0;
    for (const auto& [address, e] : mEntries) {
        both(StrFormat("%s(%d) : Leak %d byte%s\n", e.file.c_str(), e.line, e.size, e.size < 2 ? "" : "s"));
        total += e.size;
    }
    both("-----------------------------------------------------------\n");
    both(StrFormat("Total Unfreed: %lld bytes (%lldKB)\n\n", (long long)total, (long long)(total / 1024)));
    fclose(f);
}

} // namespace Zelk
