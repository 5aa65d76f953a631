#pragma once

#include <cstddef>
#include <cstring>
#include <type_traits>

#include "platform/LargeMemory.h"

// A growing array of plain values in large memory: a table of a million entries keeps its
// index in a few huge pages rather than in thousands of small ones.
template <typename T>
class LargeArray {
  static_assert(std::is_trivially_copyable_v<T>);

 public:
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T& operator[](std::size_t i) { return Items()[i]; }
  const T& operator[](std::size_t i) const { return Items()[i]; }
  T& back() { return Items()[size_ - 1]; }
  T* begin() { return Items(); }
  T* end() { return Items() + size_; }
  const T* begin() const { return Items(); }
  const T* end() const { return Items() + size_; }

  void reserve(std::size_t capacity) {
    if (capacity <= capacity_) return;
    LargeMemory grown = AllocateLarge(capacity * sizeof(T));
    if (size_ != 0) std::memcpy(grown.get(), memory_.get(), size_ * sizeof(T));
    memory_ = std::move(grown);
    capacity_ = capacity;
  }
  void clear() { size_ = 0; }
  void erase(T* at) {
    std::memmove(at, at + 1, static_cast<std::size_t>(end() - at - 1) * sizeof(T));
    --size_;
  }
  void push_back(const T& item) {
    if (size_ == capacity_) reserve(capacity_ < 16 ? 16 : capacity_ * 2);
    Items()[size_++] = item;
  }

 private:
  T* Items() { return reinterpret_cast<T*>(memory_.get()); }
  const T* Items() const { return reinterpret_cast<const T*>(memory_.get()); }

  LargeMemory memory_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};
