#pragma once

#include <QImage>

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/Failure.h"

// JPEG data through libjpeg. A fatal error of the library becomes the failure
// "JPEG エラー #%d" with the library's message code; its warnings are never shown.
struct JpegHeader {
  int width = 0;
  int height = 0;
  bool grayscale = false;
};

// Parses the header up to the start of the image data.
JpegHeader ReadJpegHeader(std::string_view bytes);

struct JpegDecoding {
  // RGB32 for colour data; for grayscale data 8-bit indexed with at most 236 grey levels.
  // After a failure, the rows decoded before it (null when there were none).
  QImage image;
  std::optional<Failure> failure;
};

// Decodes at full size with the floating-point inverse transform and block smoothing,
// straight into the pixels of the image. The library's memory and the image together stay
// under the pixel memory cap; beyond it the decoding fails with the library's out-of-memory
// code. Decoding stops after the last row: what follows the image is not read.
JpegDecoding DecodeJpeg(std::string_view bytes);

// How many decodings this process has run: a kept picture must not be decoded again.
std::uint64_t JpegDecodingsSoFar();
