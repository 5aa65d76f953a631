#include "DemoPhotos.h"

#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct CloseFile {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// Water darkening with depth, light ripples, and an elliptic fish with a tail and an eye.
void PaintPixel(int x, int y, int width, int height, unsigned seed, unsigned char* rgb) {
  const double u = static_cast<double>(x) / width;
  const double v = static_cast<double>(y) / height;
  const double ripple = 0.5 + 0.5 * std::sin(40 * u + 7 * std::sin(9 * v + seed) + seed);
  double r = 30 + 40 * (1 - v) + 20 * ripple;
  double g = 90 + 80 * (1 - v) + 25 * ripple;
  double b = 140 + 90 * (1 - v) + 20 * ripple;
  const double cx = 0.5 + 0.1 * std::sin(seed * 1.7);
  const double cy = 0.55 + 0.1 * std::cos(seed * 2.3);
  const double scale = std::min(width, height) / static_cast<double>(std::max(width, height));
  const double dx = (u - cx) / (0.28 * (width >= height ? scale : 1));
  const double dy = (v - cy) / (0.12 * (height > width ? scale : 1));
  const bool body = dx * dx + dy * dy < 1;
  const double tx = dx - 1.05;
  const bool tail = tx > 0 && tx < 0.45 && std::abs(dy) < tx * 1.6;
  if (body || tail) {
    const double shade = 0.6 + 0.4 * (1 - std::abs(dy));
    r = (150 + 40 * std::sin(seed)) * shade;
    g = (160 + 30 * std::cos(seed)) * shade;
    b = 120 * shade;
    const double ex = dx + 0.65;
    const double ey = dy + 0.25;
    if (ex * ex + ey * ey < 0.012) r = g = b = 10;
  }
  rgb[0] = static_cast<unsigned char>(std::clamp(r, 0.0, 255.0));
  rgb[1] = static_cast<unsigned char>(std::clamp(g, 0.0, 255.0));
  rgb[2] = static_cast<unsigned char>(std::clamp(b, 0.0, 255.0));
}

}  // namespace

bool WriteDemoPhoto(const std::string& path, int width, int height, unsigned seed) {
  std::unique_ptr<std::FILE, CloseFile> file(std::fopen(path.c_str(), "wb"));
  if (!file) return false;
  jpeg_compress_struct compressor{};
  jpeg_error_mgr errors{};
  compressor.err = jpeg_std_error(&errors);
  jpeg_create_compress(&compressor);
  jpeg_stdio_dest(&compressor, file.get());
  compressor.image_width = static_cast<JDIMENSION>(width);
  compressor.image_height = static_cast<JDIMENSION>(height);
  compressor.input_components = 3;
  compressor.in_color_space = JCS_RGB;
  jpeg_set_defaults(&compressor);
  jpeg_set_quality(&compressor, 88, TRUE);
  jpeg_start_compress(&compressor, TRUE);
  std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      PaintPixel(x, y, width, height, seed, &row[static_cast<std::size_t>(x) * 3]);
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&compressor, rows, 1);
  }
  jpeg_finish_compress(&compressor);
  jpeg_destroy_compress(&compressor);
  return true;
}
