#pragma once

#include <cstddef>
#include <vector>

#include "platform/LargeMemory.h"

// Holds the bytes of every stored entry version in large blocks, so that a catch log of a
// million entries costs a few hundred allocations rather than millions. Blocks start small,
// for the catch log of a few dozen entries, and double up to a few megabytes. Versions are
// never moved or freed one by one; the arena goes with its table.
class EntryArena {
 public:
  EntryArena() = default;
  EntryArena(EntryArena&&) noexcept = default;
  EntryArena& operator=(EntryArena&&) noexcept = default;

  // `size` bytes that stay where they are until the arena goes.
  char* Allocate(std::size_t size);
  // Makes room for about `size` bytes of entries in one block, as a reader that knows how
  // much is coming does; memory not written to is not taken from the system.
  void Reserve(std::size_t size);
  // Hands back the unused end of the latest allocation, which was `allocated` bytes long.
  void Shrink(char* latest, std::size_t allocated, std::size_t used);

 private:
  static constexpr std::size_t kFirstBlock = 16 << 10;
  static constexpr std::size_t kLargestBlock = 4 << 20;
  std::vector<LargeMemory> blocks_;
  std::size_t nextBlock_ = kFirstBlock;
  char* next_ = nullptr;
  std::size_t left_ = 0;
};
