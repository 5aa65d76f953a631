#include "pictures/DibDecoder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <vector>

#include "pictures/LittleEndian.h"
#include "pictures/PictureFailures.h"
#include "pictures/PixelImage.h"
#include "platform/Failure.h"
#include "platform/MessageText.h"

namespace {

using namespace little_endian;

enum Compression : std::uint32_t {
  kRgb = 0,
  kRle8 = 1,
  kRle4 = 2,
  kBitFields = 3,
  kAlphaBitFields = 6
};

[[noreturn]] void Invalid() {
  throw Failure(Cp932("ビットマップイメージが不正です"));
}

constexpr QRgb kBlack = 0xFF000000;

// One colour channel of bit-field pixels, widened or narrowed to 8 bits.
class Channel {
 public:
  Channel() = default;
  explicit Channel(std::uint32_t mask)
      : mask_(mask),
        shift_(mask == 0 ? 0 : std::countr_zero(mask)),
        bits_(mask == 0 ? 0 : 32 - std::countl_zero(mask >> shift_)) {}

  std::uint32_t Extract(std::uint32_t pixel) const {
    if (bits_ == 0) return 0;
    const std::uint32_t value = (pixel & mask_) >> shift_;
    if (bits_ >= 8) return value >> (bits_ - 8);
    return value * 255 / ((1u << bits_) - 1);
  }

  bool Empty() const { return bits_ == 0; }

 private:
  std::uint32_t mask_ = 0;
  int shift_ = 0;
  int bits_ = 0;
};

struct Header {
  std::int64_t width = 0;
  std::int64_t height = 0;
  bool topDown = false;
  int bitsPerPixel = 0;
  std::uint32_t compression = kRgb;
  std::uint64_t colorsUsed = 0;
  std::size_t entrySize = 4;        // palette entry: 3 bytes after a 12-byte header, else 4
  std::size_t tableStart = 0;       // where the palette (or the colours of a deep image) starts
  std::array<Channel, 4> channels;  // red, green, blue, alpha of 16- and 32-bit pixels
};

Header ReadHeader(const DibSource& source) {
  const std::string_view bytes = source.bytes;
  const std::size_t at = source.header;
  if (!Holds(bytes, at, 4)) picture_failures::ShortStream();
  const std::uint32_t size = U32(bytes, at);
  Header header;
  std::uint16_t planes = 0;
  if (size == 12) {
    if (!Holds(bytes, at, 12)) picture_failures::ShortStream();
    header.width = U16(bytes, at + 4);
    header.height = U16(bytes, at + 6);
    planes = U16(bytes, at + 8);
    header.bitsPerPixel = U16(bytes, at + 10);
    header.entrySize = 3;
  } else if (size >= 40) {
    if (!Holds(bytes, at, size)) picture_failures::ShortStream();
    header.width = I32(bytes, at + 4);
    header.height = I32(bytes, at + 8);
    planes = U16(bytes, at + 12);
    header.bitsPerPixel = U16(bytes, at + 14);
    header.compression = U32(bytes, at + 16);
    header.colorsUsed = U32(bytes, at + 32);
  } else {
    Invalid();
  }
  if (planes != 1) Invalid();
  if (header.height < 0) {
    header.topDown = true;
    header.height = -header.height;
  }
  if (source.holdsMask) header.height /= 2;
  if (header.width <= 0 || header.height == 0) Invalid();
  if (source.largestSide != 0 &&
      (header.width > source.largestSide || header.height > source.largestSide)) {
    Invalid();
  }

  const int bpp = header.bitsPerPixel;
  const bool known = bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
  const bool fields = header.compression == kBitFields || header.compression == kAlphaBitFields;
  const bool valid = known && (header.compression == kRgb ||
                               (header.compression == kRle8 && bpp == 8 && !header.topDown) ||
                               (header.compression == kRle4 && bpp == 4 && !header.topDown) ||
                               (fields && (bpp == 16 || bpp == 32)));
  if (!valid) Invalid();

  header.tableStart = at + size;
  if (fields) {
    // Headers of 52 bytes and more hold the masks; after a 40-byte header they follow it.
    std::size_t masks = at + 40;
    const std::size_t maskCount = header.compression == kAlphaBitFields ? 4 : 3;
    if (size < 40 + 4 * maskCount) {
      if (!Holds(bytes, header.tableStart, 4 * maskCount)) picture_failures::ShortStream();
      masks = header.tableStart;
      header.tableStart += 4 * maskCount;
    }
    const std::size_t inHeader = size >= 56 ? 4 : maskCount;
    for (std::size_t i = 0; i < inHeader; ++i) {
      header.channels[i] = Channel(U32(bytes, masks + 4 * i));
    }
  } else if (bpp == 16) {
    header.channels = {Channel(0x7C00), Channel(0x03E0), Channel(0x001F), Channel()};
  } else if (bpp == 32) {
    header.channels = {Channel(0xFF0000), Channel(0xFF00), Channel(0xFF), Channel(0xFF000000)};
  }
  return header;
}

struct Palette {
  std::vector<QRgb> colors;  // every index the depth allows; those the file leaves out black
  std::uint64_t bytes = 0;   // what the file's table takes
};

Palette ReadPalette(const DibSource& source, const Header& header) {
  // Deep images may still carry a colour table; the pixels follow it.
  if (header.bitsPerPixel > 8) return {{}, header.colorsUsed * header.entrySize};
  const std::uint64_t full = std::uint64_t{1} << header.bitsPerPixel;
  std::uint64_t count = header.colorsUsed == 0 ? full : std::min(header.colorsUsed, full);
  // A palette shorter than the depth allows ends where the pixels begin.
  if (source.pixels > header.tableStart) {
    count = std::min<std::uint64_t>(count, (source.pixels - header.tableStart) / header.entrySize);
  }
  if (!Holds(source.bytes, header.tableStart, count * header.entrySize)) {
    picture_failures::ShortStream();
  }
  Palette palette{std::vector<QRgb>(full, kBlack), count * header.entrySize};
  for (std::uint64_t i = 0; i < count; ++i) {
    const std::size_t entry = header.tableStart + i * header.entrySize;
    palette.colors[i] =
        qRgb(U8(source.bytes, entry + 2), U8(source.bytes, entry + 1), U8(source.bytes, entry));
  }
  return palette;
}

QRgb* ImageRow(QImage& image, const Header& header, std::int64_t fileRow) {
  const std::int64_t row = header.topDown ? fileRow : header.height - 1 - fileRow;
  return reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(row)));
}

void DecodeRows(std::string_view bytes, std::size_t start, const Header& header,
                const std::vector<QRgb>& palette, bool keepsAlpha, QImage& image) {
  const int bpp = header.bitsPerPixel;
  const std::size_t stride = pixel_image::BytesPerLine(header.width, bpp);
  const auto& [red, green, blue, alpha] = header.channels;
  const bool withAlpha = keepsAlpha && !alpha.Empty();
  for (std::int64_t y = 0; y < header.height; ++y) {
    const auto* in = reinterpret_cast<const unsigned char*>(bytes.data() + start + y * stride);
    QRgb* out = ImageRow(image, header, y);
    for (std::int64_t x = 0; x < header.width; ++x) {
      switch (bpp) {
        case 1:
          out[x] = palette[(in[x / 8] >> (7 - x % 8)) & 1];
          break;
        case 4:
          out[x] = palette[(in[x / 2] >> (x % 2 ? 0 : 4)) & 0xF];
          break;
        case 8:
          out[x] = palette[in[x]];
          break;
        case 24:
          out[x] = qRgb(in[3 * x + 2], in[3 * x + 1], in[3 * x]);
          break;
        default: {
          const std::uint32_t pixel =
              bpp == 16
                  ? std::uint32_t{in[2 * x]} | std::uint32_t{in[2 * x + 1]} << 8
                  : std::uint32_t{in[4 * x]} | std::uint32_t{in[4 * x + 1]} << 8 |
                        std::uint32_t{in[4 * x + 2]} << 16 | std::uint32_t{in[4 * x + 3]} << 24;
          out[x] =
              qRgba(static_cast<int>(red.Extract(pixel)), static_cast<int>(green.Extract(pixel)),
                    static_cast<int>(blue.Extract(pixel)),
                    withAlpha ? static_cast<int>(alpha.Extract(pixel)) : 255);
        }
      }
    }
  }
}

// Run-length pixels: whatever the codes leave out stays black; runs that pass the row end
// or the last row are cut there. Returns where the codes ended.
std::size_t DecodeRunLength(std::string_view bytes, std::uint64_t at, const Header& header,
                            const std::vector<QRgb>& palette, QImage& image) {
  image.fill(kBlack);
  const bool nibbles = header.compression == kRle4;
  std::int64_t x = 0, y = 0;
  const auto put = [&](unsigned index) {
    if (x < header.width && y < header.height) ImageRow(image, header, y)[x] = palette[index];
    ++x;
  };
  while (Holds(bytes, at, 2) && y < header.height) {
    const unsigned count = U8(bytes, at), value = U8(bytes, at + 1);
    at += 2;
    if (count > 0) {
      for (unsigned i = 0; i < count; ++i)
        put(nibbles ? (i % 2 ? value & 0xF : value >> 4) : value);
    } else if (value == 0) {
      x = 0;
      ++y;
    } else if (value == 1) {
      break;
    } else if (value == 2) {
      if (!Holds(bytes, at, 2)) break;
      x += U8(bytes, at);
      y += U8(bytes, at + 1);
      at += 2;
    } else {
      const std::size_t length = nibbles ? (value + 1) / 2 : value;
      if (!Holds(bytes, at, length)) break;
      for (unsigned i = 0; i < value; ++i) {
        const unsigned byte = U8(bytes, at + (nibbles ? i / 2 : i));
        put(nibbles ? (i % 2 ? byte & 0xF : byte >> 4) : byte);
      }
      at += (length + 1) / 2 * 2;
    }
  }
  return std::min(at, bytes.size());
}

}  // namespace

DibImage DecodeDib(const DibSource& source) {
  const Header header = ReadHeader(source);
  const Palette palette = ReadPalette(source, header);
  const std::uint64_t start =
      source.pixels != 0 ? source.pixels : header.tableStart + palette.bytes;
  if (!pixel_image::Fits(header.width, header.height, 32)) picture_failures::OutOfMemory();

  const bool runLength = header.compression == kRle8 || header.compression == kRle4;
  const std::uint64_t bytes =
      pixel_image::BytesPerLine(header.width, header.bitsPerPixel) * header.height;
  if (!runLength && !Holds(source.bytes, start, bytes)) picture_failures::ShortStream();

  const QImage::Format format = source.keepsAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32;
  DibImage result{pixel_image::Allocate(static_cast<int>(header.width),
                                        static_cast<int>(header.height), format)};
  if (result.image.isNull()) picture_failures::OutOfMemory();
  result.alphaChannel =
      source.keepsAlpha && !runLength && header.bitsPerPixel >= 16 && !header.channels[3].Empty();
  if (runLength) {
    result.pixelsEnd = DecodeRunLength(source.bytes, start, header, palette.colors, result.image);
  } else {
    DecodeRows(source.bytes, start, header, palette.colors, source.keepsAlpha, result.image);
    result.pixelsEnd = start + static_cast<std::size_t>(bytes);
  }
  return result;
}
