#pragma once

#include <QImage>

#include <cstdint>

// Pixel images of pictures, in memory of their own.
namespace pixel_image {

// The most a picture's pixels (and the JPEG decoder's own work memory) may take: a few
// hundred bytes of a hostile file must not make the program take gigabytes.
inline constexpr std::uint64_t kMemoryCap = std::uint64_t{1} << 30;

// Bytes of one row, padded to 32 bits as QImage wants it.
std::uint64_t BytesPerLine(std::uint64_t width, int bitsPerPixel);

// True when a width x height image of the depth stays under kMemoryCap.
bool Fits(std::uint64_t width, std::uint64_t height, int bitsPerPixel);

// A QImage whose pixels live in large memory (huge pages for big pictures, so that a fresh
// 48 MB image does not cost thousands of page faults). The pixels are not initialised. The
// size must fit.
QImage Allocate(int width, int height, QImage::Format format);

}  // namespace pixel_image
