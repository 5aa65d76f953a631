#pragma once

#include <functional>

#include "platform/Failure.h"

// Where a failure that escapes one of our event handlers goes. Debian's Qt is built without
// unwinding tables, so a failure must never travel through Qt's frames: every handler of
// ours runs its work through Guarded, which hands the failure to the shell's reporting and
// ends that handler there. The shell sets the reporter at start-up.
namespace failure_boundary {

void SetReporter(std::function<void(const Failure&)> reporter);

// Reports a failure through the reporter (to standard error while there is none).
void Report(const Failure& failure);

template <typename Work>
void Guarded(Work&& work) {
  try {
    work();
  } catch (const Failure& failure) {
    Report(failure);
  }
}

}  // namespace failure_boundary
