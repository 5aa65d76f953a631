#pragma once

#include <QRect>
#include <QSize>

// The switches of a picture control that decide where its picture is drawn.
struct PictureFit {
  bool stretch = false;
  bool proportional = false;
  bool center = false;
};

// The rectangle a picture of `picture` size is drawn into in a control of `control` size:
// scaled when stretched, or when proportional and larger than the control (proportions
// kept, at extended precision), else at its own size; centred when asked.
QRect DestinationRect(QSize picture, QSize control, PictureFit fit);
