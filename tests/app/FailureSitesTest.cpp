#include <QPushButton>

#include <gtest/gtest.h>

#include <exception>
#include <functional>
#include <string_view>

#include "app/FailureReport.h"
#include "controls/FailureBoundary.h"
#include "platform/MessageText.h"
#include "tests/app/FailureBoxSeen.h"
#include "tests/support/ModalAnswer.h"

namespace {

// A window whose handlers run their work through the boundary, as every handler of ours does.
class HandlerWindow : public QWidget {
 public:
  std::function<void()> onPaint, onShow;

 protected:
  void paintEvent(QPaintEvent*) override {
    if (onPaint) failure_boundary::Guarded(onPaint);
  }
  void showEvent(QShowEvent*) override {
    if (onShow) failure_boundary::Guarded(onShow);
  }
};

// The work of a handler: fails at its first run, half-way; later runs complete.
struct Work {
  std::exception_ptr failure;
  int runs = 0;
  int completed = 0;

  void operator()() {
    ++runs;
    if (runs == 1) std::rethrow_exception(failure);
    ++completed;
  }
};

// Where a failure may end a handler: runs the handler once (it fails), then once more.
struct Site {
  const char* name;
  std::function<void(HandlerWindow& window, std::function<void()> work)> prepare;
  std::function<void(HandlerWindow& window)> fire;
};

QPushButton* ButtonOf(HandlerWindow& window) {
  return window.findChild<QPushButton*>();
}

const Site kSites[] = {
    {"click",
     [](HandlerWindow& window, std::function<void()> work) {
       auto* button = new QPushButton("button", &window);
       QObject::connect(button, &QPushButton::clicked, [work] { failure_boundary::Guarded(work); });
       window.show();
       ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
     },
     [](HandlerWindow& window) { ClickAsUser(*ButtonOf(window)); }},
    {"paint",
     [](HandlerWindow& window, std::function<void()> work) { window.onPaint = std::move(work); },
     [](HandlerWindow& window) {
       if (window.isVisible()) {
         window.repaint();
       } else {
         window.show();
         ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
       }
     }},
    {"show",
     [](HandlerWindow& window, std::function<void()> work) { window.onShow = std::move(work); },
     [](HandlerWindow& window) {
       window.hide();
       window.show();
     }},
};

class FailureSites : public testing::Test {
 protected:
  FailureSites() { failure_boundary::SetReporter(ReportFailure); }
  ~FailureSites() override { failure_boundary::SetReporter(nullptr); }
};

TEST_F(FailureSites, AFailureEndsTheHandlerInTheFailureBoxAndTheLoopGoesOn) {
  for (const Site& site : kSites) {
    SCOPED_TRACE(site.name);
    HandlerWindow window;
    Work work{std::make_exception_ptr(Failure(Cp932("画像を読み込めません")))};
    site.prepare(window, std::ref(work));
    FailureBoxSeen seen;
    bool shownWhileOpen = true;
    ModalAnswer answer(Record(seen, [&](QWidget& dialog) {
      shownWhileOpen = window.windowHandle() != nullptr && window.windowHandle()->isVisible();
      ModalAnswer::Key(Qt::Key_Return)(dialog);
    }));
    site.fire(window);
    ASSERT_EQ(answer.Answered(), 1);
    EXPECT_EQ(seen.caption, "app_tests");
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.text, QString::fromUtf8("画像を読み込めません."));
    EXPECT_EQ(work.completed, work.runs - 1);  // the failed run stopped where it failed
    EXPECT_TRUE(window.isVisible());
    // A failure in the show handler is reported before the window appears.
    if (site.name == std::string_view("show")) {
      EXPECT_FALSE(shownWhileOpen);
    }

    const int completed = work.completed;
    site.fire(window);
    EXPECT_GT(work.completed, completed);
  }
}

TEST_F(FailureSites, AnAbortFailureEndsTheHandlerWithoutABox) {
  HandlerWindow window;
  Work work{std::make_exception_ptr(AbortFailure())};
  kSites[0].prepare(window, std::ref(work));
  ModalAnswer answer(ModalAnswer::Close());
  kSites[0].fire(window);
  kSites[0].fire(window);
  EXPECT_EQ(answer.Answered(), 0);
  EXPECT_EQ(work.runs, 2);
  EXPECT_EQ(work.completed, 1);
}

}  // namespace
