#include "app/MessageDialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/MessageText.h"
#include "tests/app/DialogResultPrinter.h"
#include "tests/support/ModalAnswer.h"

namespace {

using Stroke = ModalAnswer::Action;

Stroke Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  return ModalAnswer::Key(key, modifiers);
}

// A typed character, with the character as the event's text.
Stroke Type(char character) {
  return [character](QWidget& dialog) { QTest::keyClick(dialog.windowHandle(), character); };
}

// Gives the strokes until the box closes. A box that they leave open is closed afterwards
// with its close button, so that the result reads Dismissed.
ModalAnswer::Action Strokes(std::vector<Stroke> strokes) {
  return [strokes = std::move(strokes)](QWidget& dialog) {
    for (const Stroke& stroke : strokes) {
      if (!dialog.isVisible()) return;
      stroke(dialog);
    }
    // An access key with Alt clicks its button a moment later.
    if (!QTest::qWaitFor([&] { return !dialog.isVisible(); }, 300)) dialog.close();
  };
}

struct Row {
  const char* name;
  std::vector<Stroke> strokes;
  DialogResult result;
};

void ExpectResults(DialogKind kind, std::initializer_list<DialogButton> buttons,
                   const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    ModalAnswer answer(Strokes(row.strokes));
    EXPECT_EQ(ShowMessageDialog(Cp932("よろしいですか？"), kind, buttons), row.result) << row.name;
    EXPECT_EQ(answer.Answered(), 1) << row.name;
  }
}

const Stroke kEnter = Key(Qt::Key_Return);

TEST(MessageDialogKeys, AnswerTheYesNoBox) {
  ExpectResults(
      DialogKind::Confirmation, {DialogButton::Yes, DialogButton::No},
      {
          {"Enter", {kEnter}, DialogResult::Yes},
          {"keypad Enter", {Key(Qt::Key_Enter, Qt::KeypadModifier)}, DialogResult::Yes},
          {"Space", {Key(Qt::Key_Space)}, DialogResult::Yes},
          {"Escape", {Key(Qt::Key_Escape)}, DialogResult::No},
          {"Y", {Type('Y')}, DialogResult::Yes},
          {"y", {Type('y')}, DialogResult::Yes},
          {"N", {Type('N')}, DialogResult::No},
          {"n", {Type('n')}, DialogResult::No},
          {"Alt+Y", {Key(Qt::Key_Y, Qt::AltModifier)}, DialogResult::Yes},
          {"Alt+N", {Key(Qt::Key_N, Qt::AltModifier)}, DialogResult::No},
          {"Tab, Enter", {Key(Qt::Key_Tab), kEnter}, DialogResult::No},
          {"Tab, Tab, Enter", {Key(Qt::Key_Tab), Key(Qt::Key_Tab), kEnter}, DialogResult::Yes},
          {"Shift+Tab, Enter", {Key(Qt::Key_Backtab, Qt::ShiftModifier), kEnter}, DialogResult::No},
          {"Tab, Space", {Key(Qt::Key_Tab), Key(Qt::Key_Space)}, DialogResult::No},
          {"Tab, Escape", {Key(Qt::Key_Tab), Key(Qt::Key_Escape)}, DialogResult::No},
          {"Tab, y", {Key(Qt::Key_Tab), Type('y')}, DialogResult::Yes},
          {"Right, Enter", {Key(Qt::Key_Right), kEnter}, DialogResult::No},
          {"Down, Enter", {Key(Qt::Key_Down), kEnter}, DialogResult::No},
          {"Left, Enter", {Key(Qt::Key_Left), kEnter}, DialogResult::No},
          {"Up, Enter", {Key(Qt::Key_Up), kEnter}, DialogResult::No},
          {"Right, Left, Enter",
           {Key(Qt::Key_Right), Key(Qt::Key_Left), kEnter},
           DialogResult::Yes},
          {"click Yes", {ModalAnswer::Click("Yes")}, DialogResult::Yes},
          {"click No", {ModalAnswer::Click("No")}, DialogResult::No},
          {"close button", {ModalAnswer::Close()}, DialogResult::Dismissed},
          {"Alt+F4", {Key(Qt::Key_F4, Qt::AltModifier)}, DialogResult::Dismissed},
          {"x presses nothing", {Type('x')}, DialogResult::Dismissed},
          {"Ctrl+Y presses nothing",
           {Key(Qt::Key_Y, Qt::ControlModifier)},
           DialogResult::Dismissed},
      });
}

TEST(MessageDialogKeys, AnswerTheOkBox) {
  ExpectResults(DialogKind::Plain, {DialogButton::OK},
                {
                    {"Enter", {kEnter}, DialogResult::OK},
                    {"Space", {Key(Qt::Key_Space)}, DialogResult::OK},
                    {"Escape", {Key(Qt::Key_Escape)}, DialogResult::OK},
                    {"Tab, Enter", {Key(Qt::Key_Tab), kEnter}, DialogResult::OK},
                    {"Right, Enter", {Key(Qt::Key_Right), kEnter}, DialogResult::OK},
                    {"Left, Escape", {Key(Qt::Key_Left), Key(Qt::Key_Escape)}, DialogResult::OK},
                    {"Down, Space", {Key(Qt::Key_Down), Key(Qt::Key_Space)}, DialogResult::OK},
                    {"Up, Enter", {Key(Qt::Key_Up), kEnter}, DialogResult::OK},
                    {"click OK", {ModalAnswer::Click("OK")}, DialogResult::OK},
                    {"close button", {ModalAnswer::Close()}, DialogResult::Dismissed},
                    {"Alt+F4", {Key(Qt::Key_F4, Qt::AltModifier)}, DialogResult::Dismissed},
                    {"Y presses nothing", {Type('Y')}, DialogResult::Dismissed},
                    {"n presses nothing", {Type('n')}, DialogResult::Dismissed},
                });
}

TEST(MessageDialogKeys, ShowInformationAndConfirmAnswerAsTheirBoxes) {
  const struct {
    Stroke stroke;
    bool confirmed;
  } confirmations[] = {{kEnter, true},
                       {Type('n'), false},
                       {Key(Qt::Key_Escape), false},
                       {ModalAnswer::Close(), false}};
  for (const auto& c : confirmations) {
    ModalAnswer answer(c.stroke);
    EXPECT_EQ(Confirm(Cp932("データを削除してもよろしいですか？")), c.confirmed);
    EXPECT_EQ(answer.Answered(), 1);
  }
  ModalAnswer answer(Key(Qt::Key_Space));
  ShowInformation(Cp932("ファイルが保存されていません。\r\nファイルを保存して下さい。"));
  EXPECT_EQ(answer.Answered(), 1);
}

TEST(MessageDialogKeys, TheApplicationToldToEndClosesTheBoxAsDismissed) {
  ModalAnswer answer(
      [](QWidget&) { QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit"); });
  EXPECT_EQ(ShowMessageDialog("x", DialogKind::Confirmation, {DialogButton::Yes, DialogButton::No}),
            DialogResult::Dismissed);
  EXPECT_EQ(answer.Answered(), 1);
}

}  // namespace
