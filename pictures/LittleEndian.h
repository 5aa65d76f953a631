#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Reading the little-endian fields of picture files. The readers check the length first;
// these only assemble the bytes.
namespace little_endian {

inline std::uint8_t U8(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint8_t>(bytes[at]);
}

inline std::uint16_t U16(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint16_t>(U8(bytes, at) | U8(bytes, at + 1) << 8);
}

inline std::uint32_t U32(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint32_t>(U16(bytes, at)) | static_cast<std::uint32_t>(U16(bytes, at + 2))
                                                          << 16;
}

inline std::int16_t I16(std::string_view bytes, std::size_t at) {
  return static_cast<std::int16_t>(U16(bytes, at));
}

inline std::int32_t I32(std::string_view bytes, std::size_t at) {
  return static_cast<std::int32_t>(U32(bytes, at));
}

// True when `count` bytes from `at` lie inside `bytes`, without overflow for any values.
inline bool Holds(std::string_view bytes, std::uint64_t at, std::uint64_t count) {
  return at <= bytes.size() && count <= bytes.size() - at;
}

}  // namespace little_endian
