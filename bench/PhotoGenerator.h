#pragma once

#include <string>

namespace bench {

// Writes a 4000 x 3000 photograph-like JPEG (smooth shading, edges and fine grain) with
// libjpeg's compressor at quality 90, baseline or progressive.
void WritePhoto(const std::string& path, bool progressive);

}  // namespace bench
