// The storage benchmark: catch logs of three sizes, each opened, encoded and saved by the
// record store beside pugixml doing the same work. Not a test: it prints figures and targets.

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "bench/CatchLogGenerator.h"
#include "bench/PeakMemory.h"
#include "bench/Report.h"
#include "bench/ScratchFolder.h"
#include "bench/StoreMeasures.h"
#include "bench/Timing.h"
#include "platform/Failure.h"

namespace {

struct LogSize {
  int rows;
  int rounds;  // fewer for the large logs, whose rounds take seconds
};

constexpr LogSize kSizes[] = {{1000, 200}, {100000, 15}, {1000000, 9}};

int RunBenchmark() {
  const bench::ScratchFolder folder;
  std::vector<bench::LogFigures> logs;
  for (const auto& size : kSizes) {
    const std::string path = folder.Path("catch" + std::to_string(size.rows) + ".xml");
    std::fprintf(stderr, "storage_bench: %d rows...\n", size.rows);
    const double madeIn = bench::TimeOf([&] { bench::WriteCatchLog(path, size.rows); });
    logs.push_back(bench::MeasureCatchLog(path, size.rows, size.rounds));
    logs.back().madeIn = madeIn;
  }
  bench::PrintReport(logs);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 3 && argv[1] == bench::kOpenPeakArgument) {
      return bench::PrintOpenPeakGrowth(argv[2]);
    }
    return RunBenchmark();
  } catch (const Failure& failure) {
    std::fprintf(stderr, "storage_bench: %s (code %d)\n", failure.Message().c_str(),
                 failure.Code());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "storage_bench: %s\n", error.what());
  }
  return 1;
}
