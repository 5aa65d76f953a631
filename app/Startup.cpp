#include "app/Startup.h"

#include <QEvent>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTimer>
#include <QTranslator>

#include <cstdio>
#include <memory>

#include "app/Application.h"
#include "catchlog/Utarnwick.h"
#include "controls/FailureBoundary.h"
#include "controls/JapaneseDesktop.h"
#include "controls/QtText.h"
#include "pictures/UpicNameEdit.h"
#include "pictures/UzoomUpPic.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/MessageText.h"

namespace {

// Runs what the first paint of the main window does not need once that paint is done, so
// that the window appears as soon as it can.
class AfterFirstPaint : public QObject {
 public:
  explicit AfterFirstPaint(std::function<void()> then) : then_(std::move(then)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && then_) {
      watched->removeEventFilter(this);
      QTimer::singleShot(0, [then = std::move(then_)] { then(); });
    }
    return false;
  }

 private:
  std::function<void()> then_;
};

// The last-resort report of a failure after the event loop has ended: the failure's kind,
// the executable's file name, an address, and the message with its period.
std::string ApplicationErrorText(const Failure& failure) {
  const std::string executable = files::ExecutablePath();
  const std::string module = executable.substr(executable.rfind('/') + 1);
  char address[32];
  std::snprintf(address, sizeof address, "%p", static_cast<const void*>(&failure));
  const std::string& message = failure.Message();
  const bool endsInPeriod = !message.empty() && message.back() == '.';
  return FormatText("Exception %s in module %s at %s.\r\n%s%s\r\n",
                    {"Failure", module, address, message, endsInPeriod ? "" : "."});
}

}  // namespace

Windows::Windows() = default;
Windows::~Windows() = default;
Windows::Windows(Windows&&) noexcept = default;

Windows CreateWindows() {
  Windows windows;
  windows.catchLog = std::make_unique<TfrmTarnwick>();
  frmTarnwick = windows.catchLog.get();
  failure_boundary::Guarded([&] { windows.catchLog->FormCreate(); });
  windows.picNameEdit = std::make_unique<TfrmPicNameEdit>();
  frmPicNameEdit = windows.picNameEdit.get();
  failure_boundary::Guarded([&] { windows.picNameEdit->FormCreate(); });
  windows.zoomUpPic = std::make_unique<TfrmZoomUpPic>();
  frmZoomUpPic = windows.zoomUpPic.get();
  failure_boundary::Guarded([&] { windows.zoomUpPic->FormCreate(); });
  return windows;
}

int CloseDown(Windows windows) {
  windows.zoomUpPic->hide();
  windows.picNameEdit->hide();
  windows.catchLog->hide();
  windows.zoomUpPic.reset();
  frmZoomUpPic = nullptr;
  windows.picNameEdit.reset();
  frmPicNameEdit = nullptr;
  int exitCode = 0;
  try {
    windows.catchLog->cdsFish.Close();
  } catch (const Failure& failure) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Application Error"),
                    ToQt(ApplicationErrorText(failure)), QMessageBox::Ok);
    box.exec();
    exitCode = 1;
  }
  windows.catchLog.reset();
  frmTarnwick = nullptr;
  return exitCode;
}

int RunTarnwick(int argc, char** argv, const std::function<void()>& afterFirstPaint) {
  Application application(argc, argv);
  application.setApplicationName(QStringLiteral("Tarnwick"));
  application.setQuitOnLastWindowClosed(false);
  SetUpJapaneseDesktop();

  Windows windows = CreateWindows();
  // Qt's own texts (in its dialogs) in Japanese; no window shows one before the first paint.
  QTranslator qtTexts;
  AfterFirstPaint afterPaint([&] {
    if (qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
      QApplication::installTranslator(&qtTexts);
    }
    if (afterFirstPaint) afterFirstPaint();
  });
  windows.catchLog->installEventFilter(&afterPaint);
  windows.catchLog->show();
  // An allowed close of the main window ends the loop, whatever other window is open.
  application.exec();
  return CloseDown(std::move(windows));
}
