#include "bench/PhotoGenerator.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <vector>

#include <jpeglib.h>

namespace bench {
namespace {

constexpr int kQuality = 90;

struct CloseFile {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// A small deterministic generator for the grain.
class Grain {
 public:
  int Next() {
    state_ = state_ * 6364136223846793005u + 1442695040888963407u;
    return static_cast<int>(state_ >> 59) - 16;
  }

 private:
  std::uint64_t state_ = 0x9E3779B97F4A7C15u;
};

unsigned char Clamp(double value) {
  return static_cast<unsigned char>(std::lround(std::fmin(255.0, std::fmax(0.0, value))));
}

// Sky, water and a hull-like band, with ripples and grain, row by row.
void FillRow(int y, Grain& grain, std::vector<unsigned char>& row) {
  const int width = static_cast<int>(row.size() / 3);
  for (int x = 0; x < width; ++x) {
    const double ripple = 18 * std::sin(x / 37.0 + std::sin(y / 53.0) * 3) * std::cos(y / 29.0);
    const bool hull = y > 1300 && y < 1700 && x > 900 + (y - 1300) / 2 && x < 3100 - (y - 1300) / 2;
    double r, g, b;
    if (hull) {
      r = 170 + ripple / 3;
      g = 40 + x % 200 / 10.0;
      b = 35;
    } else if (y < 1200) {
      r = 90 + y / 20.0;
      g = 140 + y / 15.0;
      b = 220 - y / 40.0;
    } else {
      r = 20 + ripple;
      g = 80 + ripple + (y - 1200) / 30.0;
      b = 110 + ripple;
    }
    const int noise = grain.Next();
    row[3 * x] = Clamp(r + noise);
    row[3 * x + 1] = Clamp(g + noise);
    row[3 * x + 2] = Clamp(b + noise);
  }
}

}  // namespace

void WritePhoto(const std::string& path, bool progressive, int width, int height) {
  const std::unique_ptr<std::FILE, CloseFile> file(std::fopen(path.c_str(), "wb"));
  if (!file) throw std::runtime_error("cannot write " + path);
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file.get());
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, kQuality, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  Grain grain;
  std::vector<unsigned char> row(3 * static_cast<std::size_t>(width));
  while (info.next_scanline < info.image_height) {
    FillRow(static_cast<int>(info.next_scanline), grain, row);
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
}

}  // namespace bench
