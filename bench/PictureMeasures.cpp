#include "bench/PictureMeasures.h"

#include <QApplication>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "bench/ChildRun.h"
#include "bench/Timing.h"
#include "pictures/PictureControl.h"

namespace bench {
namespace {

FirstDisplay MeasureFreshFirstDisplay(const std::string& path) {
  FirstDisplay figures;
  std::istringstream fields(RunSelf(kFirstDisplayArgument, path));
  if (!(fields >> figures.seconds >> figures.peak >> figures.kept)) {
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

std::string WarmUpPath(const std::string& path) {
  return path + ".warm-up.jpg";
}

int PrintFirstDisplay(const std::string& path) {
  PictureControl control;
  control.resize(512, 346);
  control.SetStretch(true);
  control.SetProportional(true);
  control.SetCenter(true);
  control.show();
  bench::WaitUntilExposed(control);
  control.Picture().LoadFromFile(WarmUpPath(path));
  control.repaint();
  control.Picture().Clear();
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
