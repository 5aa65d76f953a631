#pragma once

#include <QMessageBox>
#include <QScreen>
#include <QStringList>

#include <utility>

#include "tests/support/ModalAnswer.h"

// What a test saw of a standard failure box.
struct FailureBoxSeen {
  bool isMessageBox = false;
  QString caption;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QString text;
  Qt::TextFormat format = Qt::AutoText;
  QStringList buttons;
  Qt::WindowModality modality = Qt::NonModal;
  QPoint offCentre;  // of the box from the middle of the screen's work area
};

// Records the box, then answers it with `answer`.
inline ModalAnswer::Action Record(FailureBoxSeen& seen, ModalAnswer::Action answer) {
  return [&seen, answer = std::move(answer)](QWidget& dialog) {
    auto* box = qobject_cast<QMessageBox*>(&dialog);
    seen.isMessageBox = box != nullptr;
    if (box != nullptr) {
      seen.caption = box->windowTitle();
      seen.icon = box->icon();
      seen.text = box->text();
      seen.format = box->textFormat();
      for (QAbstractButton* button : box->buttons()) {
        seen.buttons << button->text();
      }
      seen.modality = box->windowModality();
      seen.offCentre = box->frameGeometry().center() -
                       QGuiApplication::primaryScreen()->availableGeometry().center();
    }
    answer(dialog);
  };
}
