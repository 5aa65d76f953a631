#include "bench/PeakMemory.h"

#include <cstdio>
#include <stdexcept>
#include <string>

#include "bench/ChildRun.h"
#include "bench/ClosedStore.h"
#include "platform/FileSystem.h"

namespace bench {

std::size_t OpenPeakGrowth(const std::string& path) {
  return std::stoull(RunSelf(kOpenPeakArgument, path));
}

int PrintOpenPeakGrowth(const std::string& path) {
  ClosedStore store(path);
  // The code page converter is loaded once per process, not per store: load it beforehand.
  if (!files::FileExists(path)) throw std::runtime_error("no file " + path);
  const std::size_t before = StatusBytes("VmRSS:");
  store->Open();
  const std::size_t peak = StatusBytes("VmHWM:");
  std::printf("%zu\n", peak - before);
  return 0;
}

}  // namespace bench
