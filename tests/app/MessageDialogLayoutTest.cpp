#include "app/MessageDialog.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "controls/JapaneseDesktop.h"
#include "platform/MessageText.h"
#include "tests/app/DialogResultPrinter.h"
#include "tests/support/ModalAnswer.h"

namespace {

// What a test saw of an open message dialog.
struct Seen {
  QString caption;
  Qt::WindowFlags flags;
  bool fixedSize = false;
  QFont font;
  bool faceColour = false;
  QSize icon;  // empty without an icon
  QStringList names, captions;
  std::vector<int> widths;
  std::vector<int> lefts;
  QString focus, defaultFrame;
  QPoint offCentre;  // of the box from the middle of the screen's work area
  QString text;
  QSize textSize;
};

ModalAnswer::Action Record(Seen& seen) {
  return [&seen](QWidget& dialog) {
    seen.caption = dialog.windowTitle();
    seen.flags = dialog.windowFlags();
    seen.fixedSize = dialog.minimumSize() == dialog.maximumSize();
    seen.font = dialog.font();
    seen.faceColour = dialog.palette().color(dialog.backgroundRole()) ==
                      QApplication::palette().color(QPalette::Window);
    if (auto* icon = dialog.findChild<QLabel*>("Icon")) seen.icon = icon->pixmap().size();
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
      seen.names << button->objectName();
      seen.captions << button->text();
      seen.widths.push_back(button->width());
      seen.lefts.push_back(button->x());
      if (button->hasFocus()) seen.focus = button->objectName();
      if (button->isDefault()) seen.defaultFrame = button->objectName();
    }
    seen.offCentre = dialog.frameGeometry().center() -
                     QGuiApplication::primaryScreen()->availableGeometry().center();
    auto* text = dialog.findChild<QLabel*>("Text");
    seen.text = text->text();
    seen.textSize = text->size();
    dialog.close();
  };
}

Seen Open(std::string_view text, DialogKind kind, std::initializer_list<DialogButton> buttons) {
  Seen seen;
  ModalAnswer answer(Record(seen));
  EXPECT_EQ(ShowMessageDialog(text, kind, buttons), DialogResult::Dismissed);
  EXPECT_EQ(answer.Answered(), 1);
  return seen;
}

TEST(MessageDialogLayout, CaptionIconAndButtonsFollowTheKindAndTheButtons) {
  struct Case {
    DialogKind kind;
    std::initializer_list<DialogButton> buttons;
    QString caption;
    QSize icon;
    QStringList names, captions;
  };
  const QString yes = QString::fromUtf8("はい(&Y)"), no = QString::fromUtf8("いいえ(&N)");
  const Case cases[] = {
      {DialogKind::Confirmation,
       {DialogButton::Yes, DialogButton::No},
       QString::fromUtf8("確認"),
       QSize(32, 32),
       {"Yes", "No"},
       {yes, no}},
      {DialogKind::Plain, {DialogButton::OK}, "app_tests", QSize(), {"OK"}, {"OK"}},
      {DialogKind::Confirmation,
       {DialogButton::No, DialogButton::Yes},
       QString::fromUtf8("確認"),
       QSize(32, 32),
       {"Yes", "No"},
       {yes, no}},
      {DialogKind::Plain,
       {DialogButton::OK, DialogButton::No, DialogButton::Yes},
       "app_tests",
       QSize(),
       {"Yes", "No", "OK"},
       {yes, no, "OK"}},
  };
  for (const Case& c : cases) {
    const Seen seen = Open(Cp932("よろしいですか？"), c.kind, c.buttons);
    SCOPED_TRACE(c.names.join(",").toStdString());
    EXPECT_EQ(seen.caption, c.caption);
    EXPECT_EQ(seen.icon, c.icon);
    EXPECT_EQ(seen.names, c.names);
    EXPECT_EQ(seen.captions, c.captions);
    // In one row, left to right, all as wide as the widest.
    EXPECT_TRUE(std::is_sorted(seen.lefts.begin(), seen.lefts.end()));
    EXPECT_EQ(std::count(seen.widths.begin(), seen.widths.end(), seen.widths.front()),
              static_cast<long>(seen.widths.size()));
    EXPECT_EQ(seen.focus, c.names.front());
    EXPECT_EQ(seen.defaultFrame, c.names.front());
  }
}

TEST(MessageDialogLayout, IsAFixedCentredDialogWithOnlyACloseButtonInItsTitleBar) {
  const Seen seen = Open("x", DialogKind::Confirmation, {DialogButton::Yes, DialogButton::No});
  EXPECT_TRUE(seen.flags.testFlag(Qt::WindowCloseButtonHint));
  EXPECT_FALSE(seen.flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_FALSE(seen.flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_FALSE(seen.flags.testFlag(Qt::WindowContextHelpButtonHint));
  EXPECT_TRUE(seen.fixedSize);
  EXPECT_TRUE(seen.faceColour);
  EXPECT_EQ(seen.font.pixelSize(), 12);
  EXPECT_LE(seen.offCentre.manhattanLength(), 4);
}

TEST(MessageDialogLayout, TextBreaksAtCrLfAndWrapsWithinHalfTheScreenUnlessAWordIsWider) {
  const int limit = QGuiApplication::primaryScreen()->geometry().width() / 2;
  const int line = QFontMetrics(WindowsFont(FontFace::ProportionalGothic, 12)).height();
  std::string japanese, word;
  for (int i = 0; i < 60; ++i) {
    japanese += Cp932("あいう");
  }
  for (int i = 0; i < 20; ++i) {
    word += "photo_";
  }
  struct Case {
    const char* name;
    std::string text;
    int fewestLines, mostLines;
    bool widerThanLimit;
  };
  const Case cases[] = {
      {"four lines", Cp932("a.jpg\r\nを\r\nb.jpg\r\nに変更しますか？"), 4, 4, false},
      {"long Japanese line", japanese, 2, 100, false},
      {"long word", word, 1, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Seen seen = Open(c.text, DialogKind::Confirmation, {DialogButton::Yes});
    EXPECT_EQ(seen.textSize.width() > limit, c.widerThanLimit) << seen.textSize.width();
    EXPECT_GE(seen.textSize.height() / line, c.fewestLines) << seen.textSize.height();
    EXPECT_LE(seen.textSize.height() / line, c.mostLines) << seen.textSize.height();
  }
  EXPECT_EQ(Open(Cp932("一\r\n二"), DialogKind::Plain, {DialogButton::OK}).text,
            QString::fromUtf8("一\n二"));
  // A tab reaches to the next tab stop.
  const Seen tab = Open("a\tb", DialogKind::Plain, {DialogButton::OK});
  const Seen plain = Open("ab", DialogKind::Plain, {DialogButton::OK});
  EXPECT_GT(tab.textSize.width(),
            plain.textSize.width() + QFontMetrics(tab.font).averageCharWidth());
}

}  // namespace
