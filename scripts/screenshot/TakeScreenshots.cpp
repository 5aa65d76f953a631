// Renders each window of the application to a PNG file, the main window showing the demo
// catch log: `make screenshot` runs it under Xvfb. It sits beside the executable, so that it
// finds the same XmlData/ and PicData/ folders.

#include <QApplication>
#include <QWidget>

#include <cstdio>
#include <string>

#include "app/Startup.h"
#include "catchlog/Utarnwick.h"
#include "controls/ByteLimitedEdit.h"
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
  const std::string folder = argv[1];
  return RunTarnwick(1, argv, [&] {
    failure_boundary::Guarded([&] {
      frmTarnwick->cdsFish.Close();
      frmTarnwick->cdsFish.SetFileName(frmTarnwick->edtXmlData->Text() + "demo.xml");
      frmTarnwick->cdsFish.Open();
    });
    Save(*frmTarnwick, folder, "catchlog.png");
    Save(*frmZoomUpPic, folder, "zoomuppic.png");
    frmZoomUpPic->hide();
    Save(*frmPicNameEdit, folder, "picnameedit.png");
    frmPicNameEdit->hide();
    QApplication::quit();
  });
}
