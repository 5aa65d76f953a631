#include "pictures/IconPicture.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>

#include <algorithm>
#include <cstdint>
#include <tuple>
#include <utility>

#include "pictures/DibDecoder.h"
#include "pictures/LittleEndian.h"
#include "pictures/PictureFailures.h"
#include "platform/Failure.h"
#include "platform/MessageText.h"

namespace {

using namespace little_endian;

constexpr std::size_t kHeaderSize = 6;
constexpr std::size_t kEntrySize = 16;
constexpr std::string_view kPngSignature = "\x89PNG\r\n\x1A\n";
// Icon images are at most 256 pixels a side; far larger ones are damaged data, and are not
// worth a large allocation.
constexpr std::int64_t kLargestIconSide = 1024;

void CheckHeader(std::string_view bytes) {
  if (bytes.size() < kHeaderSize) picture_failures::ShortStream();
  if (U16(bytes, 2) > 1) throw Failure(Cp932("アイコンイメージが不正です"));
}

// A directory byte of 0 stands for 256.
QSize EntrySize(std::string_view bytes, std::size_t entry) {
  const auto side = [&](std::size_t at) { return U8(bytes, at) == 0 ? 256 : U8(bytes, at); };
  return {side(entry), side(entry + 1)};
}

// The entry of the 32 x 32 image with the most colours, else of the largest image; 0 when
// the directory lists none that is there.
std::size_t ChooseEntry(std::string_view bytes) {
  std::size_t chosen = 0;
  auto rank = [&](std::size_t entry) {
    const QSize size = EntrySize(bytes, entry);
    const bool preferred = size == QSize(32, 32);
    return std::tuple(preferred, preferred ? 0 : size.width() * size.height(),
                      U16(bytes, entry + 6));
  };
  const std::size_t count = U16(bytes, 4);
  for (std::size_t i = 0; i < count && Holds(bytes, kHeaderSize + i * kEntrySize, kEntrySize);
       ++i) {
    const std::size_t entry = kHeaderSize + i * kEntrySize;
    if (chosen == 0 || rank(entry) > rank(chosen)) chosen = entry;
  }
  return chosen;
}

std::uint32_t BigEndian(std::string_view bytes, std::size_t at) {
  return std::uint32_t{U8(bytes, at)} << 24 | std::uint32_t{U8(bytes, at + 1)} << 16 |
         std::uint32_t{U8(bytes, at + 2)} << 8 | U8(bytes, at + 3);
}

// A PNG image whose chunks all fit in its bytes and whose size suits an icon. The PNG
// library would otherwise take a damaged chunk length of gigabytes at its word.
bool Plausible(std::string_view png) {
  constexpr std::size_t kChunkFrame = 12;  // length, type and check
  std::size_t at = kPngSignature.size();
  if (!Holds(png, at, kChunkFrame + 8) || png.substr(at + 4, 4) != "IHDR" ||
      BigEndian(png, at + 8) > kLargestIconSide || BigEndian(png, at + 12) > kLargestIconSide) {
    return false;
  }
  while (Holds(png, at, kChunkFrame)) {
    const std::uint64_t length = BigEndian(png, at);
    if (!Holds(png, at, kChunkFrame + length)) return false;
    if (png.substr(at + 4, 4) == "IEND") return true;
    at += kChunkFrame + length;
  }
  return false;
}

QImage ReadPng(std::string_view png) {
  if (!Plausible(png)) return {};
  QByteArray data = QByteArray::fromRawData(png.data(), static_cast<qsizetype>(png.size()));
  QBuffer buffer(&data);
  QImageReader reader(&buffer, "png");
  return reader.read();
}

// The colour image with its mask applied: the AND mask marks transparent pixels unless
// 32-bit pixels carry an alpha channel of their own.
QImage ReadDibIcon(std::string_view bytes, std::size_t start) {
  DibImage dib = DecodeDib({.bytes = bytes,
                            .header = start,
                            .holdsMask = true,
                            .keepsAlpha = true,
                            .largestSide = kLargestIconSide});
  QImage& image = dib.image;
  bool hasAlpha = false;
  for (int y = 0; y < image.height() && dib.alphaChannel && !hasAlpha; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    hasAlpha = std::any_of(row, row + image.width(), [](QRgb p) { return qAlpha(p) != 0; });
  }
  if (hasAlpha) return std::move(image);
  const std::size_t stride = (static_cast<std::size_t>(image.width()) + 31) / 32 * 4;
  for (int y = 0; y < image.height(); ++y) {
    // Mask rows run bottom-up like the colour rows; rows the file does not hold stay opaque.
    const std::size_t maskRow =
        dib.pixelsEnd + static_cast<std::size_t>(image.height() - 1 - y) * stride;
    const bool present = Holds(bytes, maskRow, stride);
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const bool transparent = present && (U8(bytes, maskRow + x / 8) >> (7 - x % 8) & 1);
      row[x] = transparent ? 0 : row[x] | 0xFF000000;
    }
  }
  return std::move(image);
}

QImage ReadEntryImage(std::string_view bytes, std::size_t entry) {
  const std::uint32_t length = U32(bytes, entry + 8);
  const std::uint32_t offset = U32(bytes, entry + 12);
  if (!Holds(bytes, offset, std::min<std::uint64_t>(length, kPngSignature.size()))) return {};
  const std::string_view data = bytes.substr(offset);
  if (data.starts_with(kPngSignature)) return ReadPng(data.substr(0, length));
  return ReadDibIcon(bytes, offset);
}

}  // namespace

IconPicture::IconPicture(ByteBuffer file) : bytes_(std::move(file)) {
  CheckHeader(bytes_.View());
  entry_ = ChooseEntry(bytes_.View());
  if (entry_ != 0) listedSize_ = EntrySize(bytes_.View(), entry_);
}

QSize IconPicture::Size() const {
  return read_ ? pixels_.size() : listedSize_;
}

void IconPicture::PrepareForDrawing() {
  if (read_ || entry_ == 0) return;
  read_ = true;
  try {
    pixels_ = ReadEntryImage(bytes_.View(), entry_);
  } catch (const Failure&) {
    pixels_ = QImage();
  }
}

void IconPicture::Draw(QPainter& painter, const QRect& destination) const {
  if (!pixels_.isNull()) painter.drawImage(destination.topLeft(), pixels_);
}
