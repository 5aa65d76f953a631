#pragma once

#include <ostream>

#include "app/MessageDialog.h"

// Results by name in test messages.
inline void PrintTo(DialogResult result, std::ostream* out) {
  switch (result) {
    case DialogResult::None:
      *out << "None";
      return;
    case DialogResult::OK:
      *out << "OK";
      return;
    case DialogResult::Dismissed:
      *out << "Dismissed";
      return;
    case DialogResult::Yes:
      *out << "Yes";
      return;
    case DialogResult::No:
      *out << "No";
      return;
  }
  *out << static_cast<int>(result);
}
