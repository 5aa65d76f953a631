#include "pictures/MetafilePicture.h"

#include <QRect>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "pictures/LittleEndian.h"
#include "pictures/MetafilePlayers.h"
#include "pictures/PictureFailures.h"
#include "platform/Failure.h"
#include "platform/MessageText.h"

namespace {

using namespace little_endian;

constexpr std::uint32_t kEnhancedSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableSize = 22;
constexpr std::size_t kEnhancedHeaderSize = 88;
constexpr std::size_t kMetaHeaderSize = 18;
constexpr double kScreenDpi = 96;

[[noreturn]] void Invalid() {
  throw Failure(Cp932("メタファイルが不正です"));
}

bool IsEnhanced(std::string_view bytes) {
  return bytes.size() > 100 && U32(bytes, 0) == 1 && U32(bytes, 40) == kEnhancedSignature;
}

// The frame is in hundredths of a millimetre.
QSize EnhancedSize(std::string_view bytes) {
  const std::uint32_t headerSize = U32(bytes, 4);
  if (headerSize < kEnhancedHeaderSize || headerSize > bytes.size()) Invalid();
  const auto pixels = [](std::int64_t from, std::int64_t to) {
    const double size = std::abs(static_cast<double>(to - from)) * kScreenDpi / 2540;
    return static_cast<int>(std::lround(std::min(size, 1e9)));
  };
  return {pixels(I32(bytes, 24), I32(bytes, 32)), pixels(I32(bytes, 28), I32(bytes, 36))};
}

// The placeable header's key and checksum (the exclusive-or of its first ten words), then
// the standard header that follows it.
QSize PlaceableSize(std::string_view bytes) {
  if (bytes.size() < kPlaceableSize) picture_failures::ShortStream();
  std::uint16_t checksum = 0;
  for (std::size_t word = 0; word < 10; ++word)
    checksum ^= U16(bytes, 2 * word);
  if (U32(bytes, 0) != kPlaceableKey || U16(bytes, 20) != checksum) Invalid();
  if (!Holds(bytes, kPlaceableSize, kMetaHeaderSize)) Invalid();
  const std::uint16_t type = U16(bytes, kPlaceableSize),
                      headerWords = U16(bytes, kPlaceableSize + 2);
  if ((type != 1 && type != 2) || headerWords != kMetaHeaderSize / 2) Invalid();
  // Logical units per inch; 0 is taken as the common 1440.
  const double perInch = U16(bytes, 14) == 0 ? 1440 : U16(bytes, 14);
  const auto pixels = [&](int from, int to) {
    return static_cast<int>(std::lround(std::abs(to - from) * kScreenDpi / perInch));
  };
  return {pixels(I16(bytes, 6), I16(bytes, 10)), pixels(I16(bytes, 8), I16(bytes, 12))};
}

}  // namespace

MetafilePicture::MetafilePicture(ByteBuffer file)
    : records_(std::move(file)), enhanced_(IsEnhanced(records_.View())) {
  size_ = enhanced_ ? EnhancedSize(records_.View()) : PlaceableSize(records_.View());
}

void MetafilePicture::Draw(QPainter& painter, const QRect& destination) const {
  const QRectF target(destination.left(), destination.top(), destination.width() - 1,
                      destination.height() - 1);
  if (target.width() <= 0 || target.height() <= 0) return;
  painter.save();
  if (enhanced_) {
    PlayEnhancedMetafile(records_.View(), painter, target);
  } else {
    PlayPlaceableMetafile(records_.View(), painter, target);
  }
  painter.restore();
}
