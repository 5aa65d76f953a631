#include <QPainter>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pictures/BitmapPicture.h"
#include "tests/pictures/PictureTestSupport.h"

namespace {

using namespace picture_test;

constexpr QRgb R = 0xFFFF0000, G = 0xFF00FF00, B = 0xFF0000FF, W = 0xFFFFFFFF, K = 0xFF000000;

struct Case {
  const char* name;
  std::string file;
  int width, height;
  std::vector<QRgb> shown;  // top row first
};

std::vector<QRgb> Drawn(const BitmapPicture& picture) {
  QImage image(picture.Size(), QImage::Format_RGB32);
  image.fill(Qt::gray);
  QPainter painter(&image);
  picture.Draw(painter, image.rect());
  painter.end();
  std::vector<QRgb> pixels;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x)
      pixels.push_back(image.pixel(x, y));
  }
  return pixels;
}

std::string Os2Bitmap() {
  // 12-byte header, 3-byte palette entries, 2 x 1 at 1 bit per pixel.
  const std::string palette = Bytes({0, 0, 255, 255, 0, 0});
  return "BM" + U32(0) + U32(0) + U32(14 + 12 + 6) + U32(12) + U16(2) + U16(1) + U16(1) + U16(1) +
         palette + Bytes({0x40, 0, 0, 0});
}

TEST(BitmapDecoding, EveryDepthAndCodingShowsItsPixels) {
  const std::vector<std::uint32_t> palette = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
  const Case cases[] = {
      {"24 bits, bottom-up",
       BitmapFile(2, 2, 24,
                  Bytes({255, 0, 0, 255, 255, 255, 0, 0,  //
                         0, 0, 255, 0, 255, 0, 0, 0})),
       2,
       2,
       {R, G, B, W}},
      {"24 bits, top-down",
       BitmapFile(2, -2, 24,
                  Bytes({0, 0, 255, 0, 255, 0, 0, 0,  //
                         255, 0, 0, 255, 255, 255, 0, 0})),
       2,
       2,
       {R, G, B, W}},
      {"32 bits", BitmapFile(2, 1, 32, Bytes({0, 0, 255, 0, 255, 0, 0, 7})), 2, 1, {R, B}},
      {"16 bits 5-5-5", BitmapFile(2, 1, 16, U16(0x7C00) + U16(0x001F)), 2, 1, {R, B}},
      {"16 bits 5-6-5 fields",
       BitmapFile(2, 1, 16, U16(0x07E0) + U16(0xFFFF), {}, 3,
                  U32(0xF800) + U32(0x07E0) + U32(0x001F)),
       2,
       1,
       {G, W}},
      {"8 bits, index past the palette",
       BitmapFile(3, 1, 8, Bytes({2, 0, 9, 0}), palette),
       3,
       1,
       {B, R, K}},
      {"4 bits", BitmapFile(3, 1, 4, Bytes({0x12, 0x30, 0, 0}), palette), 3, 1, {G, B, W}},
      {"1 bit", BitmapFile(3, 1, 1, Bytes({0xA0, 0, 0, 0}), palette), 3, 1, {G, R, G}},
      {"12-byte header", Os2Bitmap(), 2, 1, {R, B}},
      // A run of 2, the end of the line, a delta of one column, a run of 1, the end.
      {"run-length 8",
       BitmapFile(3, 2, 8, Bytes({2, 1, 0, 0, 0, 2, 1, 0, 1, 2, 0, 1}), palette, 1),
       3,
       2,
       {K, B, K, G, G, K}},
      {"run-length 8, literal pixels",
       BitmapFile(3, 1, 8, Bytes({0, 3, 0, 1, 2, 0, 0, 1}), palette, 1),
       3,
       1,
       {R, G, B}},
      {"run-length 4", BitmapFile(3, 1, 4, Bytes({3, 0x21, 0, 1}), palette, 2), 3, 1, {B, G, B}},
      {"run past the row end",
       BitmapFile(2, 1, 8, Bytes({200, 2, 0, 1}), palette, 1),
       2,
       1,
       {B, B}},
  };
  for (const Case& c : cases) {
    const BitmapPicture picture(c.file);
    EXPECT_EQ(picture.Size(), QSize(c.width, c.height)) << c.name;
    EXPECT_EQ(Drawn(picture), c.shown) << c.name;
  }
}

}  // namespace
