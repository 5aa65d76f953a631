#include "pictures/PixelImage.h"

#include <limits>
#include <memory>

#include "platform/LargeMemory.h"

namespace pixel_image {

std::uint64_t BytesPerLine(std::uint64_t width, int bitsPerPixel) {
  return (width * static_cast<std::uint64_t>(bitsPerPixel) + 31) / 32 * 4;
}

bool Fits(std::uint64_t width, std::uint64_t height, int bitsPerPixel) {
  // QImage counts the bits of a row in an int; below that, no product here overflows.
  constexpr std::uint64_t kRowBits = std::numeric_limits<int>::max() - 31;
  return width * static_cast<std::uint64_t>(bitsPerPixel) <= kRowBits && height <= kRowBits &&
         BytesPerLine(width, bitsPerPixel) * height <= kMemoryCap;
}

QImage Allocate(int width, int height, QImage::Format format) {
  const int depth = QImage::toPixelFormat(format).bitsPerPixel();
  const auto bytesPerLine = static_cast<qsizetype>(BytesPerLine(width, depth));
  auto memory = std::make_unique<LargeMemory>(
      AllocateLarge(static_cast<std::size_t>(bytesPerLine) * static_cast<std::size_t>(height)));
  auto* pixels = reinterpret_cast<uchar*>(memory->get());
  QImage image(
      pixels, width, height, bytesPerLine, format,
      [](void* owned) { delete static_cast<LargeMemory*>(owned); }, memory.get());
  // A valid image owns the memory from here on and gives it back through the cleanup
  // function; Qt never calls it for an image it refused.
  if (!image.isNull()) memory.release();
  return image;
}

}  // namespace pixel_image
