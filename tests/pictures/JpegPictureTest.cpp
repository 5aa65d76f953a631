#include <QBuffer>
#include <QImage>
#include <QImageWriter>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "pictures/JpegDecoder.h"
#include "pictures/PictureControl.h"
#include "platform/MessageText.h"
#include "tests/pictures/PictureTestSupport.h"
#include "tests/support/TempFolder.h"

namespace {

using namespace picture_test;

std::string JpegOf(const QImage& image, bool progressive = false) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "jpeg");
  writer.setQuality(95);
  writer.setProgressiveScanWrite(progressive);
  writer.write(image);
  return bytes.toStdString();
}

QImage ColourGradient(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, 128));
  }
  return image;
}

QImage GreyRamp() {
  QImage image(256, 16, QImage::Format_Grayscale8);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x)
      image.scanLine(y)[x] = static_cast<uchar>(x);
  }
  return image;
}

TEST(JpegPicture, IsDecodedAtTheFirstDrawingOnlyAndKept) {
  const TempFolder folder;
  folder.Write("tai.jpg", JpegOf(ColourGradient(64, 48)));
  PictureControl control;
  control.resize(512, 346);
  control.Picture().LoadFromFile(folder.Path("tai.jpg"));
  EXPECT_EQ(control.Picture().Width(), 64);
  EXPECT_EQ(control.Picture().Height(), 48);

  const std::uint64_t before = JpegDecodingsSoFar();
  Shown(control);
  EXPECT_EQ(JpegDecodingsSoFar(), before + 1);
  control.SetStretch(true);
  Shown(control);
  control.SetStretch(false);
  control.SetProportional(true);
  control.resize(100, 80);
  Shown(control);
  EXPECT_EQ(JpegDecodingsSoFar(), before + 1);
  EXPECT_EQ(control.Picture().Width(), 64);
}

TEST(JpegPicture, AGreyscaleFileShowsAtMost236Levels) {
  const TempFolder folder;
  folder.Write("grey.jpg", JpegOf(GreyRamp()));
  PictureControl control;
  control.resize(256, 16);
  control.Picture().LoadFromFile(folder.Path("grey.jpg"));
  const QImage shown = Shown(control);
  std::set<QRgb> levels;
  for (int y = 0; y < shown.height(); ++y) {
    for (int x = 0; x < shown.width(); ++x) {
      const QRgb pixel = shown.pixel(x, y);
      EXPECT_TRUE(qRed(pixel) == qGreen(pixel) && qGreen(pixel) == qBlue(pixel));
      levels.insert(pixel);
    }
  }
  EXPECT_LE(levels.size(), 236u);
  EXPECT_GE(levels.size(), 100u);
}

TEST(JpegPicture, ADecodingFailureIsReportedOnceAfterThePainting) {
  const TempFolder folder;
  folder.Write("empty.jpg", "");
  // Progressive, with a second scan whose component is not in the frame: the header reads,
  // and the decoding fails before the first row.
  std::string broken = JpegOf(ColourGradient(16, 16), true);
  const std::size_t scan = broken.find("\xFF\xDA", broken.find("\xFF\xDA", 0, 2) + 2, 2);
  broken[scan + 5] = '\x7F';
  folder.Write("broken.jpg", broken);
  // A frame of 60000 x 60000 pixels in a few hundred bytes: refused before any allocation.
  std::string huge = JpegOf(ColourGradient(16, 16));
  huge.replace(huge.find("\xFF\xC0", 0, 2) + 5, 4, "\xEA\x60\xEA\x60", 4);
  folder.Write("huge.jpg", huge);
  struct Case {
    const char* name;
    const char* message;
  };
  for (const Case c : {Case{"empty.jpg", "JPEG エラー #42"}, Case{"broken.jpg", "JPEG エラー #5"},
                       Case{"huge.jpg", "JPEG エラー #54"}}) {
    ReportedFailures reported;
    PictureControl control;
    control.resize(64, 64);
    control.Picture().LoadFromFile(folder.Path(c.name));
    EXPECT_TRUE(reported.Messages().empty()) << c.name;
    Shown(control);
    control.SetStretch(true);
    Shown(control);
    Shown(control);
    ASSERT_EQ(reported.Messages().size(), 1u) << c.name;
    EXPECT_EQ(reported.Messages()[0], Cp932(c.message)) << c.name;
    EXPECT_EQ(control.Picture().Width(), 0) << c.name;
    EXPECT_EQ(control.Picture().Height(), 0) << c.name;
  }
}

}  // namespace
