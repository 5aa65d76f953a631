#include "storage/EntryArena.h"

char* EntryArena::Allocate(std::size_t size) {
  if (size > left_) {
    if (size > kBlockSize / 4) {
      // A large entry gets a block of its own and leaves the current block in use.
      blocks_.push_back(std::make_unique_for_overwrite<char[]>(size));
      return blocks_.back().get();
    }
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(kBlockSize));
    next_ = blocks_.back().get();
    left_ = kBlockSize;
  }
  char* result = next_;
  next_ += size;
  left_ -= size;
  return result;
}

void EntryArena::Shrink(char* latest, std::size_t allocated, std::size_t used) {
  if (latest + allocated == next_) {
    next_ -= allocated - used;
    left_ += allocated - used;
  }
}
