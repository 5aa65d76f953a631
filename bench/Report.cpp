#include "bench/Report.h"

#include <cstdio>
#include <stdexcept>
#include <string>

namespace bench {
namespace {

constexpr double kMillion = 1e6;

std::string Grouped(unsigned long long n) {
  std::string digits = std::to_string(n);
  for (auto at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
    digits.insert(static_cast<std::size_t>(at), ",");
  return digits;
}

double Ms(double seconds) {
  return seconds * 1e3;
}

const LogFigures& WithRows(const std::vector<LogFigures>& logs, int rows) {
  for (const auto& log : logs) {
    if (log.rows == rows) return log;
  }
  throw std::logic_error("no catch log of " + Grouped(static_cast<unsigned>(rows)) + " rows");
}

void PrintLogs(const std::vector<LogFigures>& logs) {
  std::printf("Catch logs, made through the store and saved as XML\n");
  std::printf("%12s %14s %10s %10s\n", "rows", "file bytes", "bytes/row", "made in s");
  for (const auto& log : logs) {
    std::printf("%12s %14s %10.1f %10.2f\n", Grouped(static_cast<unsigned>(log.rows)).c_str(),
                Grouped(log.fileBytes).c_str(), static_cast<double>(log.fileBytes) / log.rows,
                log.madeIn);
  }
}

void PrintOpen(const std::vector<LogFigures>& logs) {
  std::printf(
      "\nOpen: read the file and build the store, against pugixml reading the file,\n"
      "parsing it in place and reading every ROW attribute; memcpy of the bytes as limit\n");
  std::printf("%12s %7s %11s %11s %7s %11s %10s\n", "rows", "rounds", "Open ms", "pugixml ms",
              "ratio", "memcpy ms", "Open MB/s");
  for (const auto& log : logs) {
    std::printf("%12s %7d %11.3f %11.3f %7.3f %11.3f %10.0f\n",
                Grouped(static_cast<unsigned>(log.rows)).c_str(), log.rounds, Ms(log.open.ours),
                Ms(log.open.reference), log.open.ratio, Ms(log.memcpy),
                static_cast<double>(log.fileBytes) / kMillion / log.open.ours);
  }
}

void PrintSave(const std::vector<LogFigures>& logs) {
  std::printf(
      "\nSave: the encoding to memory against pugixml's unformatted save to memory, and\n"
      "Close after one posted change (encode, temp file, fsync, rename)\n");
  std::printf("%12s %7s %11s %11s %7s %11s\n", "rows", "rounds", "encode ms", "pugixml ms", "ratio",
              "Close ms");
  for (const auto& log : logs) {
    std::printf("%12s %7d %11.3f %11.3f %7.3f %11.3f\n",
                Grouped(static_cast<unsigned>(log.rows)).c_str(), log.rounds, Ms(log.encode.ours),
                Ms(log.encode.reference), log.encode.ratio, Ms(log.close));
  }
}

double PeakMultiple(const LogFigures& log) {
  return static_cast<double>(log.peakGrowth) / static_cast<double>(log.fileBytes);
}

void PrintMemory(const std::vector<LogFigures>& logs) {
  std::printf(
      "\nPeak memory of an open store, in a fresh process: VmHWM after Open less VmRSS\n"
      "before, the code page converter being loaded already (MB = 1,000,000 bytes)\n");
  std::printf("%12s %10s %10s %8s\n", "rows", "file MB", "peak MB", "x file");
  for (const auto& log : logs) {
    std::printf("%12s %10.2f %10.2f %8.2f\n", Grouped(static_cast<unsigned>(log.rows)).c_str(),
                static_cast<double>(log.fileBytes) / kMillion,
                static_cast<double>(log.peakGrowth) / kMillion, PeakMultiple(log));
  }
}

class TargetList {
 public:
  void Add(const std::string& target, double figure, const char* unit, double limit) {
    const bool met = figure <= limit;
    met_ += met;
    ++count_;
    std::printf("  %-58s %9.3f %-3s %s\n", target.c_str(), figure, unit, met ? "met" : "MISSED");
  }
  void PrintSummary() const { std::printf("%d of %d targets met\n", met_, count_); }

 private:
  int met_ = 0;
  int count_ = 0;
};

std::string RowsText(const LogFigures& log) {
  return Grouped(static_cast<unsigned>(log.rows)) + " rows";
}

void PrintTargets(const std::vector<LogFigures>& logs) {
  std::printf("\nTargets\n");
  TargetList targets;
  const LogFigures& small = WithRows(logs, 1000);
  const LogFigures& medium = WithRows(logs, 100000);
  const LogFigures& large = WithRows(logs, 1000000);
  for (const LogFigures* log : {&medium, &large}) {
    targets.Add("Open, " + RowsText(*log) + ": at most 0.75 x pugixml", log->open.ratio, "x", 0.75);
  }
  targets.Add("Open, " + RowsText(small) + ": at most 0.5 ms", Ms(small.open.ours), "ms", 0.5);
  targets.Add("Open, " + RowsText(large) + ": within 11 x the Open of " + RowsText(medium),
              large.open.ours / medium.open.ours, "x", 11);
  for (const auto& log : logs) {
    targets.Add("Encoding, " + RowsText(log) + ": at most 1.0 x pugixml's save", log.encode.ratio,
                "x", 1.0);
  }
  for (const auto& log : logs) {
    targets.Add("Peak memory, " + RowsText(log) + ": at most 2.5 x the file", PeakMultiple(log),
                "x", 2.5);
  }
  targets.PrintSummary();
}

}  // namespace

void PrintReport(const std::vector<LogFigures>& logs) {
  PrintLogs(logs);
  PrintOpen(logs);
  PrintSave(logs);
  PrintMemory(logs);
  PrintTargets(logs);
}

}  // namespace bench
