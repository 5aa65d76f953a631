#pragma once

#include <QWidget>

#include <string>
#include <string_view>

// A panel: a face of one colour with a raised bevel and a caption centred on it. The
// caption shows wherever no child covers it.
class Panel : public QWidget {
 public:
  Panel(QWidget* parent, const QColor& face, int bevelWidth);

  void SetCaption(std::string_view cp932);
  const std::string& Caption() const { return caption_; }
  const QColor& Face() const { return face_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor face_;
  int bevelWidth_;
  std::string caption_;
};
