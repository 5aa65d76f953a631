#include "pictures/PixelDrawing.h"

#include <QPaintDevice>

#include <vector>

namespace {

// For `count` destination columns (or rows) from `first`, the source one each centre falls on.
std::vector<int> Samples(int from, int to, int first, int count) {
  std::vector<int> samples(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const long long at = first + i;
    samples[static_cast<std::size_t>(i)] = static_cast<int>((2 * at + 1) * from / (2LL * to));
  }
  return samples;
}

}  // namespace

QImage ResampleNearest(const QImage& source, QSize size, const QRect& part) {
  QImage result(part.size(), QImage::Format_RGB32);
  if (result.isNull()) return result;
  const std::vector<int> columns = Samples(source.width(), size.width(), part.x(), part.width());
  const std::vector<int> rows = Samples(source.height(), size.height(), part.y(), part.height());
  const bool indexed = source.format() == QImage::Format_Indexed8;
  const QList<QRgb> colors = indexed ? source.colorTable() : QList<QRgb>();
  const QImage direct = indexed || source.format() == QImage::Format_RGB32
                            ? source
                            : source.convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < part.height(); ++y) {
    auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
    const uchar* in = direct.constScanLine(rows[static_cast<std::size_t>(y)]);
    if (indexed) {
      for (int x = 0; x < part.width(); ++x) {
        const uchar index = in[columns[static_cast<std::size_t>(x)]];
        out[x] = index < colors.size() ? colors[index] : 0xFF000000;
      }
    } else {
      const auto* pixels = reinterpret_cast<const QRgb*>(in);
      for (int x = 0; x < part.width(); ++x)
        out[x] = pixels[columns[static_cast<std::size_t>(x)]];
    }
  }
  return result;
}

void PixelDrawing::Draw(QPainter& painter, const QRect& destination, const QImage& pixels) {
  if (pixels.isNull() || destination.isEmpty()) return;
  if (destination.size() == pixels.size() && pixels.format() == QImage::Format_RGB32) {
    painter.drawImage(destination.topLeft(), pixels);
    return;
  }
  const QRect device(0, 0, painter.device()->width(), painter.device()->height());
  const QRect visible = destination.intersected(device);
  if (visible.isEmpty()) return;
  if (destination != destination_ || visible != part_ || pixels.cacheKey() != sourceKey_) {
    resampled_ =
        ResampleNearest(pixels, destination.size(), visible.translated(-destination.topLeft()));
    destination_ = destination;
    part_ = visible;
    sourceKey_ = pixels.cacheKey();
  }
  painter.drawImage(visible.topLeft(), resampled_);
}
