#include "platform/MessageText.h"

#include <cstdio>
#include <cstdlib>
#include <optional>

#include "platform/CodePage.h"

std::string Cp932(std::string_view utf8Literal) {
  std::optional<std::string> text = cp932::FromUtf8(utf8Literal);
  if (!text) {
    std::fprintf(stderr, "Tarnwick: program text without a CP932 form: %.*s\n",
                 static_cast<int>(utf8Literal.size()), utf8Literal.data());
    std::abort();
  }
  return *std::move(text);
}

std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args) {
  std::string result;
  const std::string_view* next = args.begin();
  // '%' is never the second byte of a double-byte character, so scanning bytes finds each one.
  for (std::size_t pos = 0; pos < pattern.size(); ++pos) {
    const char kind = pos + 1 < pattern.size() && pattern[pos] == '%' ? pattern[pos + 1] : '\0';
    if (kind == 's' || kind == 'd') {
      if (next != args.end()) result += *next++;
      ++pos;
    } else if (kind == '%') {
      result += '%';
      ++pos;
    } else {
      result += pattern[pos];
    }
  }
  return result;
}
