#pragma once
// Console output as usual, plus each benchmark's fastest repetition kept for a summary printed
// after the runs: on a shared machine that is the figure least disturbed by other work.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace animark {

// The "min" statistic for ComputeStatistics.
inline double Fastest(const std::vector<double>& times) {
  return *std::min_element(times.begin(), times.end());
}

class FastestRunReporter : public benchmark::ConsoleReporter {
 public:
  enum class Clock { Processor, Wall };
  explicit FastestRunReporter(Clock clock) : clock_(clock) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "min") continue;
      milliseconds[run.run_name.function_name] =
          clock_ == Clock::Processor ? run.GetAdjustedCPUTime() : run.GetAdjustedRealTime();
    }
  }

  // By benchmark name, in the benchmark's time unit.
  std::map<std::string, double> milliseconds;

 private:
  Clock clock_;
};

}  // namespace animark
