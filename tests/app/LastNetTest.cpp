#include "app/LastNet.h"

#include <QEvent>

#include <gtest/gtest.h>

#include <exception>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "controls/FailureBoundary.h"
#include "platform/MessageText.h"

namespace {

const QEvent::Type kProbe = static_cast<QEvent::Type>(QEvent::registerEventType());

// Handles the probe event by running `work` without a boundary of its own.
class Receiver : public QObject {
 public:
  std::function<void()> work;
  int handled = 0;

  bool event(QEvent* event) override {
    if (event->type() != kProbe) return QObject::event(event);
    if (work) work();
    ++handled;
    return true;
  }
};

// Runs `work` when the probe event passes, before the receiver sees it.
class Filter : public QObject {
 public:
  std::function<void()> work;

  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == kProbe && work) work();
    return false;
  }
};

struct Reported {
  std::string message;
  bool abort;
  bool operator==(const Reported&) const = default;
};

class LastNet : public testing::Test {
 protected:
  LastNet() {
    failure_boundary::SetReporter([this](const Failure& failure) {
      reported.push_back(
          {failure.Message(), dynamic_cast<const AbortFailure*>(&failure) != nullptr});
    });
  }
  ~LastNet() override { failure_boundary::SetReporter(nullptr); }

  bool Deliver(QObject& receiver) {
    QEvent probe(kProbe);
    return DeliverWithinLastNet(*qApp, &receiver, &probe);
  }

  std::vector<Reported> reported;
};

TEST_F(LastNet, ReportsWhatEscapesAReceiverOrAFilterWithoutABoundaryAndDispatchGoesOn) {
  struct Case {
    const char* name;
    std::function<void()> fail;
    Reported expected;
  };
  const Case cases[] = {
      {"failure",
       [] { throw Failure(Cp932("ファイル a.xml は開けません")); },
       {Cp932("ファイル a.xml は開けません"), false}},
      {"abort", [] { throw AbortFailure(); }, {"", true}},
      // The texts of other exceptions are UTF-8.
      {"other exception",
       [] { throw std::runtime_error("bad state: 状態"); },
       {Cp932("bad state: 状態"), false}},
  };
  for (const Case& c : cases) {
    for (const bool inFilter : {false, true}) {
      SCOPED_TRACE(std::string(c.name) + (inFilter ? " in a filter" : " in a receiver"));
      reported.clear();
      Receiver receiver;
      Filter filter;
      receiver.installEventFilter(&filter);
      (inFilter ? filter.work : receiver.work) = c.fail;

      EXPECT_FALSE(Deliver(receiver));
      EXPECT_EQ(reported, std::vector<Reported>{c.expected});
      EXPECT_EQ(receiver.handled, 0);

      filter.work = receiver.work = nullptr;
      EXPECT_TRUE(Deliver(receiver));
      EXPECT_EQ(receiver.handled, 1);
      EXPECT_EQ(reported.size(), 1u);
    }
  }
}

}  // namespace
