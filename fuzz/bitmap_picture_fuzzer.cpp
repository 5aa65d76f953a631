#include <cstddef>
#include <cstdint>

#include "fuzz/PictureFuzzing.h"
#include "pictures/BitmapPicture.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  picture_fuzzing::StartApplication();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  picture_fuzzing::LoadAndDraw(
      [&] { return std::make_unique<BitmapPicture>(picture_fuzzing::Bytes(data, size)); });
  return 0;
}
