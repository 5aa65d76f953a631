#include "controls/FailureBoundary.h"

#include <cstdio>
#include <utility>

namespace failure_boundary {
namespace {

std::function<void(const Failure&)>& Reporter() {
  static std::function<void(const Failure&)> reporter;
  return reporter;
}

}  // namespace

void SetReporter(std::function<void(const Failure&)> reporter) {
  Reporter() = std::move(reporter);
}

void Report(const Failure& failure) {
  if (Reporter()) {
    Reporter()(failure);
  } else {
    std::fprintf(stderr, "Tarnwick: %s\n", failure.Message().c_str());
  }
}

}  // namespace failure_boundary
