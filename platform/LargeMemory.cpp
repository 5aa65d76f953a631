#include "platform/LargeMemory.h"

#include <sys/mman.h>

#include <array>
#include <cstdint>
#include <new>
#include <utility>

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kMappedFrom = 2 * kHugePage;

// The last mappings given back, kept for the next requests of about their size: opening a
// data file takes one for its bytes, one for its entries and two for their index, and saving
// one for the document; fresh memory costs the system a page clearing for every page. The
// system may take the kept pages back meanwhile.
class SpareMappings {
 public:
  ~SpareMappings() {
    for (const auto& spare : spares_) {
      if (spare.memory) munmap(spare.memory, spare.length);
    }
  }

  // A kept mapping of at least `length` bytes and not much more, with its length.
  std::pair<char*, std::size_t> Take(std::size_t length) {
    for (auto& spare : spares_) {
      if (spare.memory && spare.length >= length && spare.length <= 2 * length) {
        return {std::exchange(spare.memory, nullptr), spare.length};
      }
    }
    return {nullptr, 0};
  }

  void Keep(char* memory, std::size_t length) {
    madvise(memory, length, MADV_FREE);
    Spare& oldest = spares_[next_];
    if (oldest.memory) munmap(oldest.memory, oldest.length);
    oldest = {memory, length};
    next_ = (next_ + 1) % spares_.size();
  }

 private:
  struct Spare {
    char* memory = nullptr;
    std::size_t length = 0;
  };
  std::array<Spare, 4> spares_;
  std::size_t next_ = 0;
};

thread_local SpareMappings spares;

// A mapping of `length` bytes (whole huge pages) for `size` of them.
char* MapHugePages(std::size_t length, std::size_t size) {
  // Huge pages need an aligned start: map a page more and hand back the ends.
  void* mapped =
      mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = (start + kHugePage - 1) / kHugePage * kHugePage;
  if (aligned != start) munmap(mapped, aligned - start);
  const std::size_t tail = start + length + kHugePage - (aligned + length);
  if (tail != 0) munmap(reinterpret_cast<void*>(aligned + length), tail);
  auto* memory = reinterpret_cast<char*>(aligned);
  // The last, partly used page stays in small pages: only what is written there is taken.
  madvise(memory, size / kHugePage * kHugePage, MADV_HUGEPAGE);
  return memory;
}

}  // namespace

void LargeMemoryRelease::operator()(char* memory) const {
  if (mapped_ == 0) {
    delete[] memory;
  } else {
    spares.Keep(memory, mapped_);
  }
}

LargeMemory AllocateLarge(std::size_t size) {
  if (size < kMappedFrom) return LargeMemory(new char[size], LargeMemoryRelease());
  const std::size_t length = (size + kHugePage - 1) / kHugePage * kHugePage;
  if (const auto [reused, reusedLength] = spares.Take(length); reused) {
    return LargeMemory(reused, LargeMemoryRelease(reusedLength));
  }
  return LargeMemory(MapHugePages(length, size), LargeMemoryRelease(length));
}
