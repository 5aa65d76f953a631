#include "app/ApplicationTitle.h"

#include "platform/CodePage.h"
#include "platform/FileSystem.h"

std::string ApplicationTitleOf(std::string_view executablePath) {
  // Whole characters are stepped over, so that no byte of a double-byte character is taken
  // for a delimiter or a dot.
  std::size_t nameStart = 0;
  std::size_t firstDot = std::string_view::npos;
  for (std::size_t pos = 0; pos < executablePath.size();
       pos += cp932::CharLength(executablePath, pos)) {
    if (executablePath[pos] == '/') {
      nameStart = pos + 1;
      firstDot = std::string_view::npos;
    } else if (executablePath[pos] == '.' && firstDot == std::string_view::npos) {
      firstDot = pos;
    }
  }
  const std::string_view name = executablePath.substr(
      nameStart, firstDot == std::string_view::npos ? firstDot : firstDot - nameStart);
  if (name.empty()) return {};
  const std::size_t first = cp932::CharLength(name, 0);
  return std::string(name.substr(0, first)) + cp932::ToLower(name.substr(first));
}

const std::string& ApplicationTitle() {
  static const std::string title = ApplicationTitleOf(files::ExecutablePath());
  return title;
}
