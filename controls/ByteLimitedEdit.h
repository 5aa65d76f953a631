#pragma once

#include <QLineEdit>

#include <string>
#include <string_view>

#include "controls/InputMethodMode.h"

// A one-line edit whose typed and pasted text is held to a number of CP932 bytes (0: no
// limit). Text the program puts in is shown whole, however long.
class ByteLimitedEdit : public QLineEdit {
 public:
  ByteLimitedEdit(QWidget* parent, const QFont& font, int maxBytes, InputMethodMode mode);

  // The text as CP932. Text the program put in and nobody changed comes back byte for byte,
  // even bytes that are no CP932 characters (from a damaged file).
  std::string Text() const;
  void SetText(std::string_view cp932);
  int MaxBytes() const { return maxBytes_; }

 private:
  class Limiter;
  int maxBytes_;
  std::string setBytes_;
  QString setText_;
  QString accepted_;  // the text as it stood before the change being judged
};
