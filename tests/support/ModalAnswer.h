#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstddef>
#include <functional>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

// A left click on the widget as the window system delivers it: through its window, so that a
// modal box in front of that window blocks it.
inline void ClickAsUser(QWidget& widget) {
  QWidget* window = widget.window();
  QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                    widget.mapTo(window, widget.rect().center()));
}

// Answers the modal dialogs that the code under test opens, so that a test can go through a
// call that blocks until its dialog has closed:
//
//   ModalAnswer answer(ModalAnswer::Key(Qt::Key_Escape));
//   EXPECT_FALSE(Confirm(text));  // the confirmation opens, is answered, and closes
//   EXPECT_EQ(answer.Answered(), 1);
//
// From its construction on, the helper looks every 10 ms for QApplication::activeModalWidget()
// and runs its next action on each new modal dialog it finds there, once that dialog is the
// active window (it is activated if need be), from inside the dialog's own event loop. An action
// may inspect the dialog (record its caption, its buttons) before it answers. A dialog still open
// `limit` after it was found (the action did not close it, or no action was left for it) fails the
// test and is closed by force, so a wrong answer cannot hang the run. No dialog at all is not a
// failure: check Answered().
class ModalAnswer {
 public:
  using Action = std::function<void(QWidget& dialog)>;

  explicit ModalAnswer(Action action, std::chrono::milliseconds limit = std::chrono::seconds(5))
      : ModalAnswer(std::vector<Action>{std::move(action)}, limit) {}

  // One action for each dialog, in the order the dialogs open.
  explicit ModalAnswer(std::vector<Action> actions,
                       std::chrono::milliseconds limit = std::chrono::seconds(5))
      : actions_(std::move(actions)), limit_(limit) {
    QObject::connect(&poll_, &QTimer::timeout, [this] { Poll(); });
    poll_.start(10);
  }

  ModalAnswer(const ModalAnswer&) = delete;
  ModalAnswer& operator=(const ModalAnswer&) = delete;

  // How many dialogs an action has been run on.
  int Answered() const { return static_cast<int>(next_); }

  // Presses and releases the key in the dialog, as typed by the user.
  static Action Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    return [key, modifiers](QWidget& dialog) {
      QTest::keyClick(dialog.windowHandle(), key, modifiers);
    };
  }

  // Clicks the dialog's button whose object name, or caption without its "&", is `button`.
  static Action Click(const QString& button) {
    return [button](QWidget& dialog) {
      for (QAbstractButton* candidate : dialog.findChildren<QAbstractButton*>()) {
        if (candidate->objectName() == button ||
            QString(candidate->text()).remove(u'&') == button) {
          ClickAsUser(*candidate);
          return;
        }
      }
      ADD_FAILURE() << "the dialog has no button " << button.toStdString();
    };
  }

  // Closes the dialog as its title bar's close button does.
  static Action Close() {
    return [](QWidget& dialog) { dialog.close(); };
  }

 private:
  void Poll() {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr) return;
    if (dialog != current_) {
      current_ = dialog;
      found_.start();
      if (next_ == actions_.size()) return;
      // Answered as the user does: once it is the active window. Polls while this waits or
      // the action runs only watch the time limit.
      dialog->activateWindow();
      if (!QTest::qWaitForWindowActive(dialog, 1000)) {
        ADD_FAILURE() << "a modal dialog did not become the active window";
      }
      actions_[next_++](*dialog);
      return;
    }
    if (std::chrono::milliseconds(found_.elapsed()) < limit_) return;
    ADD_FAILURE() << "a modal dialog (" << dialog->windowTitle().toStdString()
                  << ") was still open after the time limit; closed by force";
    if (auto* box = qobject_cast<QDialog*>(dialog)) {
      box->done(QDialog::Rejected);
    } else {
      dialog->hide();
    }
  }

  std::vector<Action> actions_;
  std::chrono::milliseconds limit_;
  std::size_t next_ = 0;
  QPointer<QWidget> current_;
  QElapsedTimer found_;
  QTimer poll_;
};
