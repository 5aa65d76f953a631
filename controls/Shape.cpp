#include "controls/Shape.h"

#include <QPainter>

Shape::Shape(QWidget* parent, const QColor& fill, const QColor& pen, int penWidth)
    : QWidget(parent), fill_(fill), pen_(pen), penWidth_(penWidth) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void Shape::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // The pen lies inside the bounds, as a frame of its width.
  const qreal inset = penWidth_ / 2.0;
  painter.setPen(QPen(pen_, penWidth_, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  painter.setBrush(fill_);
  painter.drawRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
}
