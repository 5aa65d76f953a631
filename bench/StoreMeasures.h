#pragma once

#include <cstddef>
#include <string>

#include "bench/Timing.h"

namespace bench {

// Everything measured on one catch log; times in seconds.
struct LogFigures {
  int rows = 0;
  int rounds = 0;
  std::size_t fileBytes = 0;
  double madeIn = 0;           // generating the log through the store, its save included
  PairedTimes open;            // Open against pugixml's read, parse and walk
  double memcpy = 0;           // copying the file's bytes, already in memory
  PairedTimes encode;          // WriteXmlPacket against pugixml's save to memory
  double close = 0;            // Close after one posted change: encode, temp file, fsync, rename
  std::size_t peakGrowth = 0;  // resident memory an Open adds at its peak
};

// Measures the catch log of `rows` entries at `path` over `rounds` rounds.
LogFigures MeasureCatchLog(const std::string& path, int rows, int rounds);

}  // namespace bench
