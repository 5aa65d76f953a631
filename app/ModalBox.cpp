#include "app/ModalBox.h"

#include <QApplication>
#include <QScreen>

#include "controls/QtText.h"

QString BoxText(std::string_view cp932) {
  return ToQt(cp932).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

void CentreOnScreen(QWidget& window) {
  QRect frame = window.frameGeometry();
  frame.moveCenter(QGuiApplication::primaryScreen()->availableGeometry().center());
  window.move(frame.topLeft());
}

ActivationKeeper::ActivationKeeper() : window_(QApplication::activeWindow()) {}

ActivationKeeper::~ActivationKeeper() {
  if (window_ && window_->isVisible()) window_->activateWindow();
}
