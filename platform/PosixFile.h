#pragma once

#include <unistd.h>

#include <optional>
#include <string>
#include <utility>

// Small holders over the system's file calls, shared by the file services.
namespace files::posix {

class UniqueFd {
 public:
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;
  ~UniqueFd() {
    if (fd_ >= 0) ::close(fd_);
  }

  int Get() const { return fd_; }
  bool IsOpen() const { return fd_ >= 0; }
  // Closes at once and tells whether it worked, which matters after writing.
  bool Close() { return ::close(std::exchange(fd_, -1)) == 0; }

 private:
  int fd_;
};

// The target of a symbolic link as stored in it; nullopt with errno set on failure.
std::optional<std::string> ReadSymbolicLink(const std::string& path);

}  // namespace files::posix
