#include "pictures/MetafileCanvas.h"

#include <QFontMetricsF>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

enum MapMode : unsigned {
  kText = 1,
  kLoMetric,
  kHiMetric,
  kLoEnglish,
  kHiEnglish,
  kTwips,
  kIsotropic,
  kAnisotropic
};

// Millimetres per logical unit of the physical map modes.
double MillimetresPerUnit(unsigned mode) {
  switch (mode) {
    case kLoMetric:
      return 0.1;
    case kHiMetric:
      return 0.01;
    case kLoEnglish:
      return 0.254;
    case kHiEnglish:
      return 0.0254;
    case kTwips:
      return 25.4 / 1440;
    default:
      return 0;
  }
}

bool Finite(const QTransform& t) {
  for (const double v :
       {t.m11(), t.m12(), t.m13(), t.m21(), t.m22(), t.m23(), t.m31(), t.m32(), t.m33()}) {
    if (!std::isfinite(v)) return false;
  }
  return true;
}

double Ratio(double viewport, double window) {
  return window == 0 ? 1 : viewport / window;
}

constexpr std::uint32_t kStockBit = 0x80000000;
// Beyond this size text cannot be read anyway, and its glyphs would take long to make.
constexpr double kLargestTextPixels = 2048;
constexpr int kLongestText = 4096;

MetafileCanvas::Object StockObject(std::uint32_t stock) {
  using Brush = MetafileCanvas::Brush;
  using Pen = MetafileCanvas::Pen;
  switch (stock) {
    case 0:
      return Brush{0, Qt::white};
    case 1:
      return Brush{0, QColor(0xC0, 0xC0, 0xC0)};
    case 2:
      return Brush{0, QColor(0x80, 0x80, 0x80)};
    case 3:
      return Brush{0, QColor(0x40, 0x40, 0x40)};
    case 4:
      return Brush{0, Qt::black};
    case 5:
      return Brush{1};
    case 6:
      return Pen{0, 0, Qt::white};
    case 7:
      return Pen{0, 0, Qt::black};
    case 8:
      return Pen{5};
    case 18:
      return Brush{0, Qt::white};
    case 19:
      return Pen{0, 0, Qt::black};
    default:
      return stock >= 10 && stock <= 17 ? MetafileCanvas::Object(MetafileCanvas::Font{})
                                        : MetafileCanvas::Object();
  }
}

Qt::PenStyle PenStyle(unsigned style) {
  switch (style & 0xF) {
    case 1:
      return Qt::DashLine;
    case 2:
      return Qt::DotLine;
    case 3:
      return Qt::DashDotLine;
    case 4:
      return Qt::DashDotDotLine;
    case 5:
      return Qt::NoPen;
    default:
      return Qt::SolidLine;
  }
}

Qt::BrushStyle HatchStyle(unsigned hatch) {
  switch (hatch) {
    case 0:
      return Qt::HorPattern;
    case 1:
      return Qt::VerPattern;
    case 2:
      return Qt::FDiagPattern;
    case 3:
      return Qt::BDiagPattern;
    case 4:
      return Qt::CrossPattern;
    default:
      return Qt::DiagCrossPattern;
  }
}

QPainterPath PathThrough(QPointF start, const std::vector<QPointF>& points, bool curves) {
  QPainterPath path(start);
  if (curves) {
    for (std::size_t i = 0; i + 2 < points.size(); i += 3) {
      path.cubicTo(points[i], points[i + 1], points[i + 2]);
    }
  } else {
    for (const QPointF& point : points)
      path.lineTo(point);
  }
  return path;
}

}  // namespace

MetafileCanvas::MetafileCanvas(QPainter& painter, const QTransform& frameToDevice,
                               double framePixelsPerMm)
    : painter_(painter), frameToDevice_(frameToDevice), framePixelsPerMm_(framePixelsPerMm) {}

QTransform MetafileCanvas::FrameOnto(const QRectF& frame, const QRectF& target) {
  const double sx = Ratio(target.width(), frame.width());
  const double sy = Ratio(target.height(), frame.height());
  return QTransform(sx, 0, 0, sy, target.left() - frame.left() * sx,
                    target.top() - frame.top() * sy);
}

void MetafileCanvas::SetMapMode(unsigned mode) {
  if (mode >= kText && mode <= kAnisotropic) state_.mapMode = mode;
}

void MetafileCanvas::SetWindowOrg(QPointF origin) {
  state_.windowOrg = origin;
}
void MetafileCanvas::SetWindowExt(QSizeF extent) {
  state_.windowExt = extent;
}
void MetafileCanvas::SetViewportOrg(QPointF origin) {
  state_.viewportOrg = origin;
}
void MetafileCanvas::SetViewportExt(QSizeF extent) {
  state_.viewportExt = extent;
}

void MetafileCanvas::SetWorldTransform(const QTransform& world) {
  if (Finite(world)) state_.world = world;
}

void MetafileCanvas::ModifyWorldTransform(const QTransform& world, unsigned mode) {
  switch (mode) {
    case 1:
      state_.world = QTransform();
      break;
    case 2:
      SetWorldTransform(world * state_.world);
      break;
    case 3:
      SetWorldTransform(state_.world * world);
      break;
    case 4:
      SetWorldTransform(world);
      break;
    default:
      break;
  }
}

void MetafileCanvas::StoreObject(std::size_t index, Object object) {
  // A corrupt index must not grow the table without bound.
  if (index >= 0x10000) return;
  if (index >= objects_.size()) objects_.resize(index + 1);
  objects_[index] = std::move(object);
}

void MetafileCanvas::StoreInFreeSlot(Object object) {
  const auto free = std::find_if(objects_.begin(), objects_.end(), [](const Object& o) {
    return std::holds_alternative<std::monostate>(o);
  });
  if (free == objects_.end()) {
    StoreObject(objects_.size(), std::move(object));
  } else {
    *free = std::move(object);
  }
}

void MetafileCanvas::SelectObject(std::uint32_t index) {
  const Object object = (index & kStockBit) != 0  ? StockObject(index & ~kStockBit)
                        : index < objects_.size() ? objects_[index]
                                                  : Object();
  if (const auto* pen = std::get_if<Pen>(&object)) state_.pen = *pen;
  if (const auto* brush = std::get_if<Brush>(&object)) state_.brush = *brush;
  if (const auto* font = std::get_if<Font>(&object)) state_.font = *font;
}

void MetafileCanvas::DeleteObject(std::uint32_t index) {
  if (index < objects_.size()) objects_[index] = std::monostate();
}

void MetafileCanvas::SaveState() {
  if (saved_.size() < 0x10000) saved_.push_back(state_);
}

void MetafileCanvas::RestoreState(int which) {
  // Negative: that many levels back; positive: the level of that number.
  const auto depth = static_cast<long long>(saved_.size());
  const long long keep = which < 0 ? depth + which : static_cast<long long>(which) - 1;
  if (keep < 0 || keep >= depth) return;
  state_ = saved_[static_cast<std::size_t>(keep)];
  saved_.resize(static_cast<std::size_t>(keep));
}

QTransform MetafileCanvas::LogicalToDevice() const {
  const State& s = state_;
  double sx = 1, sy = 1;
  if (const double mm = MillimetresPerUnit(s.mapMode); mm != 0) {
    sx = mm * framePixelsPerMm_;
    sy = -sx;
  } else if (s.mapMode == kIsotropic || s.mapMode == kAnisotropic) {
    sx = Ratio(s.viewportExt.width(), s.windowExt.width());
    sy = Ratio(s.viewportExt.height(), s.windowExt.height());
    if (s.mapMode == kIsotropic) {
      const double scale = std::min(std::abs(sx), std::abs(sy));
      sx = std::copysign(scale, sx);
      sy = std::copysign(scale, sy);
    }
  }
  const QTransform page(sx, 0, 0, sy, s.viewportOrg.x() - s.windowOrg.x() * sx,
                        s.viewportOrg.y() - s.windowOrg.y() * sy);
  return s.world * page * frameToDevice_;
}

bool MetafileCanvas::PrepareShape(bool filled) {
  const QTransform transform = LogicalToDevice();
  if (!Finite(transform) || !transform.isInvertible()) return false;
  painter_.setTransform(transform);
  const Pen& pen = state_.pen;
  const Qt::PenStyle style = PenStyle(pen.style);
  if (style == Qt::NoPen) {
    painter_.setPen(Qt::NoPen);
  } else {
    QPen qpen(pen.color, pen.width, pen.width > 1 ? Qt::SolidLine : style);
    qpen.setCosmetic(pen.width <= 0);
    if (pen.width <= 0) qpen.setWidth(1);
    painter_.setPen(qpen);
  }
  const Brush& brush = state_.brush;
  if (!filled || brush.style == 1) {
    painter_.setBrush(Qt::NoBrush);
  } else {
    painter_.setBrush(
        QBrush(brush.color, brush.style == 2 ? HatchStyle(brush.hatch) : Qt::SolidPattern));
  }
  return style != Qt::NoPen || (filled && brush.style != 1);
}

void MetafileCanvas::StrokePath(const QPainterPath& path) {
  if (PrepareShape(false)) painter_.drawPath(path);
}

void MetafileCanvas::FillAndStrokePath(const QPainterPath& path) {
  if (PrepareShape(true)) painter_.drawPath(path);
}

void MetafileCanvas::LineTo(QPointF point) {
  if (PrepareShape(false)) painter_.drawLine(state_.position, point);
  state_.position = point;
}

void MetafileCanvas::Rectangle(const QRectF& rect) {
  if (PrepareShape(true)) painter_.drawRect(rect.normalized());
}

void MetafileCanvas::RoundRect(const QRectF& rect, QSizeF corner) {
  if (PrepareShape(true)) {
    painter_.drawRoundedRect(rect.normalized(), std::abs(corner.width()) / 2,
                             std::abs(corner.height()) / 2);
  }
}

void MetafileCanvas::Ellipse(const QRectF& rect) {
  if (PrepareShape(true)) painter_.drawEllipse(rect.normalized());
}

void MetafileCanvas::Polyline(const std::vector<QPointF>& points) {
  if (points.size() < 2) return;
  StrokePath(PathThrough(points.front(), {points.begin() + 1, points.end()}, false));
}

void MetafileCanvas::PolylineTo(const std::vector<QPointF>& points) {
  if (points.empty()) return;
  StrokePath(PathThrough(state_.position, points, false));
  state_.position = points.back();
}

void MetafileCanvas::PolyBezier(const std::vector<QPointF>& points) {
  if (points.size() < 4) return;
  StrokePath(PathThrough(points.front(), {points.begin() + 1, points.end()}, true));
}

void MetafileCanvas::PolyBezierTo(const std::vector<QPointF>& points) {
  if (points.size() < 3) return;
  StrokePath(PathThrough(state_.position, points, true));
  state_.position = points[(points.size() / 3) * 3 - 1];
}

void MetafileCanvas::Polygons(const std::vector<std::vector<QPointF>>& polygons) {
  QPainterPath path;
  path.setFillRule(state_.winding ? Qt::WindingFill : Qt::OddEvenFill);
  for (const auto& polygon : polygons) {
    if (polygon.size() < 2) continue;
    path.addPolygon(QPolygonF(QList<QPointF>(polygon.begin(), polygon.end())));
    path.closeSubpath();
  }
  if (!path.isEmpty()) FillAndStrokePath(path);
}

void MetafileCanvas::Polylines(const std::vector<std::vector<QPointF>>& polylines) {
  for (const auto& polyline : polylines)
    Polyline(polyline);
}

void MetafileCanvas::TextOut(QPointF reference, const QString& text) {
  const QTransform transform = LogicalToDevice();
  if (text.isEmpty() || text.size() > kLongestText || !Finite(transform)) return;
  // Text is never mirrored or stretched: only its anchor and its height are mapped.
  const bool updatesPosition = (state_.textAlign & 1) != 0;
  const QPointF anchor = transform.map(updatesPosition ? state_.position : reference);
  const double unitHeight =
      QLineF(transform.map(QPointF(0, 0)), transform.map(QPointF(0, 1))).length();
  const double logicalHeight = state_.font.height == 0 ? 12 : std::abs(state_.font.height);
  const double pixels = logicalHeight * unitHeight;
  if (!(pixels >= 1 && pixels <= kLargestTextPixels)) return;

  QFont font(state_.font.face.isEmpty() ? QStringLiteral("IPAGothic") : state_.font.face);
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
  font.setWeight(static_cast<QFont::Weight>(std::clamp(state_.font.weight, 1, 1000)));
  font.setItalic(state_.font.italic);
  font.setUnderline(state_.font.underline);
  font.setStrikeOut(state_.font.strikeOut);
  const QFontMetricsF metrics(font);
  const double width = metrics.horizontalAdvance(text);
  const unsigned horizontal = state_.textAlign & 6, vertical = state_.textAlign & 24;
  const double dx = horizontal == 6 ? -width / 2 : horizontal == 2 ? -width : 0;
  const double dy = vertical == 24 ? 0 : vertical == 8 ? -metrics.descent() : metrics.ascent();

  painter_.save();
  painter_.resetTransform();
  painter_.translate(anchor);
  painter_.rotate(-state_.font.escapement / 10);
  if (state_.opaqueBackground) {
    painter_.fillRect(QRectF(dx, dy - metrics.ascent(), width, metrics.height()),
                      state_.backgroundColor);
  }
  painter_.setFont(font);
  painter_.setPen(state_.textColor);
  painter_.drawText(QPointF(dx, dy), text);
  painter_.restore();
  if (updatesPosition) state_.position = transform.inverted().map(anchor + QPointF(width, 0));
}
