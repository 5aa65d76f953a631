#include <cstddef>
#include <cstdint>

#include "fuzz/PictureFuzzing.h"
#include "pictures/JpegPicture.h"

namespace {

// Larger pictures decode for seconds each and would starve the search; the memory cap for
// larger ones is met by the tests.
constexpr long long kMostPixels = 1 << 22;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  picture_fuzzing::StartApplication();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  picture_fuzzing::LoadAndDraw([&]() -> std::unique_ptr<LoadedPicture> {
    auto picture = std::make_unique<JpegPicture>(ByteBuffer(picture_fuzzing::Bytes(data, size)));
    const QSize stated = picture->Size();
    if (static_cast<long long>(stated.width()) * stated.height() > kMostPixels) {
      return std::make_unique<JpegPicture>(ByteBuffer());
    }
    return picture;
  });
  return 0;
}
