#pragma once

#include <QImage>
#include <QMessageBox>

#include <sys/stat.h>

#include <string>

#include "app/FailureReport.h"
#include "controls/FailureBoundary.h"
#include "controls/QtText.h"
#include "platform/FileSystem.h"
#include "tests/support/ModalAnswer.h"
#include "tests/support/TempFolder.h"

// A picture folder of the tests' own, and the shell's failure box as the reporter.
class PictureWindowTest : public testing::Test {
 protected:
  PictureWindowTest() { failure_boundary::SetReporter(ReportFailure); }
  ~PictureWindowTest() override {
    failure_boundary::SetReporter({});
    files::SetCurrentDirectory(startedIn_);  // the windows move it into the test's folder
  }

  // A JPEG of the given size; `name` is CP932.
  void Photo(const std::string& name, int width = 40, int height = 30) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    image.save(ToQt(folder.Path(name)), "JPEG");
  }
  void Folder(const std::string& name) { mkdir(folder.Path(name).c_str(), 0755); }

  // Reads the failure box's text into `text` and closes it.
  static ModalAnswer::Action ReadFailureBox(std::string& text) {
    return [&text](QWidget& box) {
      text = FromQt(qobject_cast<QMessageBox*>(&box)->text()).value_or("?");
      ModalAnswer::Key(Qt::Key_Return)(box);
    };
  }

  const std::string startedIn_ = files::CurrentDirectory();
  TempFolder folder;
  // A box nobody expected fails the test and is closed, rather than waiting for ever.
  ModalAnswer unexpected{std::vector<ModalAnswer::Action>{}};
};
