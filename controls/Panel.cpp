#include "controls/Panel.h"

#include <QPainter>

#include "controls/QtText.h"
#include "controls/SystemColors.h"

Panel::Panel(QWidget* parent, const QColor& face, int bevelWidth)
    : QWidget(parent), face_(face), bevelWidth_(bevelWidth) {}

void Panel::SetCaption(std::string_view cp932) {
  caption_ = std::string(cp932);
  update();
}

void Panel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), face_);
  for (int i = 0; i < bevelWidth_; ++i) {
    const QRect edge = rect().adjusted(i, i, -i - 1, -i - 1);
    painter.setPen(system_colors::Highlight());
    painter.drawLine(edge.topLeft(), edge.topRight());
    painter.drawLine(edge.topLeft(), edge.bottomLeft());
    painter.setPen(system_colors::Shadow());
    painter.drawLine(edge.bottomLeft(), edge.bottomRight());
    painter.drawLine(edge.topRight(), edge.bottomRight());
  }
  if (!caption_.empty()) {
    painter.setPen(system_colors::WindowText());
    painter.setFont(font());
    painter.drawText(rect(), Qt::AlignCenter, ToQt(caption_));
  }
}
