#pragma once

#include <cstddef>
#include <memory>
#include <vector>

// Holds the bytes of every stored entry version in large blocks, so that a catch log of a
// million entries costs a few hundred allocations rather than millions. Versions are never
// moved or freed one by one; the arena goes with its table.
class EntryArena {
 public:
  EntryArena() = default;
  EntryArena(EntryArena&&) noexcept = default;
  EntryArena& operator=(EntryArena&&) noexcept = default;

  // `size` bytes that stay where they are until the arena goes.
  char* Allocate(std::size_t size);
  // Hands back the unused end of the latest allocation, which was `allocated` bytes long.
  void Shrink(char* latest, std::size_t allocated, std::size_t used);

 private:
  static constexpr std::size_t kBlockSize = 1 << 20;
  std::vector<std::unique_ptr<char[]>> blocks_;
  char* next_ = nullptr;
  std::size_t left_ = 0;
};
