#include "pictures/JpegPicture.h"

#include <utility>

#include "pictures/PixelDrawing.h"

JpegPicture::JpegPicture(ByteBuffer file)
    : bytes_(std::move(file)),
      header_(bytes_.Empty() ? JpegHeader() : ReadJpegHeader(bytes_.View())) {}

QSize JpegPicture::Size() const {
  return decoded_ ? pixels_.size() : QSize(header_.width, header_.height);
}

void JpegPicture::PrepareForDrawing() {
  if (decoded_) return;
  JpegDecoding decoding = DecodeJpeg(bytes_.View());
  decoded_ = true;
  pixels_ = std::move(decoding.image);
  if (decoding.failure) throw *decoding.failure;
}

void JpegPicture::Draw(QPainter& painter, const QRect& destination) const {
  drawing_.Draw(painter, destination, pixels_);
}
