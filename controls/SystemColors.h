#pragma once

#include <QColor>

// The colours the layouts name, the system ones as a classic Windows desktop has them.
namespace system_colors {

inline QColor ButtonFace() {
  return QColor(240, 240, 240);
}
inline QColor WindowText() {
  return QColor(0, 0, 0);
}
inline QColor CaptionText() {
  return QColor(255, 255, 255);
}
inline QColor GrayText() {
  return QColor(109, 109, 109);
}
inline QColor Window() {
  return QColor(255, 255, 255);
}
inline QColor Highlight() {
  return QColor(255, 255, 255);
}
inline QColor Shadow() {
  return QColor(160, 160, 160);
}

inline QColor Teal() {
  return QColor(0, 128, 128);
}
inline QColor SkyBlue() {
  return QColor(166, 202, 240);
}
inline QColor Red() {
  return QColor(255, 0, 0);
}
inline QColor Yellow() {
  return QColor(255, 255, 0);
}
inline QColor Blue() {
  return QColor(0, 0, 255);
}

}  // namespace system_colors
