#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Code page 932 (Shift-JIS with the NEC and IBM extension rows): every text inside the
// program is a byte string in this code page.
namespace cp932 {

// 0x81-0x9F and 0xE0-0xFC.
constexpr bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Bytes taken by the character that starts at `pos`: 2 for a lead byte with a byte after it,
// otherwise 1. A lead byte at the very end stands alone.
constexpr std::size_t CharLength(std::string_view text, std::size_t pos) {
  return IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
}

// True when byte `pos` is the second byte of a double-byte character, found by stepping over
// the characters from the start of the text.
bool IsTrailByteAt(std::string_view text, std::size_t pos);

// The longest prefix of at most `width` bytes that does not split a double-byte character.
std::string_view CutToWidth(std::string_view text, std::size_t width);

// Folds A-Z to a-z; the bytes of double-byte characters are left alone, so a trail byte in
// 0x41-0x5A keeps its value.
std::string ToLower(std::string_view text);

// Comparison that ignores the letter case of A-Z and compares everything else byte for byte.
bool SameText(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);

// Conversions at the edges of the program (Qt text, file names on disk). Nothing is
// substituted: text that has no form in the other encoding gives nullopt.
std::optional<std::string> ToUtf8(std::string_view text);
std::optional<std::string> FromUtf8(std::string_view utf8);

}  // namespace cp932
