#include <QMouseEvent>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <string>

#include "pictures/PictureControl.h"
#include "tests/pictures/PictureTestSupport.h"
#include "tests/support/TempFolder.h"

namespace {

using namespace picture_test;

constexpr QRgb kFace = 0xFFC0C0C0;
constexpr QRgb kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kWhite = 0xFFFFFFFF;

std::string SolidBitmap(int width, int height) {
  const int stride = (width * 3 + 3) / 4 * 4;
  std::string row(static_cast<std::size_t>(stride), '\0');
  for (int x = 0; x < width; ++x)
    row[3 * x + 2] = '\xFF';
  std::string pixels;
  for (int y = 0; y < height; ++y)
    pixels += row;
  return BitmapFile(width, height, 24, pixels);
}

// A panel of the face colour with the control filling it, as in the windows.
class PictureOnPanel : public testing::Test {
 protected:
  void SetUp() override {
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(kFace));
    panel_.setPalette(palette);
    panel_.setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(&panel_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(control_);
  }

  void Place(int width, int height) {
    panel_.resize(width, height);
    panel_.layout()->activate();
  }

  void Load(const std::string& name, const std::string& bytes) {
    folder_.Write(name, bytes);
    control_->Picture().LoadFromFile(folder_.Path(name));
  }

  TempFolder folder_;
  QWidget panel_;
  PictureControl* control_ = new PictureControl;  // owned by the panel
};

TEST_F(PictureOnPanel, ThePanelShowsWhereThePictureDoesNotCover) {
  Place(300, 200);
  EXPECT_EQ(Shown(panel_).pixel(150, 100), kFace);  // empty

  Load("tai.bmp", SolidBitmap(200, 100));  // actual size, top-left corner
  QImage shown = Shown(panel_);
  EXPECT_EQ(shown.pixel(0, 0), kRed);
  EXPECT_EQ(shown.pixel(199, 99), kRed);
  EXPECT_EQ(shown.pixel(200, 50), kFace);
  EXPECT_EQ(shown.pixel(100, 100), kFace);

  control_->SetStretch(true);
  control_->SetProportional(true);
  control_->SetCenter(true);  // fit: 300 x 150 at top 25
  EXPECT_EQ(control_->DestinationRect(), QRect(0, 25, 300, 150));
  shown = Shown(panel_);
  EXPECT_EQ(shown.pixel(150, 24), kFace);
  EXPECT_EQ(shown.pixel(150, 25), kRed);
  EXPECT_EQ(shown.pixel(299, 174), kRed);
  EXPECT_EQ(shown.pixel(150, 175), kFace);

  control_->Picture().Clear();
  EXPECT_TRUE(control_->Picture().Empty());
  EXPECT_EQ(Shown(panel_).pixel(150, 100), kFace);
}

TEST_F(PictureOnPanel, PixelsAreRepeatedNeverBlended) {
  Load("four.bmp", BitmapFile(2, 2, 24,
                              Bytes({255, 0, 0, 255, 255, 255, 0, 0,  //
                                     0, 0, 255, 0, 255, 0, 0, 0})));
  control_->SetStretch(true);  // fill: each pixel becomes a block of a quarter of the panel
  for (const QSize size : {QSize(4, 6), QSize(6, 2), QSize(4, 6)}) {
    Place(size.width(), size.height());
    const QImage shown = Shown(panel_);
    for (int y = 0; y < size.height(); ++y) {
      for (int x = 0; x < size.width(); ++x) {
        const bool left = x < size.width() / 2, top = y < size.height() / 2;
        const QRgb expected = top ? (left ? kRed : kGreen) : (left ? kBlue : kWhite);
        EXPECT_EQ(shown.pixel(x, y), expected)
            << size.width() << "x" << size.height() << " at " << x << "," << y;
      }
    }
  }
}

TEST_F(PictureOnPanel, AnIconIsDrawnAtItsOwnSizeWithItsMask) {
  Place(40, 40);
  // One 4 x 4 entry of 24-bit pixels, all green; the mask makes the top row transparent.
  std::string dib = U32(40) + U32(4) + U32(8) + U16(1) + U16(24) + std::string(24, '\0');
  for (int i = 0; i < 16; ++i)
    dib += Bytes({0, 255, 0});
  for (int row = 0; row < 4; ++row)
    dib += Bytes({row == 3 ? 0xF0u : 0u, 0, 0, 0});
  const std::string icon = Bytes({0, 0, 1, 0, 1, 0, 4, 4, 0, 0, 1, 0, 24, 0}) +
                           U32(static_cast<std::uint32_t>(dib.size())) + U32(22) + dib;
  Load("fish.ico", icon);
  control_->SetStretch(true);
  EXPECT_EQ(control_->Picture().Width(), 4);
  const QImage shown = Shown(panel_);
  EXPECT_EQ(shown.pixel(1, 0), kFace);
  EXPECT_EQ(shown.pixel(1, 1), kGreen);
  EXPECT_EQ(shown.pixel(3, 3), kGreen);
  EXPECT_EQ(shown.pixel(4, 3), kFace);
  EXPECT_EQ(shown.pixel(20, 20), kFace);
}

TEST_F(PictureOnPanel, AMetafileIsPlayedIntoTheRectangleShortenedByOnePixel) {
  Place(100, 50);
  // Placeable, box 0,0-200,100 at 96 per inch; a red brush, no pen, a rectangle over the box.
  std::string placeable =
      U32(0x9AC6CDD7) + U16(0) + U16(0) + U16(0) + U16(200) + U16(100) + U16(96) + U32(0);
  unsigned sum = 0;
  for (std::size_t i = 0; i < placeable.size(); i += 2)
    sum ^= U16Of(placeable, i);
  placeable += U16(sum);
  const std::string records = U32(7) + U16(0x02FC) + U16(0) + U32(0x0000FF) + U16(0) +  // brush
                              U32(4) + U16(0x012D) + U16(0) +                           // select
                              U32(8) + U16(0x02FA) + U16(5) + U32(0) + U32(0) +         // no pen
                              U32(4) + U16(0x012D) + U16(1) +                           // select
                              U32(7) + U16(0x041B) + U16(100) + U16(200) + U16(0) + U16(0) +
                              U32(3) + U16(0);
  const std::string header = U16(1) + U16(9) + U16(0x300) + U32(0) + U16(2) + U32(8) + U16(0);
  Load("box.wmf", placeable + header + records);
  EXPECT_EQ(control_->Picture().Width(), 200);
  EXPECT_EQ(control_->Picture().Height(), 100);
  control_->SetStretch(true);
  const QImage shown = Shown(panel_);
  EXPECT_EQ(shown.pixel(0, 0), kRed);
  EXPECT_EQ(shown.pixel(98, 48), kRed);
  EXPECT_EQ(shown.pixel(99, 20), kFace);
  EXPECT_EQ(shown.pixel(20, 49), kFace);
}

TEST_F(PictureOnPanel, AutoSizeHasNoLastingEffectInAFilledPanel) {
  Place(300, 200);
  control_->SetAutoSize(true);
  Load("tai.bmp", SolidBitmap(20, 10));
  panel_.layout()->activate();
  EXPECT_EQ(control_->size(), QSize(300, 200));
}

TEST_F(PictureOnPanel, ADoubleClickCallsTheOwnersHandler) {
  Place(30, 20);
  int clicks = 0;
  control_->SetOnDoubleClick([&] { ++clicks; });
  QMouseEvent click(QEvent::MouseButtonDblClick, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(control_, &click);
  EXPECT_EQ(clicks, 1);
}

}  // namespace
