#include "app/FailureReport.h"

#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

#include "app/ApplicationTitle.h"
#include "app/ModalBox.h"
#include "controls/QtText.h"
#include "platform/CodePage.h"

namespace {

// The platform's message box, centred on the screen by our own rule rather than by the
// placement Qt or the window manager would choose; it takes its final size only when it is
// shown, so it is centred there.
class FailureBox : public QMessageBox {
 public:
  explicit FailureBox(const QString& text) {
    setWindowTitle(ToQt(ApplicationTitle()));
    setIcon(QMessageBox::Critical);
    setTextFormat(Qt::PlainText);
    setText(text);
    QPushButton* ok = addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    setDefaultButton(ok);
    setEscapeButton(ok);
    setWindowModality(Qt::ApplicationModal);
  }

 protected:
  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);
    CentreOnScreen(*this);
  }
};

}  // namespace

std::string FailureBoxText(const std::string& message) {
  if (message.empty()) return message;
  std::size_t last = 0;
  for (std::size_t pos = 0; pos < message.size(); pos += cp932::CharLength(message, pos)) {
    last = pos;
  }
  const bool doubleByte = cp932::CharLength(message, last) == 2;
  const bool aboveDot = static_cast<unsigned char>(message[last]) > '.';
  return doubleByte || aboveDot ? message + "." : message;
}

void ReportFailure(const Failure& failure) {
  // A drag or click in progress would keep the mouse from the box.
  if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
  if (dynamic_cast<const AbortFailure*>(&failure) != nullptr) return;
  const ActivationKeeper keeper;
  FailureBox box(BoxText(FailureBoxText(failure.Message())));
  box.exec();
}
