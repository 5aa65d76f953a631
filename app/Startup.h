#pragma once

#include <functional>
#include <memory>

class TfrmPicNameEdit;
class TfrmTarnwick;
class TfrmZoomUpPic;

// The three windows of a run, in the order they are created.
struct Windows {
  Windows();
  ~Windows();
  Windows(Windows&&) noexcept;
  std::unique_ptr<TfrmTarnwick> catchLog;
  std::unique_ptr<TfrmPicNameEdit> picNameEdit;
  std::unique_ptr<TfrmZoomUpPic> zoomUpPic;
};

// Creates the windows in their order, each reachable through its application-wide reference
// before its creation handler runs; a failure in a creation handler is reported and the
// start-up goes on. The main window is not shown yet.
Windows CreateWindows();

// The end of the run: every window hidden, then destroyed, the last created first; the catch
// log window's store is closed on the way, which saves the catch log when anything changed.
// A failed save is not the failure box's but the last-resort "Application Error" box's, and
// the exit code 1; otherwise 0.
int CloseDown(Windows windows);

// The whole run: start-up, the event loop, teardown; gives the exit code. `afterFirstPaint`,
// when given, runs once the main window has first been painted (the start-up benchmark ends
// the run there).
int RunTarnwick(int argc, char** argv, const std::function<void()>& afterFirstPaint = {});
