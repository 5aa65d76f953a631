#include "controls/InputMethodMode.h"

void ApplyInputMethodMode(QWidget& widget, InputMethodMode mode) {
  // Qt has no portable request for a conversion mode: an input whose input method is on is
  // where fcitx5 or IBus starts in the hiragana mode the user set up for Japanese.
  widget.setAttribute(Qt::WA_InputMethodEnabled, mode == InputMethodMode::Hiragana);
  widget.setInputMethodHints(mode == InputMethodMode::Closed ? Qt::ImhPreferLatin : Qt::ImhNone);
}
