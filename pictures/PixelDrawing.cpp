#include "pictures/PixelDrawing.h"

void DrawPixels(QPainter& painter, const QRect& destination, const QImage& pixels) {
  if (pixels.isNull() || destination.isEmpty()) return;
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(destination, pixels);
}
