#include "storage/EntryArena.h"

#include <algorithm>

char* EntryArena::Allocate(std::size_t size) {
  if (size > left_) {
    if (size > nextBlock_ / 4) {
      // A large entry gets a block of its own and leaves the current block in use.
      blocks_.push_back(AllocateLarge(size));
      return blocks_.back().get();
    }
    blocks_.push_back(AllocateLarge(nextBlock_));
    next_ = blocks_.back().get();
    left_ = nextBlock_;
    nextBlock_ = std::min(nextBlock_ * 2, kLargestBlock);
  }
  char* result = next_;
  next_ += size;
  left_ -= size;
  return result;
}

void EntryArena::Reserve(std::size_t size) {
  if (size <= left_) return;
  blocks_.push_back(AllocateLarge(size));
  next_ = blocks_.back().get();
  left_ = size;
}

void EntryArena::Shrink(char* latest, std::size_t allocated, std::size_t used) {
  if (latest + allocated == next_) {
    next_ -= allocated - used;
    left_ += allocated - used;
  }
}
