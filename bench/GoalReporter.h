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
            const double t = run.GetAdjustedRealTime();
            double& best = best_[run.run_name.str()];
            best = best == 0.0 ? t : std::min(best, t);
        }
    }
    // The best time of a over the best time of b; 0 when one is missing.
    double Ratio(const std::string& a, const std::string& b) const
    {
        auto x = best_.find(a), y = best_.find(b);
        return x == best_.end() || y == best_.end() || y->second == 0.0 ? 0.0 : x->second / y->second;
    }

private:
    std::map<std::string, double> best_;
};
