// Runs the registered benchmarks and then prints the ratio of each named
// benchmark's time to its baseline, measured side by side in the same run.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace zelvo::bench {

// pairs: (measured benchmark, baseline benchmark) by name.
int runWithRatios(int argc, char** argv,
                  const std::vector<std::pair<std::string, std::string>>& pairs);

}  // namespace zelvo::bench
