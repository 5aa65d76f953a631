#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <functional>

#include "app/FailureReport.h"
#include "app/MessageDialog.h"
#include "tests/support/ModalAnswer.h"

namespace {

TEST(ModalBoxes, StandCentredKeepInputFromTheOtherWindowsAndGiveBackTheActivationAndTheFocus) {
  const struct {
    const char* name;
    std::function<void()> open;
  } boxes[] = {
      {"failure box", [] { ReportFailure(Failure("x")); }},
      {"information", [] { ShowInformation("x"); }},
      {"confirmation", [] { Confirm("x"); }},
  };
  QWidget window;
  auto* first = new QPushButton("first", &window);
  auto* second = new QPushButton("second", &window);
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(first);
  layout->addWidget(second);
  int clicks = 0;
  QObject::connect(first, &QPushButton::clicked, [&] { ++clicks; });
  window.move(0, 0);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

  for (const auto& box : boxes) {
    SCOPED_TRACE(box.name);
    second->setFocus();
    QPoint offCentre;
    ModalAnswer answer([&](QWidget& dialog) {
      offCentre = dialog.frameGeometry().center() -
                  QGuiApplication::primaryScreen()->availableGeometry().center();
      ClickAsUser(*first);
      dialog.close();
    });
    box.open();
    EXPECT_EQ(answer.Answered(), 1);
    EXPECT_LE(offCentre.manhattanLength(), 4);  // on the screen, not over the window
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &window; }));
    EXPECT_EQ(QApplication::focusWidget(), second);
  }
  ClickAsUser(*first);
  EXPECT_EQ(clicks, 1);
}

}  // namespace
