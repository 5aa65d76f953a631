#pragma once

#include <string>

#include "platform/Failure.h"

// The message of the Failure that `call` throws, or a marker when it throws none.
template <typename Call>
std::string FailureText(Call&& call) {
  try {
    call();
  } catch (const Failure& failure) {
    return failure.Message();
  }
  return "(no failure)";
}
