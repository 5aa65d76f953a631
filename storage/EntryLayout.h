#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "storage/Structure.h"

// The values of one entry, field by field, as the stored bytes of each value (a date as its
// 4-byte day number, a string as its bytes); nullopt is an absent value.
using EntryValues = std::vector<std::optional<std::string>>;

// An encoded entry is the row of the binary packet form without its state byte: one status
// byte for every four fields, two bits a field (bit 0 absent; bit 1 the value is the very one
// of the version this one replaced), then the values of the present fields in field order,
// a fixed-size value as its bytes, a varying one as its length and its bytes.
class EntryLayout {
 public:
  static constexpr unsigned kAbsent = 1;
  static constexpr unsigned kShared = 2;

  explicit EntryLayout(const std::vector<Field>& fields);

  std::size_t FieldCount() const { return layouts_.size(); }
  std::size_t StatusBytes() const { return (layouts_.size() + 3) / 4; }
  const ValueLayout& Layout(std::size_t field) const { return layouts_[field]; }
  // The longest value a varying layout can hold.
  static std::size_t MaxLength(const ValueLayout& layout) {
    return layout.size >= 4 ? 0xFFFFFFFFu : (std::size_t{1} << (8 * layout.size)) - 1;
  }

  static unsigned Status(const char* entry, std::size_t field) {
    return (static_cast<unsigned char>(entry[field / 4]) >> (2 * (field % 4))) & 3;
  }
  static void SetStatus(char* entry, std::size_t field, unsigned status) {
    auto& byte = reinterpret_cast<unsigned char&>(entry[field / 4]);
    byte = static_cast<unsigned char>((byte & ~(3u << (2 * (field % 4)))) |
                                      (status << (2 * (field % 4))));
  }

  // The stored bytes of a field; nullopt when absent.
  std::optional<std::string_view> Value(const char* entry, std::size_t field) const;
  // Calls visit(field, status, value) for every field in order; value is empty when absent.
  template <typename Visit>
  void ForEach(const char* entry, Visit&& visit) const;

  // Bytes an entry takes, when its encoding is valid within `available` bytes.
  std::optional<std::size_t> CheckedSize(const char* entry, std::size_t available) const;

  EntryValues Decode(const char* entry) const;
  // `shared` marks large objects taken unchanged from a replaced version (may be empty).
  std::string Encode(const EntryValues& values, const std::vector<bool>& shared) const;

 private:
  std::size_t ValueSize(const char* at, std::size_t field) const;
  std::vector<ValueLayout> layouts_;
};

inline std::uint64_t ReadLittleEndian(const char* p, std::size_t size) {
  std::uint64_t value = 0;
  for (std::size_t i = size; i-- > 0;)
    value = (value << 8) | static_cast<unsigned char>(p[i]);
  return value;
}

inline void WriteLittleEndian(char* p, std::uint64_t value, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i, value >>= 8)
    p[i] = static_cast<char>(value & 0xFF);
}

template <typename Visit>
void EntryLayout::ForEach(const char* entry, Visit&& visit) const {
  const char* at = entry + StatusBytes();
  for (std::size_t f = 0; f < layouts_.size(); ++f) {
    const unsigned status = Status(entry, f);
    if (status & kAbsent) {
      visit(f, status, std::string_view());
      continue;
    }
    const auto& layout = layouts_[f];
    if (layout.varying) {
      const auto length = ReadLittleEndian(at, layout.size);
      visit(f, status, std::string_view(at + layout.size, length));
      at += layout.size + length;
    } else {
      visit(f, status, std::string_view(at, layout.size));
      at += layout.size;
    }
  }
}
