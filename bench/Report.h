#pragma once

#include <vector>

#include "bench/StoreMeasures.h"

namespace bench {

// Prints the figures of the catch logs (1,000, 100,000 and 1,000,000 rows) as tables, then
// each target beside its figure and whether it is met.
void PrintReport(const std::vector<LogFigures>& logs);

}  // namespace bench
