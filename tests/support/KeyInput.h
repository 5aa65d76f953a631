#pragma once

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QString>
#include <QWidget>

// Real key events for text of any script: one key press and release per character, the
// character as the event's text (QTest's own helpers pass text through Latin-1).
inline void TypeText(QWidget& widget, const QString& text) {
  for (const QChar character : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
    QApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(character));
    QApplication::sendEvent(&widget, &release);
  }
}

// What an input method sends when the user confirms a conversion.
inline void CommitText(QWidget& widget, const QString& text) {
  QInputMethodEvent commit;
  commit.setCommitString(text);
  QApplication::sendEvent(&widget, &commit);
}
