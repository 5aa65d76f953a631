#include "platform/CodePage.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace cp932 {
namespace {

constexpr unsigned char Folded(unsigned char b) {
  return b >= 'A' && b <= 'Z' ? static_cast<unsigned char>(b - 'A' + 'a') : b;
}

// One conversion descriptor per direction and thread: opening one is costly, and a
// descriptor carries state, so threads must not share it.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      std::fprintf(stderr, "Tarnwick: the C library cannot convert %s to %s\n", from, to);
      std::abort();
    }
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  ~Converter() { iconv_close(cd_); }

  std::optional<std::string> Convert(std::string_view input) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string output(input.size() + 16, '\0');
    std::size_t used = 0;
    // iconv never writes through its input pointer; it only takes a non-const one.
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    // Both code sets are stateless, so no closing shift sequence is ever due.
    while (inLeft > 0) {
      char* out = output.data() + used;
      std::size_t outLeft = output.size() - used;
      const std::size_t result = iconv(cd_, &in, &inLeft, &out, &outLeft);
      used = static_cast<std::size_t>(out - output.data());
      if (result == static_cast<std::size_t>(-1)) {
        if (errno != E2BIG) return std::nullopt;
        output.resize(output.size() * 2);
      }
    }
    output.resize(used);
    return output;
  }

 private:
  iconv_t cd_;
};

}  // namespace

bool IsTrailByteAt(std::string_view text, std::size_t pos) {
  std::size_t start = 0;
  while (start < pos && start < text.size()) {
    const std::size_t end = start + CharLength(text, start);
    if (end > pos) return true;
    start = end;
  }
  return false;
}

std::string_view CutToWidth(std::string_view text, std::size_t width) {
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t next = end + CharLength(text, end);
    if (next > width) break;
    end = next;
  }
  return text.substr(0, end);
}

std::string ToLower(std::string_view text) {
  std::string result(text);
  for (std::size_t pos = 0; pos < result.size(); pos += CharLength(result, pos)) {
    if (CharLength(result, pos) == 1) result[pos] = static_cast<char>(Folded(result[pos]));
  }
  return result;
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

int CompareText(std::string_view a, std::string_view b) {
  // While the folded bytes agree, characters start at the same offsets in both texts (a lead
  // byte is never folded), so the character lengths of `a` serve for `b` as well.
  bool trail = false;
  for (std::size_t pos = 0; pos < a.size() && pos < b.size(); ++pos) {
    const bool single = !trail && CharLength(a, pos) == 1;
    const auto x = static_cast<unsigned char>(a[pos]);
    const auto y = static_cast<unsigned char>(b[pos]);
    const unsigned char foldedX = single ? Folded(x) : x;
    const unsigned char foldedY = single ? Folded(y) : y;
    if (foldedX != foldedY) return foldedX < foldedY ? -1 : 1;
    trail = !trail && !single;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::optional<std::string> ToUtf8(std::string_view text) {
  thread_local Converter decoder("UTF-8", "CP932");
  return decoder.Convert(text);
}

std::optional<std::string> FromUtf8(std::string_view utf8) {
  thread_local Converter encoder("CP932", "UTF-8");
  auto text = encoder.Convert(utf8);
  // The C library maps a few characters one way only (U+00A5 to 0x5C, U+301C to 0x8160, the
  // language tags to nothing); such text has no CP932 form of its own.
  if (!text || ToUtf8(*text) != utf8) return std::nullopt;
  return text;
}

}  // namespace cp932
