#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace Zelk {

// Sums the time spent in named sections, measured with the processor's
// time-stamp counter. Marking a section costs one appended sample; all the
// bookkeeping happens at Stop and is taken out of the total as overhead.
// Main thread only.
class Profiler {
public:
    // The program's profiler.
    static Profiler& Get();

    bool IsRunning() const { return mRunning; }
    // Forgets all records and pending samples; starts measuring unless keepStopped.
    void Start(bool keepStopped = false);
    void Stop();
    std::string GetReport() const;

    // Mark the begin and end of a section. The name identifies the section and
    // must outlive the profile (a constant text). Ignored while not running.
    void BeginSection(const char* name) { AddSample(name, true); }
    void EndSection(const char* name) { AddSample(name, false); }

    // Processor time-stamp ticks per second: measured once by the first Stop
    // (10 ms of busy waiting) and kept, unless set here first.
    int64_t GetCpuSpeed() const { return mCpuSpeed; }
    void SetCpuSpeed(int64_t ticksPerSecond) { mCpuSpeed = ticksPerSecond; }
    static int64_t MeasureCpuSpeed();

    // The milliseconds of the last profiled period, the overhead excluded.
    double GetTotalTime() const { return mTotalTime; }

    struct Record {
        uint64_t startStamp = 0;
        uint64_t totalTicks = 0;
        double time = 0.0;    // ms, after Stop
        double longest = 0.0; // ticks while running, ms after Stop
        int32_t depth = 0;
        int32_t calls = 0;
    };
    const std::map<std::string, Record>& GetRecords() const { return mRecords; }

private:
    struct Sample {
        const char* name;
        uint64_t stamp;
        bool begin;
    };
    void AddSample(const char* name, bool begin);
    void FlushSamples();
    void ApplySample(const Sample& sample);

    bool mRunning = false;
    uint64_t mStartStamp = 0;
    uint64_t mOverhead = 0;
    int64_t mCpuSpeed = 0;
    double mTotalTime = 0.0;
    std::vector<Sample> mSamples;
    std::map<std::string, Record> mRecords;
};

} // namespace Zelk
