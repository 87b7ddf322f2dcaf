#include "ratio_reporter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace zelvo::bench {
namespace {

class RatioReporter : public benchmark::ConsoleReporter {
  public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs)
            if (r.run_type == Run::RT_Iteration && !r.error_occurred)
                seconds_[r.run_name.function_name] =
                    r.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(r.time_unit);
        ConsoleReporter::ReportRuns(runs);
    }
    const std::map<std::string, double>& seconds() const { return seconds_; }

  private:
    std::map<std::string, double> seconds_;
};

}  // namespace

int runWithRatios(int argc, char** argv,
                  const std::vector<std::pair<std::string, std::string>>& pairs) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const auto& [measured, baseline] : pairs) {
        const auto m = reporter.seconds().find(measured);
        const auto b = reporter.seconds().find(baseline);
        if (m == reporter.seconds().end() || b == reporter.seconds().end() || b->second <= 0)
            continue;
        std::printf("ratio %s / %s = %.3f\n", measured.c_str(), baseline.c_str(),
                    m->second / b->second);
    }
    benchmark::Shutdown();
    return 0;
}

}  // namespace zelvo::bench
