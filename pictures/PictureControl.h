#pragma once

#include <QWidget>

#include <functional>
#include <memory>
#include <string_view>

#include "pictures/LoadedPicture.h"
#include "pictures/PictureGeometry.h"

class PictureControl;

// The picture a control owns: empty, or one picture read from a file.
class OwnedPicture {
 public:
  explicit OwnedPicture(PictureControl& control) : control_(control) {}
  OwnedPicture(const OwnedPicture&) = delete;
  OwnedPicture& operator=(const OwnedPicture&) = delete;

  // Replaces the picture with the one read from `path` and repaints. On a failure (the
  // messages of the picture loader) the picture stays exactly as it was.
  void LoadFromFile(std::string_view path);
  // Releases the picture; the control becomes empty and repaints.
  void Clear();

  bool Empty() const { return !picture_; }
  // In pixels; 0 x 0 when empty.
  int Width() const;
  int Height() const;

 private:
  friend class PictureControl;

  PictureControl& control_;
  std::unique_ptr<LoadedPicture> picture_;
};

// A rectangular area that shows one picture within its bounds. Where the picture does not
// cover it, the control is see-through: the panel behind it (its face and caption) shows.
class PictureControl : public QWidget {
  Q_OBJECT

 public:
  explicit PictureControl(QWidget* parent = nullptr);

  OwnedPicture& Picture() { return picture_; }
  const OwnedPicture& Picture() const { return picture_; }

  // Each switch is off at first; a change re-lays out and repaints at once.
  bool Stretch() const { return fit_.stretch; }
  void SetStretch(bool on);
  bool Proportional() const { return fit_.proportional; }
  void SetProportional(bool on);
  bool Center() const { return fit_.center; }
  void SetCenter(bool on);
  // When on, a newly loaded picture of some size asks the control to take that size.
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool on) { autoSize_ = on; }

  // Where the picture is drawn now, in the control's coordinates.
  QRect DestinationRect() const;

  void SetOnDoubleClick(std::function<void()> handler) { onDoubleClick_ = std::move(handler); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  friend class OwnedPicture;

  void PictureReplaced();
  void SetFit(bool PictureFit::*which, bool on);

  OwnedPicture picture_{*this};
  PictureFit fit_;
  bool autoSize_ = false;
  std::function<void()> onDoubleClick_;
};
