#pragma once

#include <string_view>

#include "pictures/LoadedPicture.h"
#include "platform/ByteBuffer.h"

// A metafile (either extension): an enhanced metafile or a placeable one, told apart by the
// content, kept as its records and played back at every drawing.
class MetafilePicture : public LoadedPicture {
 public:
  // Fails with "メタファイルが不正です" for anything else, and with
  // "ストリームからの読み込みエラー" when the bytes end before the placeable header.
  explicit MetafilePicture(ByteBuffer file);

  QSize Size() const override { return size_; }
  // Played into the rectangle shortened by one pixel at the right and at the bottom.
  void Draw(QPainter& painter, const QRect& destination) const override;

 private:
  ByteBuffer records_;
  bool enhanced_ = false;
  QSize size_;
};
