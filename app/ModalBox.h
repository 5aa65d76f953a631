#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <string_view>

// What the shell's modal boxes share: their text, their place and the window they give the
// activation back to.

// The CP932 text as a box shows it: every CR LF starts a new line.
QString BoxText(std::string_view cp932);

// Moves the window so that it stands in the middle of the primary screen's work area.
void CentreOnScreen(QWidget& window);

// Remembers the active window before a box opens and activates it again when the keeper goes,
// after the box has closed; the window's own focus widget takes the focus again with it.
class ActivationKeeper {
 public:
  ActivationKeeper();
  ActivationKeeper(const ActivationKeeper&) = delete;
  ActivationKeeper& operator=(const ActivationKeeper&) = delete;
  ~ActivationKeeper();

 private:
  QPointer<QWidget> window_;
};
