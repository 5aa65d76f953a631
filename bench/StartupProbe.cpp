// The application's run, ended right after the main window's first paint: it prints the
// monotonic clock at that paint, then closes down as the application does.

#include <QApplication>

#include <cstdio>
#include <ctime>

#include "app/Startup.h"

int main(int argc, char** argv) {
  return RunTarnwick(argc, argv, [] {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    std::fflush(stdout);
    QApplication::quit();
  });
}
