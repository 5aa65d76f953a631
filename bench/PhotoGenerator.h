#pragma once

#include <string>

namespace bench {

// Writes a photograph-like JPEG (smooth shading, edges and fine grain, laid out for 4000 x 3000)
// with libjpeg's compressor at quality 90, baseline or progressive.
void WritePhoto(const std::string& path, bool progressive, int width = 4000, int height = 3000);

}  // namespace bench
