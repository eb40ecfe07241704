#pragma once

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace contado {

// A benchmark and the one it is measured against: the pair's goal is stated as their ratio.
struct TBenchPair {
    std::string Measured;
    std::string Against;
    std::string Label;
};

// The console table as ever, and the mean real time of each benchmark noted by its name without
// the iteration count ("EditorOpenLast/1" for "EditorOpenLast/1/iterations:3").
class TRatioReporter : public benchmark::ConsoleReporter {
  public:
    // Coloured on a terminal only, as the library's own table is.
    TRatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) != 0 ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (!run.error_occurred && run.run_type == Run::RT_Iteration && run.iterations > 0) {
                seconds_[Key(run.benchmark_name())] = run.real_accumulated_time / static_cast<double>(run.iterations);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // One line per pair whose two benchmarks both ran.
    void PrintRatios(const std::vector<TBenchPair>& pairs) const {
        std::printf("\n%-58s %8s\n", "pair (measured / against)", "ratio");
        for (const TBenchPair& pair : pairs) {
            const auto measured = seconds_.find(pair.Measured);
            const auto against = seconds_.find(pair.Against);
            if (measured != seconds_.end() && against != seconds_.end() && against->second > 0) {
                std::printf("%-58s %7.2fx\n", pair.Label.c_str(), measured->second / against->second);
            }
        }
    }

  private:
    static std::string Key(const std::string& name) {
        const std::size_t iterations = name.find("/iterations:");
        return iterations == std::string::npos ? name : name.substr(0, iterations);
    }

    std::map<std::string, double> seconds_;
};

// Runs the benchmarks asked for, then prints the pairs' ratios under their table.
inline void RunWithRatios(const std::vector<TBenchPair>& pairs) {
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios(pairs);
}

}  // namespace contado
