#include "bench/ChildRun.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <stdexcept>

#include "platform/PosixFile.h"

extern char** environ;

namespace bench {
namespace {

std::string ReadAll(int fd) {
  std::string text;
  char chunk[256];
  for (;;) {
    const ssize_t count = read(fd, chunk, sizeof chunk);
    if (count == 0) return text;
    if (count < 0) {
      if (errno == EINTR) continue;
      throw std::runtime_error("cannot read the child's output");
    }
    text.append(chunk, static_cast<std::size_t>(count));
  }
}

class SpawnActions {
 public:
  SpawnActions() { posix_spawn_file_actions_init(&actions_); }
  SpawnActions(const SpawnActions&) = delete;
  SpawnActions& operator=(const SpawnActions&) = delete;
  ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
  posix_spawn_file_actions_t* Get() { return &actions_; }

 private:
  posix_spawn_file_actions_t actions_;
};

}  // namespace

std::size_t StatusBytes(std::string_view key) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with(key)) return std::stoull(line.substr(key.size())) * 1024;
  }
  throw std::runtime_error("no " + std::string(key) + " in /proc/self/status");
}

std::string RunSelf(std::string_view argument, const std::string& path) {
  int ends[2];
  if (pipe(ends) != 0) throw std::runtime_error("cannot make a pipe");
  const files::posix::UniqueFd readEnd(ends[0]);
  files::posix::UniqueFd writeEnd(ends[1]);
  SpawnActions actions;
  posix_spawn_file_actions_adddup2(actions.Get(), writeEnd.Get(), STDOUT_FILENO);
  posix_spawn_file_actions_addclose(actions.Get(), readEnd.Get());
  std::string self = "/proc/self/exe", flag(argument), file = path;
  char* argv[] = {self.data(), flag.data(), file.data(), nullptr};
  pid_t child;
  if (posix_spawn(&child, self.c_str(), actions.Get(), nullptr, argv, environ) != 0) {
    throw std::runtime_error("cannot start a child for " + flag);
  }
  writeEnd.Close();
  const std::string output = ReadAll(readEnd.Get());
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || output.empty()) {
    throw std::runtime_error("the child for " + flag + " failed on " + path);
  }
  return output;
}

}  // namespace bench
