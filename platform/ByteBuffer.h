#pragma once

#include <cstddef>
#include <string_view>

#include "platform/LargeMemory.h"

// A growing block of bytes that, unlike std::string, is not zero-filled before it is written:
// whole data files pass through it, and filling a hundred megabytes only to overwrite them
// costs as much as reading them.
class ByteBuffer {
 public:
  ByteBuffer() = default;
  explicit ByteBuffer(std::string_view bytes);
  ByteBuffer(ByteBuffer&&) noexcept = default;
  ByteBuffer& operator=(ByteBuffer&&) noexcept = default;

  const char* Data() const { return data_.get(); }
  char* Data() { return data_.get(); }
  std::size_t Size() const { return size_; }
  bool Empty() const { return size_ == 0; }
  std::string_view View() const { return {data_.get(), size_}; }

  void Reserve(std::size_t capacity);
  // Room for at least `count` more bytes after the end; Commit then takes as many as were
  // written there.
  char* Room(std::size_t count);
  void Commit(std::size_t count) { size_ += count; }
  void Append(std::string_view bytes);

 private:
  LargeMemory data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};
