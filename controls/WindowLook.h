#pragma once

#include <QWidget>

#include <string_view>

enum class WindowBorder {
  Fixed,     // not resizable: system menu, minimize and close buttons only
  Sizeable,  // resizable, with minimize and maximize buttons as well
};

// What every window of the program shares: its caption (CP932), the window font
// ("ＭＳ Ｐゴシック" 12), window-text on the button face, and its border.
void ApplyWindowLook(QWidget& window, std::string_view caption, WindowBorder border);
