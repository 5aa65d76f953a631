#pragma once

#include <QWidget>

// A decorative rectangle: a fill and a frame drawn with a pen of the given width.
class Shape : public QWidget {
 public:
  Shape(QWidget* parent, const QColor& fill, const QColor& pen, int penWidth);
  const QColor& PenColour() const { return pen_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor fill_;
  QColor pen_;
  int penWidth_;
};
