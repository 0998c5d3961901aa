#pragma once

// Every benchmark here is judged against a baseline measured in the same run:
// this reporter prints the runs as usual, keeps each one's real time and then
// prints a figure as a ratio of its baseline. With --benchmark_repetitions it
// keeps each benchmark's fastest repetition, the one least disturbed by other
// work on a shared machine.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace lumo::bench {

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.iterations <= 0 || run.error_occurred || run.run_type != Run::RT_Iteration)
                continue;
            const double seconds =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            auto [kept, added] = m_seconds.emplace(run.benchmark_name(), seconds);
            if (!added)
                kept->second = std::min(kept->second, seconds);
        }
    }

    // "what  1.23x of baseline (goal <= 1.5x)"; nothing when either did not run.
    void printRatio(const char* what, const char* ours, const char* baseline,
                    const char* goal) const {
        auto a = m_seconds.find(ours);
        auto b = m_seconds.find(baseline);
        if (a != m_seconds.end() && b != m_seconds.end() && b->second > 0)
            std::printf("%-36s %.2fx of %s (goal %s)\n", what, a->second / b->second, baseline,
                        goal);
    }

private:
    std::map<std::string, double> m_seconds;
};

} // namespace lumo::bench
