#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "pictures/LoadedPicture.h"

// The picture fuzz targets read the data as one kind of picture and, when it loads, draw
// it. Failures of the readers and the decoder are expected; crashes, leaks and hangs are not.
namespace picture_fuzzing {

// A headless application, so that text and images can be drawn.
void StartApplication();

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Runs `load` and, when it gives a picture, prepares it for drawing and draws it into a
// small image at its own size and stretched over the image. A Failure ends the run quietly.
void LoadAndDraw(const std::function<std::unique_ptr<LoadedPicture>()>& load);

}  // namespace picture_fuzzing
