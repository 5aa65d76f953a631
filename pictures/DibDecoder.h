#pragma once

#include <QImage>

#include <cstddef>
#include <cstdint>
#include <string_view>

// Device-independent bitmaps: the information header (12-byte or 40-byte and longer), the
// palette or bit-field masks, and the pixels (1, 4, 8, 16, 24 and 32 bits per pixel,
// run-length or bit-field coded, rows bottom-up or top-down). Bitmap files and the images
// of icon files both hold them.
struct DibSource {
  std::string_view bytes;        // the whole file
  std::size_t header = 0;        // where the information header starts
  std::size_t pixels = 0;        // where the pixels start; 0: right after the palette
  bool holdsMask = false;        // an icon image: the stated height covers the colours and the mask
  bool keepsAlpha = false;       // 32-bit pixels keep their fourth byte as alpha
  std::int64_t largestSide = 0;  // when not 0, larger images are refused as invalid
};

struct DibImage {
  QImage image;               // RGB32, or ARGB32 when the source keeps alpha
  std::size_t pixelsEnd = 0;  // the byte after the colour pixels (an icon's mask starts there)
  bool alphaChannel = false;  // the pixels carried alpha of their own
};

// Fails with "ビットマップイメージが不正です" for a header or coding it does not read,
// "ストリームからの読み込みエラー" when the bytes end before the headers, the palette or the
// uncompressed pixels, and "System Error.  Code: %d.\r\n%s" (ENOMEM) for an image above the
// pixel memory cap, before allocating it.
DibImage DecodeDib(const DibSource& source);
