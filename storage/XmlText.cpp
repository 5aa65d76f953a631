#include "storage/XmlText.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "platform/CodePage.h"
#include "storage/ByteScan.h"

namespace {

enum ByteClass : unsigned char { kCopy, kEscape, kLead, kDrop };

constexpr std::array<ByteClass, 256> MakeClasses() {
  std::array<ByteClass, 256> classes{};
  for (int b = 0; b < 256; ++b) {
    classes[b] = cp932::IsLeadByte(static_cast<unsigned char>(b)) ? kLead : kCopy;
  }
  for (unsigned char b : {'\t', '\n', '\r', '"', '&', '\'', '<', '>', '\\'})
    classes[b] = kEscape;
  classes[0] = kDrop;
  return classes;
}
constexpr auto kClasses = MakeClasses();

constexpr bool IsSecondByte(unsigned char b) {
  return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

std::string_view EscapeOf(unsigned char b) {
  switch (b) {
    case '\t':
      return "&#009;";
    case '\n':
      return "&#010;";
    case '\r':
      return "&#013;";
    case '"':
      return "&quot;";
    case '&':
      return "&amp;";
    case '\'':
      return "&apos;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    default:
      return "&#092;";
  }
}

// Reads "#NNN;" or "#xHH;" after an '&'; gives the byte and the length of the reference.
bool NumericReference(std::string_view rest, unsigned char& value, std::size_t& length) {
  if (rest.size() < 3 || rest[0] != '#') return false;
  const bool hex = rest[1] == 'x';
  std::size_t i = hex ? 2 : 1;
  const std::size_t first = i;
  unsigned v = 0;
  for (; i < rest.size(); ++i) {
    const char c = rest[i];
    unsigned digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (hex && c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else if (hex && c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else {
      break;
    }
    v = (v * (hex ? 16 : 10) + digit) & 0xFF;
  }
  if (i == first || i >= rest.size() || rest[i] != ';') return false;
  value = static_cast<unsigned char>(v);
  length = i + 1;
  return true;
}

bool NamedReference(std::string_view rest, char& value, std::size_t& length) {
  struct Named {
    std::string_view name;
    char value;
  };
  static constexpr Named kNamed[] = {
      {"amp;", '&'}, {"lt;", '<'}, {"gt;", '>'}, {"quot;", '"'}, {"apos;", '\''}};
  for (const auto& named : kNamed) {
    if (rest.starts_with(named.name)) {
      value = named.value;
      length = named.name.size();
      return true;
    }
  }
  return false;
}

constexpr std::array<bool, 256> MakeSpecials() {
  std::array<bool, 256> specials{};
  for (unsigned char b : {'\0', '\t', '\n', '\r', '"', '&', '\'', '<', '>', '\\'})
    specials[b] = true;
  return specials;
}
constexpr auto kSpecials = MakeSpecials();

// Whether the text holds a byte that is escaped or dropped. Text without one is copied as it
// stands, double-byte characters and all: none of their bytes is among those.
bool HasSpecialByte(std::string_view text) {
  const char* p = text.data();
  const char* const end = p + text.size();
  for (; end - p >= 16; p += 16) {
    const auto block = byte_scan::Block::Load(p);
    if (block.Positions('\0') | block.Positions('\t') | block.Positions('\n') |
        block.Positions('\r') | block.Positions('"') | block.Positions('&') |
        block.Positions('\'') | block.Positions('<') | block.Positions('>') |
        block.Positions('\\')) {
      return true;
    }
  }
  bool special = false;
  for (; p < end; ++p)
    special |= kSpecials[static_cast<unsigned char>(*p)];
  return special;
}

}  // namespace

char* EscapeTo(char* out, std::string_view text) {
  if (!HasSpecialByte(text)) return byte_scan::Copy(out, text);
  if (text.find('\0') != std::string_view::npos) {
    // Zero bytes go first, so that the characters are read as they will read back.
    std::string kept(text);
    std::erase(kept, '\0');
    return EscapeTo(out, kept);
  }
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  while (p < end) {
    const unsigned char b = *p;
    switch (kClasses[b]) {
      case kCopy:
        *out++ = static_cast<char>(b);
        ++p;
        break;
      case kLead:
        // A stray lead byte before a byte that cannot end a double-byte character stands
        // alone, so a quote or '<' after it is still escaped and the file stays readable.
        *out++ = static_cast<char>(b);
        if (p + 1 < end && IsSecondByte(p[1])) *out++ = static_cast<char>(*++p);
        ++p;
        break;
      case kEscape: {
        const auto escape = EscapeOf(b);
        out = std::copy(escape.begin(), escape.end(), out);
        ++p;
        break;
      }
      default:
        ++p;
        break;
    }
  }
  return out;
}

void AppendEscaped(std::string& out, std::string_view text) {
  const std::size_t used = out.size();
  out.resize(used + 6 * text.size());
  out.resize(static_cast<std::size_t>(EscapeTo(out.data() + used, text) - out.data()));
}

char DecodeReference(std::string_view afterAmpersand, std::size_t& length) {
  unsigned char number;
  char named;
  if (NumericReference(afterAmpersand, number, length)) return static_cast<char>(number);
  if (NamedReference(afterAmpersand, named, length)) return named;
  length = 0;
  return '&';
}

std::size_t Unescape(std::string_view raw, bool utf8, char* out) {
  char* const start = out;
  const char* p = raw.data();
  const char* const end = p + raw.size();
  while (p < end) {
    // Runs without references are copied eight bytes at a time.
    if (!utf8) {
      for (; end - p >= 8; p += 8, out += 8) {
        const std::uint64_t word = byte_scan::Load(p);
        if (byte_scan::HasByte(word, '&')) break;
        std::memcpy(out, &word, 8);
      }
      if (p == end) break;
    }
    const auto b = static_cast<unsigned char>(*p);
    if (b != '&') {
      if (utf8 && (b == 0xC2 || b == 0xC3) && p + 1 < end &&
          (static_cast<unsigned char>(p[1]) & 0xC0) == 0x80) {
        *out++ = static_cast<char>(((b & 0x1F) << 6) | (static_cast<unsigned char>(p[1]) & 0x3F));
        p += 2;
      } else {
        *out++ = static_cast<char>(b);
        ++p;
      }
      continue;
    }
    std::size_t length;
    *out++ =
        DecodeReference(std::string_view(p + 1, static_cast<std::size_t>(end - p - 1)), length);
    p += 1 + length;
  }
  return static_cast<std::size_t>(out - start);
}
