#include <QApplication>
#include <QClipboard>
#include <QTest>

#include <gtest/gtest.h>

#include "controls/ByteLimitedEdit.h"
#include "controls/JapaneseDesktop.h"
#include "controls/MemoEdit.h"
#include "controls/QtText.h"
#include "platform/MessageText.h"
#include "tests/support/KeyInput.h"

namespace {

QFont InputFont() {
  return WindowsFont(FontFace::Mincho, 15);
}

QString Q(const char* utf8) {
  return QString::fromUtf8(utf8);
}

}  // namespace

TEST(ByteLimitedEdit, TypingStopsAtTheLimitInBytes) {
  struct Case {
    const char* what;
    QString typed;
    std::string kept;
  };
  const Case cases[] = {
      {"21 letters", QString(21, QChar('w')), std::string(20, 'w')},
      {"ten kanji fit exactly", Q("晴天晴天晴天晴天晴天"), Cp932("晴天晴天晴天晴天晴天")},
      {"a kanji with one byte left", Q("abcdefghijklmnopqrs鮎"), "abcdefghijklmnopqrs"},
      {"half-width katakana count one", Q("ﾃﾞｰﾀﾃﾞｰﾀﾃﾞｰﾀﾃﾞｰﾀﾃﾞｰﾀﾃﾞｰﾀ"),
       Cp932("ﾃﾞｰﾀﾃﾞｰﾀﾃﾞｰﾀﾃﾞｰﾀﾃﾞｰﾀ")},
      {"a character with no CP932 form", Q("a🐟b"), "ab"},
  };
  for (const auto& c : cases) {
    ByteLimitedEdit edit(nullptr, InputFont(), 20, InputMethodMode::Hiragana);
    TypeText(edit, c.typed);
    EXPECT_EQ(edit.Text(), c.kept) << c.what;
  }
}

TEST(ByteLimitedEdit, InputMethodCommitsAndPastesAreCutToFit) {
  ByteLimitedEdit edit(nullptr, InputFont(), 10, InputMethodMode::Hiragana);
  TypeText(edit, Q("abcd"));
  CommitText(edit, Q("鮎鮎鮎鮎"));  // 8 bytes into 6 left
  EXPECT_EQ(edit.Text(), "abcd" + Cp932("鮎鮎鮎"));
  edit.clear();
  QApplication::clipboard()->setText(Q("0123456789abc"));
  TypeText(edit, Q("xy"));
  QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(edit.Text(), "xy01234567");
}

TEST(ByteLimitedEdit, TextFromTheProgramIsShownWholeAndComesBackAsItWas) {
  ByteLimitedEdit edit(nullptr, InputFont(), 20, InputMethodMode::Closed);
  const std::string long_ = std::string(30, 'n');
  edit.SetText(long_);
  EXPECT_EQ(edit.text().size(), 30);
  EXPECT_EQ(edit.Text(), long_);
  TypeText(edit, Q("x"));  // longer than the limit already: nothing more goes in
  EXPECT_EQ(edit.Text(), long_);
  QTest::keyClick(&edit, Qt::Key_Backspace);
  EXPECT_EQ(edit.Text(), std::string(29, 'n'));
  const std::string damaged = "ab\x81";  // a lead byte with nothing after it
  edit.SetText(damaged);
  EXPECT_EQ(edit.Text(), damaged);
}

TEST(MemoEdit, LineBreaksCountTwoAndEnterBreaksTheLine) {
  MemoEdit memo(nullptr, InputFont(), 10, InputMethodMode::Hiragana);
  TypeText(memo, Q("abcd"));
  QTest::keyClick(&memo, Qt::Key_Return);
  TypeText(memo, Q("efgh"));
  EXPECT_EQ(memo.Text(), "abcd\r\nefgh");  // 10 bytes
  QTest::keyClick(&memo, Qt::Key_Return);  // no room for two more
  TypeText(memo, Q("i"));
  EXPECT_EQ(memo.Text(), "abcd\r\nefgh");
  memo.SetText(Cp932("一行目\r\n二行目は長い二行目"));
  EXPECT_EQ(memo.Text(), Cp932("一行目\r\n二行目は長い二行目"));
}

TEST(MemoEdit, TabLeavesTheMemo) {
  QWidget window;
  MemoEdit memo(&window, InputFont(), 200, InputMethodMode::Hiragana);
  ByteLimitedEdit next(&window, InputFont(), 20, InputMethodMode::Closed);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  memo.setFocus();
  QTest::keyClick(&memo, Qt::Key_Tab);
  EXPECT_EQ(memo.Text(), "");
  EXPECT_TRUE(next.hasFocus());
}
