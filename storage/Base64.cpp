#include "storage/Base64.h"

#include <array>
#include <cstdint>

namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<std::int8_t, 256> MakeDecodeTable() {
  std::array<std::int8_t, 256> table{};
  table.fill(-1);
  for (std::size_t i = 0; i < kAlphabet.size(); ++i) {
    table[static_cast<unsigned char>(kAlphabet[i])] = static_cast<std::int8_t>(i);
  }
  return table;
}
constexpr auto kDecode = MakeDecodeTable();

}  // namespace

void AppendBase64(std::string& out, std::string_view bytes) {
  std::size_t i = 0;
  const auto byte = [&](std::size_t k) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[k]));
  };
  for (; i + 3 <= bytes.size(); i += 3) {
    const std::uint32_t group = byte(i) << 16 | byte(i + 1) << 8 | byte(i + 2);
    for (int shift = 18; shift >= 0; shift -= 6)
      out.push_back(kAlphabet[(group >> shift) & 63]);
  }
  const std::size_t left = bytes.size() - i;
  if (left == 0) return;
  const std::uint32_t group = byte(i) << 16 | (left == 2 ? byte(i + 1) << 8 : 0);
  out.push_back(kAlphabet[(group >> 18) & 63]);
  out.push_back(kAlphabet[(group >> 12) & 63]);
  out.push_back(left == 2 ? kAlphabet[(group >> 6) & 63] : '=');
  out.push_back('=');
}

std::string DecodeBase64(std::string_view text) {
  std::string out;
  out.reserve(text.size() / 4 * 3);
  std::uint32_t group = 0;
  int bits = 0;
  for (const char c : text) {
    if (c == '=') break;
    const int value = kDecode[static_cast<unsigned char>(c)];
    if (value < 0) continue;
    group = (group << 6) | static_cast<std::uint32_t>(value);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out.push_back(static_cast<char>((group >> bits) & 0xFF));
    }
  }
  return out;
}
