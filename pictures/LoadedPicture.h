#pragma once

#include <QSize>

class QPainter;
class QRect;

// One picture read from a file, of one of the picture kinds.
class LoadedPicture {
 public:
  virtual ~LoadedPicture() = default;

  // Width and height in pixels.
  virtual QSize Size() const = 0;

  // The work the first drawing needs (a JPEG image's decoding). It can fail once; after
  // that the picture draws what it has and never fails again.
  virtual void PrepareForDrawing() {}

  // Draws the picture into `destination` (the painter's clip is the control).
  virtual void Draw(QPainter& painter, const QRect& destination) const = 0;
};
