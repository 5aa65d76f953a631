#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include "controls/ComboBox.h"
#include "pictures/PictureControl.h"
#include "pictures/UzoomUpPic.h"
#include "platform/MessageText.h"
#include "tests/pictures/PictureWindowsFixture.h"
#include "tests/support/KeyInput.h"

namespace {

class ZoomUpPicTest : public PictureWindowTest {
 protected:
  ZoomUpPicTest() { window.FormCreate(); }
  TfrmZoomUpPic window;
};

}  // namespace

TEST_F(ZoomUpPicTest, AFailedLoadIsReportedBeforeTheWindowAppears) {
  std::string failure = "(no failure box)";
  bool visibleMeanwhile = true;
  ModalAnswer answer([&](QWidget& box) {
    visibleMeanwhile = window.isVisible();
    ReadFailureBox(failure)(box);
  });
  window.Present("");  // no entry shown yet: the path is empty
  EXPECT_EQ(failure, Cp932("拡張子 . の画像形式は処理できません."));
  EXPECT_FALSE(visibleMeanwhile);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.pos(), QPoint(0, 0));
  EXPECT_TRUE(window.Image1->Picture().Empty());
  EXPECT_EQ(window.ComboBox1->currentText(), QString::fromUtf8("実寸表示"));
}

TEST_F(ZoomUpPicTest, AWindowShownAlreadyIsOnlyBroughtToTheFront) {
  Photo("a.jpeg", 300, 200);
  Photo("b.jpeg", 30, 20);
  window.Present(folder.Path("a.jpeg"));
  window.Present(folder.Path("b.jpeg"));
  EXPECT_EQ(window.Image1->Picture().Width(), 300);
  window.close();  // only hides
  EXPECT_FALSE(window.isVisible());
  window.Present(folder.Path("b.jpeg"));
  EXPECT_EQ(window.Image1->Picture().Width(), 30);
  // A missing file: the failure, then the picture of the showing before.
  window.close();
  std::string failure;
  ModalAnswer answer(ReadFailureBox(failure));
  window.Present(folder.Path("gone.jpeg"));
  EXPECT_EQ(failure, Cp932("ファイル ") + folder.Path("gone.jpeg") + Cp932(" は開けません."));
  EXPECT_EQ(window.Image1->Picture().Width(), 30);
}

TEST_F(ZoomUpPicTest, TheSelectorStretchesThePictureAndStaysAcrossShowings) {
  Photo("big.jpeg", 3000, 2000);
  window.Present(folder.Path("big.jpeg"));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_EQ(window.Image1->geometry(), QRect(1, 1, 1007, 648));
  EXPECT_EQ(window.Image1->DestinationRect(), QRect(0, 0, 3000, 2000));  // actual size, cut off
  window.ComboBox1->setFocus();
  QTest::keyClick(window.ComboBox1, Qt::Key_Down);  // the next item, chosen by key
  EXPECT_TRUE(window.Image1->Stretch());
  EXPECT_EQ(window.Image1->DestinationRect(), QRect(0, 0, 1007, 648));
  window.resize(1209, 795);
  EXPECT_EQ(window.Image1->DestinationRect(), QRect(0, 0, 1207, 748));
  window.close();
  window.Present(folder.Path("big.jpeg"));
  EXPECT_TRUE(window.Image1->Stretch());
  EXPECT_EQ(window.ComboBox1->ItemIndex(), 1);
}

TEST_F(ZoomUpPicTest, TypedTextThatChoosesNoItemStretchesToo) {
  Photo("a.jpeg");
  window.Present(folder.Path("a.jpeg"));
  window.ComboBox1->setFocus();
  QTest::keyClick(window.ComboBox1, Qt::Key_Down);
  QTest::keyClick(window.ComboBox1, Qt::Key_Up);
  EXPECT_FALSE(window.Image1->Stretch());
  TypeText(*window.ComboBox1->lineEdit(), QStringLiteral("x"));
  EXPECT_EQ(window.ComboBox1->ItemIndex(), -1);
  EXPECT_TRUE(window.Image1->Stretch());
}
