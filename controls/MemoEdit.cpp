#include "controls/MemoEdit.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextDocumentFragment>

#include "controls/ByteLimit.h"
#include "controls/FailureBoundary.h"
#include "controls/QtText.h"

namespace {

// Qt keeps a line break as U+2029 in the document's plain text; the program has CR LF.
QString PlainText(const QPlainTextEdit& edit) {
  return edit.document()->toPlainText();
}

}  // namespace

MemoEdit::MemoEdit(QWidget* parent, const QFont& font, int maxBytes, InputMethodMode mode)
    : QPlainTextEdit(parent), maxBytes_(maxBytes) {
  setFont(font);
  setTabChangesFocus(true);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  ApplyInputMethodMode(*this, mode);
}

std::string MemoEdit::Text() const {
  const QString text = PlainText(*this);
  if (text == setText_) return setBytes_;
  QString lines = text;
  lines.replace(QChar('\n'), QStringLiteral("\r\n"));
  return FromQt(lines).value_or(std::string());
}

void MemoEdit::SetText(std::string_view cp932) {
  QString text = ToQt(cp932);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  setBytes_ = std::string(cp932);
  setText_ = text;
  setPlainText(text);
}

std::size_t MemoEdit::Room() const {
  const auto all = byte_limit::BytesOf(PlainText(*this)).value_or(0);
  const auto selected = byte_limit::BytesOf(textCursor().selection().toPlainText()).value_or(0);
  const auto limit = static_cast<std::size_t>(maxBytes_);
  const auto kept = all - selected;
  return kept < limit ? limit - kept : 0;
}

void MemoEdit::keyPressEvent(QKeyEvent* event) {
  failure_boundary::Guarded([&] {
    const bool lineBreak = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QString typed = lineBreak ? QStringLiteral("\n") : event->text();
    const bool inserts = lineBreak || (!typed.isEmpty() && typed[0].isPrint());
    if (maxBytes_ != 0 && inserts && byte_limit::FittingPart(typed, Room()).size() < typed.size()) {
      event->accept();  // the character does not fit: nothing happens
      return;
    }
    if (lineBreak) {
      // Shift+Enter and the keypad's Enter break the line the same way.
      textCursor().insertText(QStringLiteral("\n"));
      ensureCursorVisible();
      event->accept();
      return;
    }
    QPlainTextEdit::keyPressEvent(event);
  });
}

void MemoEdit::inputMethodEvent(QInputMethodEvent* event) {
  failure_boundary::Guarded([&] {
    if (maxBytes_ != 0 && !event->commitString().isEmpty()) {
      const QString fitting = byte_limit::FittingPart(event->commitString(), Room());
      if (fitting.size() < event->commitString().size()) {
        QInputMethodEvent cut(event->preeditString(), event->attributes());
        cut.setCommitString(fitting, event->replacementStart(), event->replacementLength());
        QPlainTextEdit::inputMethodEvent(&cut);
        return;
      }
    }
    QPlainTextEdit::inputMethodEvent(event);
  });
}

void MemoEdit::insertFromMimeData(const QMimeData* source) {
  failure_boundary::Guarded([&] {
    if (!source->hasText()) return;
    QString text = source->text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (!byte_limit::BytesOf(text)) return;  // a character CP932 cannot write
    if (maxBytes_ != 0) text = byte_limit::FittingPart(text, Room());
    textCursor().insertText(text);
  });
}
