#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class QWidget;

namespace bench {

// The hidden argument that makes the picture benchmark a child measuring one picture.
inline constexpr std::string_view kFirstDisplayArgument = "--first-display";

struct FirstDisplay {
  double seconds = 0;    // load until the first painted frame, in a fresh process
  std::size_t peak = 0;  // bytes the peak resident memory rose above what it was before
  std::size_t kept = 0;  // bytes still resident for the shown picture afterwards
};

// Waits until the platform has exposed the window: a repaint before that paints nothing.
void WaitUntilExposed(QWidget& window);

// Runs `runs` fresh copies of this program, each showing the JPEG at `path` once in fit
// mode; gives the median time and the largest memory figures.
FirstDisplay MeasureFreshFirstDisplays(const std::string& path, int runs);

// A small photograph of the same kind beside the one at `path`: the child shows it first, so
// that code and allocator pages touched once per process do not count as the picture's memory.
std::string WarmUpPath(const std::string& path);

// The child's side: shows the picture, prints the figures on stdout; gives the exit status.
int PrintFirstDisplay(const std::string& path);

}  // namespace bench
