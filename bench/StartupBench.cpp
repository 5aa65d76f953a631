// Start-up of the application against a minimal Qt Widgets program showing one empty window,
// both on the offscreen platform, in the same run: the time from spawning the process to its
// first painted window, and to its exit when it quits right after that paint.

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/Timing.h"

extern char** environ;

namespace {

long long Now() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

struct Run {
  double firstPaint;  // seconds from the spawn
  double exit;
};

// Spawns the probe, reads the clock it prints at its first paint, waits for its exit.
Run RunProbe(const std::string& program) {
  int ends[2];
  if (pipe(ends) != 0) throw std::runtime_error("cannot make a pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, ends[0]);
  std::vector<std::string> variables{"QT_QPA_PLATFORM=offscreen"};
  for (char** variable = environ; *variable; ++variable) {
    if (std::string(*variable).rfind("QT_QPA_PLATFORM=", 0) != 0) variables.emplace_back(*variable);
  }
  std::vector<char*> environment;
  for (auto& variable : variables)
    environment.push_back(variable.data());
  environment.push_back(nullptr);
  char* arguments[] = {const_cast<char*>(program.c_str()), nullptr};

  const long long spawned = Now();
  pid_t child = 0;
  const int spawnError =
      posix_spawn(&child, program.c_str(), &actions, nullptr, arguments, environment.data());
  posix_spawn_file_actions_destroy(&actions);
  close(ends[1]);
  if (spawnError != 0) {
    close(ends[0]);
    throw std::runtime_error("cannot start " + program);
  }
  std::string printed;
  char chunk[64];
  for (ssize_t count; (count = read(ends[0], chunk, sizeof chunk)) > 0;)
    printed.append(chunk, static_cast<std::size_t>(count));
  close(ends[0]);
  int status = 0;
  waitpid(child, &status, 0);
  const long long exited = Now();
  if (!WIFEXITED(status) || printed.empty())
    throw std::runtime_error(program + " did not paint and exit");
  return {(std::stoll(printed) - spawned) / 1e9, (exited - spawned) / 1e9};
}

}  // namespace

int main(int, char** argv) {
  try {
    const std::string self = argv[0];
    const std::string folder = self.substr(0, self.rfind('/') + 1);
    const std::string ours = folder + "startup_probe";
    const std::string bare = folder + "bare_window_probe";
    constexpr int kRounds = 10;
    RunProbe(ours);  // warm the file cache for both
    RunProbe(bare);
    std::vector<double> oursPaint, barePaint, oursExit, bareExit, paintRatios, exitRatios;
    for (int round = 0; round < kRounds; ++round) {
      // The two take turns at going first.
      Run o, b;
      if (round % 2 == 0) {
        o = RunProbe(ours);
        b = RunProbe(bare);
      } else {
        b = RunProbe(bare);
        o = RunProbe(ours);
      }
      oursPaint.push_back(o.firstPaint);
      oursExit.push_back(o.exit);
      barePaint.push_back(b.firstPaint);
      bareExit.push_back(b.exit);
      paintRatios.push_back(o.firstPaint / b.firstPaint);
      exitRatios.push_back(o.exit / b.exit);
    }
    const double paintRatio = bench::Median(paintRatios);
    const double exitRatio = bench::Median(exitRatios);
    std::printf("Start-up on the offscreen platform, median of %d runs, against one empty window\n",
                kRounds);
    std::printf("%-34s %10s %10s %8s\n", "", "Tarnwick", "bare", "ratio");
    std::printf("%-34s %8.1f ms %8.1f ms %8.3f\n", "spawn to first painted window",
                bench::Median(oursPaint) * 1e3, bench::Median(barePaint) * 1e3, paintRatio);
    std::printf("%-34s %8.1f ms %8.1f ms %8.3f\n", "spawn to exit after that paint",
                bench::Median(oursExit) * 1e3, bench::Median(bareExit) * 1e3, exitRatio);
    std::printf("Targets\n  first paint: at most 1.5 x the bare window %24.3f x   %s\n", paintRatio,
                paintRatio <= 1.5 ? "met" : "MISSED");
    std::printf("  exit: at most 1.5 x the bare window %31.3f x   %s\n", exitRatio,
                exitRatio <= 1.5 ? "met" : "MISSED");
    return 0;
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "startup_bench: %s\n", failure.what());
    return 1;
  }
}
