#include "app/FailureReport.h"

#include <QPushButton>

#include <gtest/gtest.h>

#include <string>

#include "platform/MessageText.h"
#include "tests/app/FailureBoxSeen.h"
#include "tests/support/ModalAnswer.h"

namespace {

TEST(FailureReport, AddsAPeriodAfterADoubleByteCharacterOrASingleByteOneAboveThePeriod) {
  struct Case {
    std::string message, shown;
  };
  const Case cases[] = {
      {"abc", "abc."},
      {"123", "123."},
      {Cp932("終わり。"), Cp932("終わり。.")},
      {Cp932("ソ"), Cp932("ソ.")},  // its second byte is 0x5C
      {Cp932("ｱ"), Cp932("ｱ.")},    // half-width katakana: one byte above 0x2E
      {"a/", "a/."},                // 0x2F, the first code above the period
      {"ends.", "ends."},
      {"ends)", "ends)"},
      {"it's'", "it's'"},
      {"a-", "a-"},
      {"ends ", "ends "},
      {"line\r\n", "line\r\n"},
      {"", ""},
      {"'' is not a valid date", "'' is not a valid date."},
      {"a\x81", "a\x81."},  // a lead byte at the end stands alone, above the period
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FailureBoxText(c.message), c.shown) << c.message;
  }
}

TEST(FailureReport, ShowsTheStandardBoxWithTheTitleTheStopIconAndOneOkButton) {
  FailureBoxSeen seen;
  ModalAnswer answer(Record(seen, ModalAnswer::Key(Qt::Key_Return)));
  ReportFailure(Failure(Cp932("一行目\r\n二行目 <b>")));
  ASSERT_EQ(answer.Answered(), 1);
  EXPECT_TRUE(seen.isMessageBox);
  EXPECT_EQ(seen.caption, "app_tests");
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(seen.text, QString::fromUtf8("一行目\n二行目 <b>."));
  EXPECT_EQ(seen.format, Qt::PlainText);
  EXPECT_EQ(seen.buttons, QStringList{"OK"});
  EXPECT_EQ(seen.modality, Qt::ApplicationModal);
  EXPECT_LE(seen.offCentre.manhattanLength(), 4);
}

TEST(FailureReport, EnterSpaceEscapeTheButtonAndTheCloseButtonAllJustCloseTheBox) {
  const ModalAnswer::Action answers[] = {
      ModalAnswer::Key(Qt::Key_Return),
      ModalAnswer::Key(Qt::Key_Space),
      ModalAnswer::Key(Qt::Key_Escape),
      ModalAnswer::Click("OK"),
      ModalAnswer::Close(),
  };
  for (std::size_t i = 0; i < std::size(answers); ++i) {
    ModalAnswer answer(answers[i]);
    ReportFailure(Failure("x"));
    EXPECT_EQ(answer.Answered(), 1) << "answer " << i;
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "answer " << i;
  }
}

TEST(FailureReport, AnEmptyMessageGivesABoxWithoutText) {
  FailureBoxSeen seen;
  ModalAnswer answer(Record(seen, ModalAnswer::Key(Qt::Key_Escape)));
  ReportFailure(Failure(""));
  ASSERT_EQ(answer.Answered(), 1);
  EXPECT_EQ(seen.text, "");
}

TEST(FailureReport, CancelsAMouseCaptureAndDropsAnAbortFailure) {
  QPushButton capturing("capturing");
  capturing.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&capturing));

  capturing.grabMouse();
  QWidget* grabberWhileOpen = &capturing;
  ModalAnswer shown([&](QWidget& dialog) {
    grabberWhileOpen = QWidget::mouseGrabber();
    dialog.close();
  });
  ReportFailure(Failure("x"));
  EXPECT_EQ(shown.Answered(), 1);
  EXPECT_EQ(grabberWhileOpen, nullptr);

  capturing.grabMouse();
  ModalAnswer none(ModalAnswer::Close());
  ReportFailure(AbortFailure());
  EXPECT_EQ(none.Answered(), 0);
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

}  // namespace
