#include "fuzz/PictureFuzzing.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdlib>

#include "platform/Failure.h"

namespace picture_fuzzing {

void StartApplication() {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int argc = 1;
  static char name[] = "picture_fuzzer";
  static char* argv[] = {name, nullptr};
  static QGuiApplication application(argc, argv);
  // The image readers' warnings about damaged data would only slow the search down.
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
}

void LoadAndDraw(const std::function<std::unique_ptr<LoadedPicture>()>& load) {
  try {
    const std::unique_ptr<LoadedPicture> picture = load();
    try {
      picture->PrepareForDrawing();
    } catch (const Failure&) {
      // A decoding failure keeps what was decoded; that is drawn below.
    }
    QImage target(48, 32, QImage::Format_RGB32);
    target.fill(Qt::white);
    QPainter painter(&target);
    picture->Draw(painter, QRect(QPoint(3, 2), picture->Size()));
    picture->Draw(painter, QRect(0, 0, 48, 32));
  } catch (const Failure&) {
    // The reader refused the data.
  }
}

}  // namespace picture_fuzzing
