#include "pictures/PictureControl.h"

#include <QMetaObject>
#include <QPainter>

#include <optional>
#include <utility>

#include "controls/FailureBoundary.h"
#include "pictures/PictureLoader.h"

void OwnedPicture::LoadFromFile(std::string_view path) {
  picture_ = LoadPicture(path);
  control_.PictureReplaced();
}

void OwnedPicture::Clear() {
  if (!picture_) return;
  picture_.reset();
  control_.PictureReplaced();
}

int OwnedPicture::Width() const {
  return picture_ ? picture_->Size().width() : 0;
}

int OwnedPicture::Height() const {
  return picture_ ? picture_->Size().height() : 0;
}

PictureControl::PictureControl(QWidget* parent) : QWidget(parent) {
  // Nothing is painted where the picture does not reach, so the parent shows through.
  setAttribute(Qt::WA_NoSystemBackground);
  setAutoFillBackground(false);
}

void PictureControl::SetStretch(bool on) {
  SetFit(&PictureFit::stretch, on);
}
void PictureControl::SetProportional(bool on) {
  SetFit(&PictureFit::proportional, on);
}
void PictureControl::SetCenter(bool on) {
  SetFit(&PictureFit::center, on);
}

void PictureControl::SetFit(bool PictureFit::*which, bool on) {
  if (fit_.*which == on) return;
  fit_.*which = on;
  update();
}

QRect PictureControl::DestinationRect() const {
  return ::DestinationRect(QSize(picture_.Width(), picture_.Height()), size(), fit_);
}

void PictureControl::PictureReplaced() {
  if (autoSize_ && picture_.Width() > 0 && picture_.Height() > 0) {
    // A control laid out by its panel gets the panel's size back at the next layout.
    resize(picture_.Width(), picture_.Height());
    updateGeometry();
  }
  update();
}

void PictureControl::paintEvent(QPaintEvent*) {
  failure_boundary::Guarded([&] {
    if (!picture_.picture_) return;
    LoadedPicture& picture = *picture_.picture_;
    // A JPEG image decodes at its first drawing and may fail there: the painting goes on
    // with what was decoded, and the failure is reported once the painting is over.
    std::optional<Failure> failure;
    try {
      picture.PrepareForDrawing();
    } catch (const Failure& raised) {
      failure = raised;
    }
    {
      QPainter painter(this);
      picture.Draw(painter, DestinationRect());
    }
    if (failure) {
      QMetaObject::invokeMethod(
          this, [failure = *std::move(failure)] { failure_boundary::Report(failure); },
          Qt::QueuedConnection);
    }
  });
}

void PictureControl::mouseDoubleClickEvent(QMouseEvent*) {
  if (onDoubleClick_) failure_boundary::Guarded(onDoubleClick_);
}
