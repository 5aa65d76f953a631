#include "platform/PosixFile.h"

namespace files::posix {

std::optional<std::string> ReadSymbolicLink(const std::string& path) {
  // Links under /proc report no size, so the buffer grows until the target fits.
  std::string target(256, '\0');
  for (;;) {
    const ssize_t length = readlink(path.c_str(), target.data(), target.size());
    if (length < 0) return std::nullopt;
    if (static_cast<std::size_t>(length) < target.size()) {
      target.resize(static_cast<std::size_t>(length));
      return target;
    }
    target.resize(target.size() * 2);
  }
}

}  // namespace files::posix
