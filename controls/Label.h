#pragma once

#include <QLabel>

#include <string_view>

// A label of fixed size (no automatic sizing) with a CP932 caption.
class Label : public QLabel {
 public:
  Label(QWidget* parent, std::string_view caption, const QFont& font, Qt::Alignment alignment);
  void SetCaption(std::string_view cp932);
  // A background of its own; without one the parent shows through.
  void SetBackground(const QColor& colour);
  void SetTextColour(const QColor& colour);
};
