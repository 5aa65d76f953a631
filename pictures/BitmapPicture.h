#pragma once

#include <QImage>

#include <string_view>

#include "pictures/LoadedPicture.h"
#include "pictures/PixelDrawing.h"

// A bitmap file: decoded when it is read; a file of no bytes is an empty 0 x 0 bitmap.
class BitmapPicture : public LoadedPicture {
 public:
  // Fails with the messages of the bitmap reader ("BM" and the plane count checked here).
  explicit BitmapPicture(std::string_view file);

  QSize Size() const override { return pixels_.size(); }
  void Draw(QPainter& painter, const QRect& destination) const override;

 private:
  QImage pixels_;
  mutable PixelDrawing drawing_;  // a cache of the last resampling
};
