#include "platform/ByteBuffer.h"

#include <algorithm>
#include <cstring>

ByteBuffer::ByteBuffer(std::string_view bytes) {
  Append(bytes);
}

void ByteBuffer::Reserve(std::size_t capacity) {
  if (capacity <= capacity_) return;
  auto grown = AllocateLarge(capacity);
  if (size_ != 0) std::memcpy(grown.get(), data_.get(), size_);
  data_ = std::move(grown);
  capacity_ = capacity;
}

char* ByteBuffer::Room(std::size_t count) {
  if (capacity_ - size_ < count) Reserve(std::max(size_ + count, capacity_ * 2));
  return data_.get() + size_;
}

void ByteBuffer::Append(std::string_view bytes) {
  if (bytes.empty()) return;
  std::memcpy(Room(bytes.size()), bytes.data(), bytes.size());
  Commit(bytes.size());
}
