#pragma once

#include <QPlainTextEdit>

#include <string>
#include <string_view>

#include "controls/InputMethodMode.h"

// A multi-line memo: lines wrap at its width, no scroll bars (it scrolls with the caret),
// Enter starts a new line and Tab moves the focus on. Typed and pasted text is held to a
// number of CP932 bytes, a line break counting two. The program's text is shown whole.
class MemoEdit : public QPlainTextEdit {
 public:
  MemoEdit(QWidget* parent, const QFont& font, int maxBytes, InputMethodMode mode);

  // Lines joined by CR LF; text the program put in and nobody changed comes back as it was.
  std::string Text() const;
  void SetText(std::string_view cp932);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  // Bytes the inserted text may take in place of the selection.
  std::size_t Room() const;

  int maxBytes_;
  std::string setBytes_;
  QString setText_;
};
