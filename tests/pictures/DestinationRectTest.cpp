#include <gtest/gtest.h>

#include "pictures/PictureGeometry.h"

namespace {

struct Case {
  QSize picture, control;
  PictureFit fit;
  int left, top, right, bottom;
};

constexpr PictureFit kFit{.stretch = true, .proportional = true, .center = true};
constexpr PictureFit kActualSize{};
constexpr PictureFit kFill{.stretch = true};

TEST(DestinationRect, FollowsTheThreeDisplayModes) {
  const Case cases[] = {
      {{1600, 1200}, {512, 346}, kFit, 25, 0, 486, 346},
      {{100, 50}, {512, 346}, kFit, 0, 45, 512, 301},   // scaled up
      {{300, 300}, {512, 346}, kFit, 83, 0, 429, 346},  // square takes the portrait branch
      {{480, 640}, {512, 346}, kFit, 126, 0, 385, 346},
      {{3000, 2000}, {512, 346}, kFit, 0, 2, 512, 343},
      {{1, 173}, {512, 346}, kFit, 255, 0, 256, 346},  // 346 x r just below 2 when extended
      {{0, 0}, {512, 346}, kFit, 0, 0, 512, 346},      // empty: stretched, nothing to keep
      {{3000, 2000}, {1007, 648}, kActualSize, 0, 0, 3000, 2000},  // cut off by the clip
      {{200, 100}, {1007, 648}, kActualSize, 0, 0, 200, 100},
      {{3000, 2000}, {1007, 648}, kFill, 0, 0, 1007, 648},
      {{200, 100}, {1007, 648}, kFill, 0, 0, 1007, 648},
      {{1, 173}, {512, 346}, kFill, 0, 0, 512, 346},
      {{100, 50}, {512, 346}, {.proportional = true}, 0, 0, 100, 50},  // smaller: own size
      {{1600, 1200}, {512, 346}, {.proportional = true}, 0, 0, 461, 346},
      {{200, 100}, {1007, 648}, {.center = true}, 403, 274, 603, 374},
  };
  for (const Case& c : cases) {
    const QRect rect = DestinationRect(c.picture, c.control, c.fit);
    EXPECT_EQ(rect.left(), c.left) << c.picture.width() << "x" << c.picture.height();
    EXPECT_EQ(rect.top(), c.top) << c.picture.width() << "x" << c.picture.height();
    EXPECT_EQ(rect.left() + rect.width(), c.right)
        << c.picture.width() << "x" << c.picture.height();
    EXPECT_EQ(rect.top() + rect.height(), c.bottom)
        << c.picture.width() << "x" << c.picture.height();
  }
}

}  // namespace
