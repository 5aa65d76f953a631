#pragma once

#include <QImage>

#include <cstddef>
#include <string_view>

#include "pictures/LoadedPicture.h"
#include "platform/ByteBuffer.h"

// An icon file: its bytes kept, its header checked at load. Of several images the 32 x 32
// one is shown, else the largest; its size is the directory's until the image is read at the
// first drawing. An image that cannot be read draws nothing, without a message.
class IconPicture : public LoadedPicture {
 public:
  // Fails with "ストリームからの読み込みエラー" for fewer than six bytes and with
  // "アイコンイメージが不正です" for a resource type other than 0 or 1.
  explicit IconPicture(ByteBuffer file);

  QSize Size() const override;
  void PrepareForDrawing() override;
  void Draw(QPainter& painter, const QRect& destination) const override;

 private:
  ByteBuffer bytes_;
  std::size_t entry_ = 0;  // directory offset of the chosen image; 0 when there is none
  QSize listedSize_{0, 0};
  bool read_ = false;
  QImage pixels_;
};
