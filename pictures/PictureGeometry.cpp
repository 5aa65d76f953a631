#include "pictures/PictureGeometry.h"

#include <cmath>

namespace {

// The quotient or product is formed at 80-bit extended precision (long double here) from
// the 64-bit ratio and then truncated: a 1 x 173 picture 346 pixels high is 1 pixel wide,
// where 64-bit arithmetic would round 346 x (1/173) up to 2.
int Truncated(long double value) {
  return static_cast<int>(std::trunc(value));
}

}  // namespace

QRect DestinationRect(QSize picture, QSize control, PictureFit fit) {
  int w = picture.width(), h = picture.height();
  const int cw = control.width(), ch = control.height();
  if (fit.stretch || (fit.proportional && (w > cw || h > ch))) {
    if (fit.proportional && w > 0 && h > 0) {
      const double ratio = static_cast<double>(w) / static_cast<double>(h);
      const long double r = ratio;
      if (w > h) {
        w = cw;
        h = Truncated(cw / r);
        if (h > ch) {
          h = ch;
          w = Truncated(ch * r);
        }
      } else {
        h = ch;
        w = Truncated(ch * r);
        if (w > cw) {
          w = cw;
          h = Truncated(cw / r);
        }
      }
    } else {
      w = cw;
      h = ch;
    }
  }
  QRect rect(0, 0, w, h);
  if (fit.center) rect.translate((cw - w) / 2, (ch - h) / 2);
  return rect;
}
