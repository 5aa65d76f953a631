#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>

// Draws a pixel image resampled to the destination by nearest-neighbour sampling: source
// rows and columns are dropped or repeated, never blended. The resampled copy of the last
// destination is kept, so that a repaint of it is a plain copy: resampling a 12-megapixel
// image reads all of it, which takes longer than a repaint may. Only the part of the
// destination inside the painter's device is resampled.
class PixelDrawing {
 public:
  void Draw(QPainter& painter, const QRect& destination, const QImage& pixels);

 private:
  QImage resampled_;
  QRect destination_, part_;
  qint64 sourceKey_ = 0;
};

// The `part` of `source` resampled to `size`: its pixel (x, y) is the source pixel on which
// the centre of (part.x + x, part.y + y) falls. 32-bit RGB.
QImage ResampleNearest(const QImage& source, QSize size, const QRect& part);
