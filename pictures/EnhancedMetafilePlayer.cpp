#include <QString>

#include <bit>
#include <cstdint>
#include <vector>

#include "pictures/LittleEndian.h"
#include "pictures/MetafileCanvas.h"
#include "pictures/MetafilePlayers.h"

namespace {

using namespace little_endian;

enum RecordType : std::uint32_t {
  kHeader = 1,
  kPolyBezier = 2,
  kPolygon = 3,
  kPolyline = 4,
  kPolyBezierTo = 5,
  kPolylineTo = 6,
  kPolyPolyline = 7,
  kPolyPolygon = 8,
  kSetWindowExt = 9,
  kSetWindowOrg = 10,
  kSetViewportExt = 11,
  kSetViewportOrg = 12,
  kEof = 14,
  kSetMapMode = 17,
  kSetBackgroundMode = 18,
  kSetPolygonFillMode = 19,
  kSetTextAlign = 22,
  kSetTextColor = 24,
  kSetBackgroundColor = 25,
  kMoveTo = 27,
  kSaveState = 33,
  kRestoreState = 34,
  kSetWorldTransform = 35,
  kModifyWorldTransform = 36,
  kSelectObject = 37,
  kCreatePen = 38,
  kCreateBrush = 39,
  kDeleteObject = 40,
  kEllipse = 42,
  kRectangle = 43,
  kRoundRect = 44,
  kCreatePalette = 49,
  kLineTo = 54,
  kCreateFont = 82,
  kTextOutAnsi = 83,
  kTextOutWide = 84,
  kPolyBezier16 = 85,
  kPolygon16 = 86,
  kPolyline16 = 87,
  kPolyBezierTo16 = 88,
  kPolylineTo16 = 89,
  kPolyPolyline16 = 90,
  kPolyPolygon16 = 91,
  kCreateMonoBrush = 93,
  kCreatePatternBrush = 94,
  kExtCreatePen = 95,
};

QColor ColorRef(std::uint32_t value) {
  return QColor(value & 0xFF, value >> 8 & 0xFF, value >> 16 & 0xFF);
}

float Float(std::string_view bytes, std::size_t at) {
  return std::bit_cast<float>(U32(bytes, at));
}

// One record: its bytes, read with bounds checks that fail as zero.
class Record {
 public:
  explicit Record(std::string_view bytes) : bytes_(bytes) {}

  std::uint32_t Type() const { return U32(bytes_, 0); }
  bool Has(std::uint64_t at, std::uint64_t count) const { return Holds(bytes_, at, count); }
  std::uint32_t U(std::size_t at) const { return Has(at, 4) ? U32(bytes_, at) : 0; }
  std::int32_t I(std::size_t at) const { return Has(at, 4) ? I32(bytes_, at) : 0; }
  QPointF Point(std::size_t at) const { return QPointF(I(at), I(at + 4)); }
  QSizeF Size(std::size_t at) const { return QSizeF(I(at), I(at + 4)); }
  QRectF Rect(std::size_t at) const { return QRectF(Point(at), QPointF(I(at + 8), I(at + 12))); }

  // `count` points from `at`, 32-bit or 16-bit coordinates; empty when they do not fit.
  std::vector<QPointF> Points(std::size_t at, std::uint64_t count, bool small) const {
    const std::size_t size = small ? 4 : 8;
    if (!Has(at, count * size)) return {};
    std::vector<QPointF> points;
    points.reserve(count);
    for (std::uint64_t i = 0; i < count; ++i) {
      const std::size_t p = at + i * size;
      points.emplace_back(small ? I16(bytes_, p) : I32(bytes_, p),
                          small ? I16(bytes_, p + 2) : I32(bytes_, p + 4));
    }
    return points;
  }

  // Poly-polygons: the count of figures, of points, the counts of each, then the points.
  std::vector<std::vector<QPointF>> Figures(bool small) const {
    const std::uint64_t figures = U(24), total = U(28);
    if (!Has(32, figures * 4)) return {};
    const std::vector<QPointF> points = Points(32 + figures * 4, total, small);
    std::vector<std::vector<QPointF>> result;
    std::uint64_t used = 0;
    for (std::uint64_t i = 0; i < figures; ++i) {
      const std::uint64_t count = U(32 + i * 4);
      if (count > points.size() - used) break;
      result.emplace_back(points.begin() + used, points.begin() + used + count);
      used += count;
    }
    return result;
  }

  QTransform Transform(std::size_t at) const {
    if (!Has(at, 24)) return {};
    return QTransform(Float(bytes_, at), Float(bytes_, at + 4), Float(bytes_, at + 8),
                      Float(bytes_, at + 12), Float(bytes_, at + 16), Float(bytes_, at + 20));
  }

  QString Text(bool wide) const {
    const std::uint64_t count = U(44), offset = U(48);
    if (!Has(offset, count * (wide ? 2 : 1))) return {};
    QString text;
    for (std::uint64_t i = 0; i < count; ++i) {
      text += wide ? QChar(U16(bytes_, offset + 2 * i)) : QChar(U8(bytes_, offset + i));
    }
    return text;
  }

  MetafileCanvas::Font Font() const {
    MetafileCanvas::Font font;
    if (!Has(12, 92)) return font;
    font.height = I(12);
    font.escapement = I(20);
    font.weight = I(28);
    font.italic = U8(bytes_, 32) != 0;
    font.underline = U8(bytes_, 33) != 0;
    font.strikeOut = U8(bytes_, 34) != 0;
    font.charset = U8(bytes_, 35);
    for (std::size_t i = 0; i < 32 && U16(bytes_, 40 + 2 * i) != 0; ++i) {
      font.face += QChar(U16(bytes_, 40 + 2 * i));
    }
    return font;
  }

 private:
  std::string_view bytes_;
};

void Play(const Record& r, MetafileCanvas& canvas) {
  switch (r.Type()) {
    case kPolyBezier:
      canvas.PolyBezier(r.Points(28, r.U(24), false));
      break;
    case kPolygon:
      canvas.Polygons({r.Points(28, r.U(24), false)});
      break;
    case kPolyline:
      canvas.Polyline(r.Points(28, r.U(24), false));
      break;
    case kPolyBezierTo:
      canvas.PolyBezierTo(r.Points(28, r.U(24), false));
      break;
    case kPolylineTo:
      canvas.PolylineTo(r.Points(28, r.U(24), false));
      break;
    case kPolyBezier16:
      canvas.PolyBezier(r.Points(28, r.U(24), true));
      break;
    case kPolygon16:
      canvas.Polygons({r.Points(28, r.U(24), true)});
      break;
    case kPolyline16:
      canvas.Polyline(r.Points(28, r.U(24), true));
      break;
    case kPolyBezierTo16:
      canvas.PolyBezierTo(r.Points(28, r.U(24), true));
      break;
    case kPolylineTo16:
      canvas.PolylineTo(r.Points(28, r.U(24), true));
      break;
    case kPolyPolyline:
      canvas.Polylines(r.Figures(false));
      break;
    case kPolyPolygon:
      canvas.Polygons(r.Figures(false));
      break;
    case kPolyPolyline16:
      canvas.Polylines(r.Figures(true));
      break;
    case kPolyPolygon16:
      canvas.Polygons(r.Figures(true));
      break;
    case kSetWindowExt:
      canvas.SetWindowExt(r.Size(8));
      break;
    case kSetWindowOrg:
      canvas.SetWindowOrg(r.Point(8));
      break;
    case kSetViewportExt:
      canvas.SetViewportExt(r.Size(8));
      break;
    case kSetViewportOrg:
      canvas.SetViewportOrg(r.Point(8));
      break;
    case kSetMapMode:
      canvas.SetMapMode(r.U(8));
      break;
    case kSetBackgroundMode:
      canvas.SetBackgroundMode(r.U(8));
      break;
    case kSetPolygonFillMode:
      canvas.SetPolygonFillMode(r.U(8));
      break;
    case kSetTextAlign:
      canvas.SetTextAlign(r.U(8));
      break;
    case kSetTextColor:
      canvas.SetTextColor(ColorRef(r.U(8)));
      break;
    case kSetBackgroundColor:
      canvas.SetBackgroundColor(ColorRef(r.U(8)));
      break;
    case kMoveTo:
      canvas.MoveTo(r.Point(8));
      break;
    case kLineTo:
      canvas.LineTo(r.Point(8));
      break;
    case kSaveState:
      canvas.SaveState();
      break;
    case kRestoreState:
      canvas.RestoreState(r.I(8));
      break;
    case kSetWorldTransform:
      canvas.SetWorldTransform(r.Transform(8));
      break;
    case kModifyWorldTransform:
      canvas.ModifyWorldTransform(r.Transform(8), r.U(32));
      break;
    case kSelectObject:
      canvas.SelectObject(r.U(8));
      break;
    case kDeleteObject:
      canvas.DeleteObject(r.U(8));
      break;
    case kCreatePen:
      canvas.StoreObject(r.U(8), MetafileCanvas::Pen{r.U(12), double(r.I(16)), ColorRef(r.U(24))});
      break;
    case kExtCreatePen:
      canvas.StoreObject(r.U(8), MetafileCanvas::Pen{r.U(28), double(r.U(32)), ColorRef(r.U(40))});
      break;
    case kCreateBrush:
      canvas.StoreObject(r.U(8), MetafileCanvas::Brush{r.U(12), ColorRef(r.U(16)), r.U(20)});
      break;
    case kCreatePalette:
    case kCreateMonoBrush:
    case kCreatePatternBrush:
      canvas.StoreObject(r.U(8), MetafileCanvas::Other{});
      break;
    case kCreateFont:
      canvas.StoreObject(r.U(8), r.Font());
      break;
    case kEllipse:
      canvas.Ellipse(r.Rect(8));
      break;
    case kRectangle:
      canvas.Rectangle(r.Rect(8));
      break;
    case kRoundRect:
      canvas.RoundRect(r.Rect(8), r.Size(24));
      break;
    case kTextOutAnsi:
      canvas.TextOut(r.Point(36), r.Text(false));
      break;
    case kTextOutWide:
      canvas.TextOut(r.Point(36), r.Text(true));
      break;
    default:
      break;
  }
}

}  // namespace

void PlayEnhancedMetafile(std::string_view file, QPainter& painter, const QRectF& target) {
  // The frame is in hundredths of a millimetre; the records draw in the reference device's
  // pixels, of which the header tells the size.
  const QRectF frame(QPointF(I32(file, 24), I32(file, 28)), QPointF(I32(file, 32), I32(file, 36)));
  const double deviceWidth = I32(file, 72), millimetreWidth = I32(file, 80);
  const double deviceHeight = I32(file, 76), millimetreHeight = I32(file, 84);
  const double perMmX =
      millimetreWidth > 0 && deviceWidth > 0 ? deviceWidth / millimetreWidth : 96 / 25.4;
  const double perMmY =
      millimetreHeight > 0 && deviceHeight > 0 ? deviceHeight / millimetreHeight : 96 / 25.4;
  const QRectF frameOnDevice(frame.left() * perMmX / 100, frame.top() * perMmY / 100,
                             frame.width() * perMmX / 100, frame.height() * perMmY / 100);
  MetafileCanvas canvas(painter, MetafileCanvas::FrameOnto(frameOnDevice, target), perMmX);

  std::size_t at = 0;
  while (Holds(file, at, 8)) {
    const std::uint32_t type = U32(file, at), size = U32(file, at + 4);
    if (size < 8 || size % 4 != 0 || !Holds(file, at, size) || type == kEof) break;
    if (type != kHeader) Play(Record(file.substr(at, size)), canvas);
    at += size;
  }
}
