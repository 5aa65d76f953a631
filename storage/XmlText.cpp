#include "storage/XmlText.h"

#include <array>
#include <cstring>

#include "platform/CodePage.h"

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

}  // namespace

void AppendEscaped(std::string& out, std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  while (p < end) {
    const auto* run = p;
    while (p < end && kClasses[*p] == kCopy)
      ++p;
    out.append(reinterpret_cast<const char*>(run), static_cast<std::size_t>(p - run));
    if (p == end) break;
    switch (kClasses[*p]) {
      case kLead:
        // A stray lead byte before a byte that cannot end a double-byte character stands
        // alone, so a quote or '<' after it is still escaped and the file stays readable.
        if (p + 1 < end && IsSecondByte(p[1])) {
          out.append(reinterpret_cast<const char*>(p), 2);
          p += 2;
        } else {
          out.push_back(static_cast<char>(*p++));
        }
        break;
      case kEscape:
        out.append(EscapeOf(*p++));
        break;
      default:
        ++p;
        break;
    }
  }
}

std::size_t Unescape(std::string_view raw, bool utf8, char* out) {
  char* const start = out;
  std::size_t i = 0;
  while (i < raw.size()) {
    std::size_t next = raw.size();
    if (const void* amp = std::memchr(raw.data() + i, '&', raw.size() - i)) {
      next = static_cast<std::size_t>(static_cast<const char*>(amp) - raw.data());
    }
    if (utf8) {
      for (std::size_t j = i; j < next; ++j) {
        const auto b = static_cast<unsigned char>(raw[j]);
        const auto c = j + 1 < next ? static_cast<unsigned char>(raw[j + 1]) : 0;
        if ((b == 0xC2 || b == 0xC3) && (c & 0xC0) == 0x80) {
          *out++ = static_cast<char>(((b & 0x1F) << 6) | (c & 0x3F));
          ++j;
        } else {
          *out++ = static_cast<char>(b);
        }
      }
    } else {
      std::memcpy(out, raw.data() + i, next - i);
      out += next - i;
    }
    if (next == raw.size()) break;
    const std::string_view rest = raw.substr(next + 1);
    unsigned char number;
    char named;
    std::size_t length;
    if (NumericReference(rest, number, length)) {
      *out++ = static_cast<char>(number);
    } else if (NamedReference(rest, named, length)) {
      *out++ = named;
    } else {
      *out++ = '&';
      length = 0;
    }
    i = next + 1 + length;
  }
  return static_cast<std::size_t>(out - start);
}
