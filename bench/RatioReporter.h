#pragma once
#include <benchmark/benchmark.h>
#include <map>
#include <string>
#include <vector>

// Keeps the best time per iteration of each benchmark over its repetitions
// (the machine is shared: the minimum is the least disturbed run), for the
// ratio tables the benchmark programs print.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration) {
                auto it = times.find(r.run_name.str());
                double t = r.GetAdjustedRealTime();
                if (it == times.end() || t < it->second)
                    times[r.run_name.str()] = t;
            }
    }
    std::map<std::string, double> times;
};
