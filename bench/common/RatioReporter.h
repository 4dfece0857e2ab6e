#pragma once
// Console output plus a table of time ratios between benchmarks of the same
// run. The machine may be shared, so times are the CPU time of the measuring
// thread; each ratio is given twice, from the fastest repetition of both sides
// (the least disturbed) and from their medians.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace bench {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                times_[run.run_name.str()].push_back(run.GetAdjustedCPUTime());
    }

    // One line: "label  min  median  goal"; the goal is left out when 0, and
    // a pair that did not run says so.
    void PrintRatio(const std::string& label, const std::string& ours, const std::string& theirs,
                    double goal = 0.0) const
    {
        double min = 0.0, median = 0.0;
        if (!Ratio(ours, theirs, min, median)) {
            std::printf("%-52s not measured\n", label.c_str());
            return;
        }
        std::printf("%-52s %6.2f %6.2f", label.c_str(), min, median);
        if (goal > 0.0)
            std::printf("   goal <= %.2f%s", goal, median <= goal ? "" : "  MISSED");
        std::printf("\n");
    }

    static void PrintHeader(const char* title)
    {
        std::printf("\n%-52s %6s %6s\n", title, "min", "median");
    }

private:
    static double Median(std::vector<double> v)
    {
        std::sort(v.begin(), v.end());
        const size_t n = v.size();
        return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
    }
    bool Ratio(const std::string& a, const std::string& b, double& min, double& median) const
    {
        auto x = times_.find(a), y = times_.find(b);
        if (x == times_.end() || y == times_.end())
            return false;
        const double minB = *std::min_element(y->second.begin(), y->second.end()), medianB = Median(y->second);
        if (minB <= 0.0 || medianB <= 0.0)
            return false;
        min = *std::min_element(x->second.begin(), x->second.end()) / minB;
        median = Median(x->second) / medianB;
        return true;
    }

    std::map<std::string, std::vector<double>> times_;
};

// The main of a benchmark program: runs the benchmarks its arguments select
// through a ratio reporter, then lets printRatios write the program's table.
template <class PrintRatios>
int RunWithRatios(int argc, char** argv, PrintRatios printRatios)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printRatios(reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace bench
