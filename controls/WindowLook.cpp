#include "controls/WindowLook.h"

#include "controls/JapaneseDesktop.h"
#include "controls/QtText.h"
#include "controls/SystemColors.h"

void ApplyWindowLook(QWidget& window, std::string_view caption, WindowBorder border) {
  window.setWindowTitle(ToQt(caption));
  Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint;
  if (border == WindowBorder::Sizeable) flags |= Qt::WindowMaximizeButtonHint;
  window.setWindowFlags(flags);
  window.setFont(WindowsFont(FontFace::ProportionalGothic, 12));
  QPalette colours = window.palette();
  colours.setColor(QPalette::Window, system_colors::ButtonFace());
  colours.setColor(QPalette::WindowText, system_colors::WindowText());
  window.setPalette(colours);
  window.setAutoFillBackground(true);
}
