// Renders each window of the application to a PNG file, the main window showing the demo
// catch log: `make screenshot` runs it under Xvfb. It sits beside the executable, so that it
// finds the same XmlData/ and PicData/ folders.

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <string>

#include "app/Startup.h"
#include "catchlog/Utarnwick.h"
#include "controls/FailureBoundary.h"
#include "pictures/UpicNameEdit.h"
#include "pictures/UzoomUpPic.h"

namespace {

void Save(QWidget& window, const std::string& folder, const char* name) {
  window.show();
  window.raise();
  for (int i = 0; i < 20; ++i)
    QApplication::processEvents();
  const std::string path = folder + "/" + name;
  if (!window.grab().save(QString::fromStdString(path))) {
    std::fprintf(stderr, "take_screenshots: cannot write %s\n", path.c_str());
  } else {
    std::printf("%s\n", path.c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: take_screenshots OUTPUT-FOLDER\n");
    return 2;
  }
  // Absolute: the open dialog moves the current directory.
  const std::string folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath().toStdString();
  return RunTarnwick(1, argv, [&] {
    // The demo catch log opened through the open dialog, as the user would, and its second
    // entry clicked.
    QTimer::singleShot(300, [] {
      if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        name->setText(QStringLiteral("demo.xml"));
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(name, &enter);
      }
    });
    frmTarnwick->FileOpen->trigger();
    failure_boundary::Guarded([&] {
      frmTarnwick->cdsFish.MoveCurrent(1);
      frmTarnwick->DBGrid1CellClick();
    });
    Save(*frmTarnwick, folder, "catchlog.png");
    frmTarnwick->PicUpClick();
    Save(*frmZoomUpPic, folder, "zoomuppic.png");
    frmZoomUpPic->hide();
    frmTarnwick->PicReClick();
    Save(*frmPicNameEdit, folder, "picnameedit.png");
    frmPicNameEdit->hide();
    QApplication::quit();
  });
}
