#pragma once
// The least disturbed time per iteration of each benchmark (the machine may
// be shared), for the goal ratios a benchmark program prints at its end.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

class GoalReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration)
                continue;
            Keep(best_[run.run_name.str()], run.GetAdjustedRealTime());
            Keep(bestCpu_[run.run_name.str()], run.GetAdjustedCPUTime());
        }
    }
    // The best time of a over the best time of b; 0 when one is missing.
    double Ratio(const std::string& a, const std::string& b) const { return RatioIn(best_, a, b); }
    // The same with the processor time of the benchmark's own thread, which
    // other programs on a busy machine disturb less.
    double CpuRatio(const std::string& a, const std::string& b) const { return RatioIn(bestCpu_, a, b); }

private:
    static void Keep(double& best, double t) { best = best == 0.0 ? t : std::min(best, t); }
    static double RatioIn(const std::map<std::string, double>& times, const std::string& a, const std::string& b)
    {
        auto x = times.find(a), y = times.find(b);
        return x == times.end() || y == times.end() || y->second == 0.0 ? 0.0 : x->second / y->second;
    }
    std::map<std::string, double> best_;
    std::map<std::string, double> bestCpu_;
};
