#include "pictures/BitmapPicture.h"

#include "pictures/DibDecoder.h"
#include "pictures/LittleEndian.h"
#include "pictures/PictureFailures.h"
#include "pictures/PixelDrawing.h"
#include "platform/Failure.h"
#include "platform/MessageText.h"

namespace {

constexpr std::size_t kFileHeaderSize = 14;

QImage ReadBitmapFile(std::string_view file) {
  if (file.empty()) return {};
  if (file.size() < kFileHeaderSize) picture_failures::ShortStream();
  if (file.substr(0, 2) != "BM") throw Failure(Cp932("ビットマップイメージが不正です"));
  // The stated file size is not trusted: many writers get it wrong.
  const std::size_t pixels = little_endian::U32(file, 10);
  return DecodeDib({.bytes = file, .header = kFileHeaderSize, .pixels = pixels}).image;
}

}  // namespace

BitmapPicture::BitmapPicture(std::string_view file) : pixels_(ReadBitmapFile(file)) {}

void BitmapPicture::Draw(QPainter& painter, const QRect& destination) const {
  drawing_.Draw(painter, destination, pixels_);
}
