#pragma once

#include <QImage>

#include <string_view>

#include "pictures/JpegDecoder.h"
#include "pictures/LoadedPicture.h"
#include "pictures/PixelDrawing.h"
#include "platform/ByteBuffer.h"

// A JPEG image: all its bytes and its header at load, its pixels decoded at the first drawing
// and kept from then on. A decoding failure is raised once; afterwards the picture draws
// (and reports the size of) whatever was decoded before it.
class JpegPicture : public LoadedPicture {
 public:
  // A file of no bytes loads; its decoding fails.
  explicit JpegPicture(ByteBuffer file);

  QSize Size() const override;
  void PrepareForDrawing() override;
  void Draw(QPainter& painter, const QRect& destination) const override;

 private:
  ByteBuffer bytes_;
  JpegHeader header_;
  bool decoded_ = false;
  QImage pixels_;
  mutable PixelDrawing drawing_;  // a cache of the last resampling
};
