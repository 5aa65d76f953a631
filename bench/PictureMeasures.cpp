#include "bench/PictureMeasures.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QWindow>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "bench/Timing.h"
#include "pictures/PictureControl.h"
#include "platform/PosixFile.h"

extern char** environ;

namespace bench {
namespace {

// A "Vm...:" line of /proc/self/status, in bytes.
std::size_t StatusBytes(std::string_view key) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with(key)) return std::stoull(line.substr(key.size())) * 1024;
  }
  throw std::runtime_error("no " + std::string(key) + " in /proc/self/status");
}

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

FirstDisplay MeasureFreshFirstDisplay(const std::string& path) {
  int ends[2];
  if (pipe(ends) != 0) throw std::runtime_error("cannot make a pipe");
  const files::posix::UniqueFd readEnd(ends[0]);
  files::posix::UniqueFd writeEnd(ends[1]);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, writeEnd.Get(), STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, readEnd.Get());
  std::string self = "/proc/self/exe", argument(kFirstDisplayArgument), file = path;
  char* argv[] = {self.data(), argument.data(), file.data(), nullptr};
  pid_t child;
  const int spawned = posix_spawn(&child, self.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) throw std::runtime_error("cannot start the first display child");
  writeEnd.Close();
  const std::string output = ReadAll(readEnd.Get());
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  FirstDisplay figures;
  std::istringstream fields(output);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
      !(fields >> figures.seconds >> figures.peak >> figures.kept)) {
    throw std::runtime_error("the first display child failed on " + path);
  }
  return figures;
}

}  // namespace

void WaitUntilExposed(QWidget& window) {
  while (window.windowHandle() == nullptr || !window.windowHandle()->isExposed()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  }
}

FirstDisplay MeasureFreshFirstDisplays(const std::string& path, int runs) {
  std::vector<double> times;
  FirstDisplay figures;
  for (int run = 0; run < runs; ++run) {
    const FirstDisplay one = MeasureFreshFirstDisplay(path);
    times.push_back(one.seconds);
    figures.peak = std::max(figures.peak, one.peak);
    figures.kept = std::max(figures.kept, one.kept);
  }
  figures.seconds = Median(times);
  return figures;
}

int PrintFirstDisplay(const std::string& path) {
  PictureControl control;
  control.resize(512, 346);
  control.SetStretch(true);
  control.SetProportional(true);
  control.SetCenter(true);
  control.show();
  bench::WaitUntilExposed(control);
  control.repaint();
  // Starts the peak afresh from the memory resident now.
  std::ofstream("/proc/self/clear_refs") << "5";
  const std::size_t before = StatusBytes("VmRSS:");
  const double seconds = TimeOf([&] {
    control.Picture().LoadFromFile(path);
    control.repaint();
  });
  const std::size_t peak = StatusBytes("VmHWM:");
  const std::size_t after = StatusBytes("VmRSS:");
  std::printf("%.6f %zu %zu\n", seconds, peak - before, after - before);
  return 0;
}

}  // namespace bench
