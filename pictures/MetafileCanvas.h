#pragma once

#include <QColor>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QTransform>

#include <cstddef>
#include <cstdint>
#include <variant>
#include <vector>

// The drawing state that a metafile's records work on, over a QPainter: the mapping from
// logical coordinates to the picture's frame, the object table, the pen, brush and font in
// use, the current position and the text settings. Both metafile players drive it.
class MetafileCanvas {
 public:
  struct Pen {
    unsigned style = 0;  // PS_SOLID, PS_DASH, ... PS_NULL
    double width = 0;    // logical units; 0 is one device pixel
    QColor color = Qt::black;
  };
  struct Brush {
    unsigned style = 0;  // BS_SOLID, BS_NULL, BS_HATCHED
    QColor color = Qt::white;
    unsigned hatch = 0;
  };
  struct Font {
    double height = 0;      // logical units; negative: the characters' height, 0: the default
    double escapement = 0;  // tenths of a degree, counter-clockwise
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    QString face;
    unsigned charset = 1;  // DEFAULT_CHARSET: the system's code page
  };
  // An object the canvas does not draw with (a palette, a region, a pattern brush): it
  // still takes its slot in the table.
  struct Other {};
  // std::monostate marks a free slot.
  using Object = std::variant<std::monostate, Other, Pen, Brush, Font>;

  // `frameToDevice` maps the frame the logical coordinates end up in onto the painter's
  // device; `framePixelsPerMm` gives the physical map modes their scale.
  MetafileCanvas(QPainter& painter, const QTransform& frameToDevice, double framePixelsPerMm);

  // The transform that lays `frame` onto `target`.
  static QTransform FrameOnto(const QRectF& frame, const QRectF& target);

  void SetMapMode(unsigned mode);
  void SetWindowOrg(QPointF origin);
  void SetWindowExt(QSizeF extent);
  void SetViewportOrg(QPointF origin);
  void SetViewportExt(QSizeF extent);
  void SetWorldTransform(const QTransform& world);
  // Modes of the record: 1 identity, 2 multiply before, 3 multiply after, 4 set.
  void ModifyWorldTransform(const QTransform& world, unsigned mode);

  void StoreObject(std::size_t index, Object object);
  // The lowest free slot, as the 16-bit metafiles number their objects.
  void StoreInFreeSlot(Object object);
  // An index with the high bit set names a stock object.
  void SelectObject(std::uint32_t index);
  void DeleteObject(std::uint32_t index);

  void SetTextColor(QColor color) { state_.textColor = color; }
  void SetBackgroundColor(QColor color) { state_.backgroundColor = color; }
  void SetBackgroundMode(unsigned mode) { state_.opaqueBackground = mode == 2; }
  void SetPolygonFillMode(unsigned mode) { state_.winding = mode == 2; }
  void SetTextAlign(unsigned align) { state_.textAlign = align; }
  unsigned FontCharset() const { return state_.font.charset; }
  void SaveState();
  void RestoreState(int which);

  void MoveTo(QPointF point) { state_.position = point; }
  void LineTo(QPointF point);
  void Rectangle(const QRectF& rect);
  void RoundRect(const QRectF& rect, QSizeF corner);
  void Ellipse(const QRectF& rect);
  void Polyline(const std::vector<QPointF>& points);
  void PolylineTo(const std::vector<QPointF>& points);
  void PolyBezier(const std::vector<QPointF>& points);
  void PolyBezierTo(const std::vector<QPointF>& points);
  void Polygons(const std::vector<std::vector<QPointF>>& polygons);
  void Polylines(const std::vector<std::vector<QPointF>>& polylines);
  void TextOut(QPointF reference, const QString& text);

 private:
  struct State {
    unsigned mapMode = 1;  // MM_TEXT
    QPointF windowOrg, viewportOrg;
    QSizeF windowExt{1, 1}, viewportExt{1, 1};
    QTransform world;
    Pen pen;
    Brush brush;
    Font font;
    QColor textColor = Qt::black;
    QColor backgroundColor = Qt::white;
    bool opaqueBackground = true;
    bool winding = false;
    unsigned textAlign = 0;
    QPointF position;
  };

  QTransform LogicalToDevice() const;
  // Sets the painter's transform, pen and brush for a shape; false when nothing would show.
  bool PrepareShape(bool filled);
  void StrokePath(const QPainterPath& path);
  void FillAndStrokePath(const QPainterPath& path);

  QPainter& painter_;
  QTransform frameToDevice_;
  double framePixelsPerMm_;
  State state_;
  std::vector<State> saved_;
  std::vector<Object> objects_;
};
