#pragma once

#include <cstddef>
#include <memory>

// Memory for big buffers (whole data files, pixel images). Blocks of several megabytes are
// mapped straight from the system and marked for huge pages: on this kind of machine a page
// fault costs microseconds, and a hundred-megabyte buffer would take tens of thousands of
// them. Smaller blocks come from the heap. The bytes are not initialised.
class LargeMemoryRelease {
 public:
  LargeMemoryRelease() = default;
  explicit LargeMemoryRelease(std::size_t mapped) : mapped_(mapped) {}
  void operator()(char* memory) const;

 private:
  std::size_t mapped_ = 0;  // 0 for heap memory
};

using LargeMemory = std::unique_ptr<char[], LargeMemoryRelease>;

LargeMemory AllocateLarge(std::size_t size);
