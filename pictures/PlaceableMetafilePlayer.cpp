#include <QString>

#include <cstdint>
#include <vector>

#include "controls/QtText.h"
#include "pictures/LittleEndian.h"
#include "pictures/MetafileCanvas.h"
#include "pictures/MetafilePlayers.h"

namespace {

using namespace little_endian;

enum Function : std::uint16_t {
  kEof = 0x0000,
  kSaveState = 0x001E,
  kCreatePalette = 0x00F7,
  kSetBackgroundMode = 0x0102,
  kSetPolygonFillMode = 0x0106,
  kRestoreState = 0x0127,
  kSelectObject = 0x012D,
  kSetTextAlign = 0x012E,
  kCreateDibPatternBrush = 0x0142,
  kDeleteObject = 0x01F0,
  kCreatePatternBrush = 0x01F9,
  kSetBackgroundColor = 0x0201,
  kSetTextColor = 0x0209,
  kSetWindowOrg = 0x020B,
  kSetWindowExt = 0x020C,
  kLineTo = 0x0213,
  kMoveTo = 0x0214,
  kCreatePen = 0x02FA,
  kCreateFont = 0x02FB,
  kCreateBrush = 0x02FC,
  kPolygon = 0x0324,
  kPolyline = 0x0325,
  kEllipse = 0x0418,
  kRectangle = 0x041B,
  kTextOut = 0x0521,
  kPolyPolygon = 0x0538,
  kRoundRect = 0x061C,
  kCreateRegion = 0x06FF,
  kExtTextOut = 0x0A32,
};

constexpr std::size_t kPlaceableSize = 22;
constexpr unsigned kShiftJisCharset = 128, kDefaultCharset = 1;

QColor ColorRef(std::uint32_t value) {
  return QColor(value & 0xFF, value >> 8 & 0xFF, value >> 16 & 0xFF);
}

// One record's parameters, read with bounds checks that fail as zero. Most records give
// their coordinates last to first.
class Parameters {
 public:
  explicit Parameters(std::string_view bytes) : bytes_(bytes) {}

  bool Has(std::uint64_t at, std::uint64_t count) const { return Holds(bytes_, at, count); }
  int S(std::size_t word) const { return Has(2 * word, 2) ? I16(bytes_, 2 * word) : 0; }
  unsigned W(std::size_t word) const { return Has(2 * word, 2) ? U16(bytes_, 2 * word) : 0; }
  std::uint32_t D(std::size_t word) const { return W(word) | std::uint32_t{W(word + 1)} << 16; }
  unsigned Byte(std::size_t at) const { return Has(at, 1) ? U8(bytes_, at) : 0; }
  std::string_view Bytes(std::size_t at, std::size_t count) const {
    return Has(at, count) ? bytes_.substr(at, count) : std::string_view();
  }
  // Left, top, right, bottom given as bottom, right, top, left from `word`.
  QRectF Rect(std::size_t word) const {
    return QRectF(QPointF(S(word + 3), S(word + 2)), QPointF(S(word + 1), S(word)));
  }
  std::vector<QPointF> Points(std::size_t word, std::uint64_t count) const {
    if (!Has(2 * word, count * 4)) return {};
    std::vector<QPointF> points;
    points.reserve(count);
    for (std::uint64_t i = 0; i < count; ++i)
      points.emplace_back(S(word + 2 * i), S(word + 2 * i + 1));
    return points;
  }

 private:
  std::string_view bytes_;
};

QString TextOf(std::string_view bytes, unsigned charset) {
  if (charset == kShiftJisCharset || charset == kDefaultCharset) return ToQt(bytes);
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

MetafileCanvas::Font FontOf(const Parameters& p) {
  MetafileCanvas::Font font;
  font.height = p.S(0);
  font.escapement = p.S(2);
  font.weight = p.S(4);
  font.italic = p.Byte(10) != 0;
  font.underline = p.Byte(11) != 0;
  font.strikeOut = p.Byte(12) != 0;
  font.charset = p.Byte(13);
  std::string face;
  for (std::size_t i = 18; i < 18 + 32 && p.Byte(i) != 0; ++i)
    face += static_cast<char>(p.Byte(i));
  font.face = TextOf(face, font.charset);
  return font;
}

std::vector<std::vector<QPointF>> Figures(const Parameters& p) {
  const unsigned figures = p.W(0);
  std::vector<std::vector<QPointF>> result;
  std::size_t word = 1 + figures;
  for (unsigned i = 0; i < figures; ++i) {
    const unsigned count = p.W(1 + i);
    std::vector<QPointF> points = p.Points(word, count);
    if (points.size() != count) break;
    result.push_back(std::move(points));
    word += 2 * count;
  }
  return result;
}

void Play(unsigned function, const Parameters& p, MetafileCanvas& canvas) {
  switch (function) {
    case kSaveState:
      canvas.SaveState();
      break;
    case kRestoreState:
      canvas.RestoreState(p.S(0));
      break;
    case kSetBackgroundMode:
      canvas.SetBackgroundMode(p.W(0));
      break;
    case kSetPolygonFillMode:
      canvas.SetPolygonFillMode(p.W(0));
      break;
    case kSetTextAlign:
      canvas.SetTextAlign(p.W(0));
      break;
    case kSetBackgroundColor:
      canvas.SetBackgroundColor(ColorRef(p.D(0)));
      break;
    case kSetTextColor:
      canvas.SetTextColor(ColorRef(p.D(0)));
      break;
    case kSetWindowOrg:
      canvas.SetWindowOrg(QPointF(p.S(1), p.S(0)));
      break;
    case kSetWindowExt:
      canvas.SetWindowExt(QSizeF(p.S(1), p.S(0)));
      break;
    case kMoveTo:
      canvas.MoveTo(QPointF(p.S(1), p.S(0)));
      break;
    case kLineTo:
      canvas.LineTo(QPointF(p.S(1), p.S(0)));
      break;
    case kSelectObject:
      canvas.SelectObject(p.W(0));
      break;
    case kDeleteObject:
      canvas.DeleteObject(p.W(0));
      break;
    case kCreatePen:
      canvas.StoreInFreeSlot(MetafileCanvas::Pen{p.W(0), double(p.S(1)), ColorRef(p.D(3))});
      break;
    case kCreateBrush:
      canvas.StoreInFreeSlot(MetafileCanvas::Brush{p.W(0), ColorRef(p.D(1)), p.W(3)});
      break;
    case kCreateFont:
      canvas.StoreInFreeSlot(FontOf(p));
      break;
    case kCreatePalette:
    case kCreatePatternBrush:
    case kCreateDibPatternBrush:
    case kCreateRegion:
      canvas.StoreInFreeSlot(MetafileCanvas::Other{});
      break;
    case kRectangle:
      canvas.Rectangle(p.Rect(0));
      break;
    case kEllipse:
      canvas.Ellipse(p.Rect(0));
      break;
    case kRoundRect:
      canvas.RoundRect(p.Rect(2), QSizeF(p.S(1), p.S(0)));
      break;
    case kPolyline:
      canvas.Polyline(p.Points(1, p.W(0)));
      break;
    case kPolygon:
      canvas.Polygons({p.Points(1, p.W(0))});
      break;
    case kPolyPolygon:
      canvas.Polygons(Figures(p));
      break;
    case kTextOut: {
      const unsigned length = p.W(0);
      const std::size_t after = 1 + (length + 1) / 2;
      canvas.TextOut(QPointF(p.S(after + 1), p.S(after)),
                     TextOf(p.Bytes(2, length), canvas.FontCharset()));
      break;
    }
    case kExtTextOut: {
      // A clipping or opaque rectangle comes before the text when the options name one.
      const unsigned length = p.W(2);
      const std::size_t text = (p.W(3) & 6) != 0 ? 16 : 8;
      canvas.TextOut(QPointF(p.S(1), p.S(0)), TextOf(p.Bytes(text, length), canvas.FontCharset()));
      break;
    }
    default:
      break;
  }
}

}  // namespace

void PlayPlaceableMetafile(std::string_view file, QPainter& painter, const QRectF& target) {
  // The bounding box is in logical units; the records' window is laid onto it.
  const QRectF box(QPointF(I16(file, 6), I16(file, 8)), QPointF(I16(file, 10), I16(file, 12)));
  MetafileCanvas canvas(painter, MetafileCanvas::FrameOnto(box, target), 96 / 25.4);
  canvas.SetMapMode(8);
  canvas.SetWindowOrg(box.topLeft());
  canvas.SetWindowExt(box.size());
  canvas.SetViewportOrg(box.topLeft());
  canvas.SetViewportExt(box.size());

  const std::size_t headerWords = U16(file, kPlaceableSize + 2);
  std::size_t at = kPlaceableSize + 2 * headerWords;
  while (Holds(file, at, 6)) {
    const std::uint64_t size = 2 * std::uint64_t{U32(file, at)};
    const unsigned function = U16(file, at + 4);
    if (function == kEof || size < 6 || !Holds(file, at, size)) break;
    Play(function, Parameters(file.substr(at + 6, size - 6)), canvas);
    at += size;
  }
}
