#pragma once

#include <QWidget>

// How an input takes the input method: closed (direct half-width input), or open in its
// hiragana mode as far as the desktop's input method lets a program ask for it.
enum class InputMethodMode { Closed, Hiragana };

void ApplyInputMethodMode(QWidget& widget, InputMethodMode mode);
