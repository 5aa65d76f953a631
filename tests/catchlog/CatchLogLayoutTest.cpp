#include <QApplication>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "catchlog/Utarnwick.h"
#include "controls/ByteLimitedEdit.h"
#include "controls/DataGrid.h"
#include "controls/DatePicker.h"
#include "controls/Label.h"
#include "controls/MemoEdit.h"
#include "controls/Panel.h"
#include "controls/QtText.h"
#include "controls/Shape.h"
#include "platform/FileSystem.h"
#include "platform/MessageText.h"

namespace {

class CatchLogWindowTest : public testing::Test {
 protected:
  CatchLogWindowTest() { window.FormCreate(); }
  TfrmTarnwick window;
};

}  // namespace

TEST_F(CatchLogWindowTest, EveryControlStandsAtItsPlaceAndSize) {
  struct Case {
    const char* name;
    QWidget* control;
    QWidget* parent;
    QRect geometry;
  };
  TfrmTarnwick& w = window;
  QWidget* client = w.centralWidget();
  const Case cases[] = {
      {"Panel3", w.Panel3, client, {0, 0, 948, 285}},
      {"Panel4", w.Panel4, client, {0, 635, 948, 27}},
      {"Panel2", w.Panel2, client, {0, 285, 429, 350}},
      {"Panel1", w.Panel1, client, {432, 285, 516, 350}},
      {"DBGrid1", w.DBGrid1, w.Panel3, {2, 2, 944, 281}},
      {"Shape1", w.Shape1, w.Panel2, {8, 12, 149, 45}},
      {"Shape2", w.Shape2, w.Panel2, {228, 12, 113, 45}},
      {"btnNew", w.btnNew, w.Panel2, {12, 20, 85, 29}},
      {"btnAdd", w.btnAdd, w.Panel2, {104, 20, 49, 29}},
      {"btnEsc", w.btnEsc, w.Panel2, {164, 20, 57, 29}},
      {"btnEdit", w.btnEdit, w.Panel2, {232, 20, 49, 29}},
      {"btnOK", w.btnOK, w.Panel2, {288, 20, 49, 29}},
      {"btnDel", w.btnDel, w.Panel2, {356, 20, 65, 29}},
      {"Label1", w.Label1, w.Panel2, {8, 76, 81, 25}},
      {"Label5", w.Label5, w.Panel2, {8, 104, 81, 25}},
      {"Label2", w.Label2, w.Panel2, {8, 132, 81, 25}},
      {"Label3", w.Label3, w.Panel2, {8, 160, 81, 25}},
      {"Label4", w.Label4, w.Panel2, {8, 188, 81, 25}},
      {"Label8", w.Label8, w.Panel2, {8, 216, 81, 93}},
      {"Label7", w.Label7, w.Panel2, {8, 312, 81, 25}},
      {"datePicker", w.datePicker, w.Panel2, {96, 76, 145, 23}},
      {"edtWeather", w.edtWeather, w.Panel2, {96, 104, 193, 25}},
      {"edtName", w.edtName, w.Panel2, {96, 132, 325, 25}},
      {"edtSize", w.edtSize, w.Panel2, {96, 160, 93, 25}},
      {"edtPlace", w.edtPlace, w.Panel2, {96, 188, 325, 25}},
      {"mmMemo", w.mmMemo, w.Panel2, {96, 216, 325, 93}},
      {"edtPicName", w.edtPicName, w.Panel2, {96, 312, 325, 25}},
      {"Label6", w.Label6, w.Panel4, {8, 4, 53, 21}},
      {"edtXmlData", w.edtXmlData, w.Panel4, {60, 4, 393, 20}},
      {"Label9", w.Label9, w.Panel4, {476, 2, 53, 21}},
      {"edtPicData", w.edtPicData, w.Panel4, {524, 4, 413, 20}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.control->parentWidget(), c.parent) << c.name;
    EXPECT_EQ(c.control->geometry(), c.geometry) << c.name;
  }
}

TEST_F(CatchLogWindowTest, TheClientAreaIsFixedBelowTheMenuBarAndThereIsNoMaximizeButton) {
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  EXPECT_EQ(window.centralWidget()->size(), QSize(948, 662));
  EXPECT_EQ(window.centralWidget()->y(), window.menuBar()->height());
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Quorlin Ver.0.1"));
  EXPECT_EQ(window.pos(), QPoint(0, 0));
}

TEST_F(CatchLogWindowTest, CaptionsMenusAndLimitsAreThoseOfTheLayout) {
  const auto caption = [](QPushButton* button) { return FromQt(button->text()).value(); };
  EXPECT_EQ(caption(window.btnNew), Cp932("新規ﾃﾞｰﾀ作成"));
  EXPECT_EQ(caption(window.btnDel), Cp932("ﾃﾞｰﾀ削除"));
  EXPECT_EQ(FromQt(window.Label8->text()).value(), Cp932(" メ  モ              (200)"));
  EXPECT_EQ(FromQt(window.Label6->text()).value(), Cp932("XmlData："));
  EXPECT_EQ(window.Panel1->Caption(), Cp932("画像表示場所"));
  EXPECT_EQ(window.edtWeather->MaxBytes(), 20);
  EXPECT_EQ(window.edtName->MaxBytes(), 40);
  EXPECT_EQ(window.edtSize->MaxBytes(), 10);
  EXPECT_EQ(window.edtPlace->MaxBytes(), 40);
  EXPECT_EQ(window.edtPicName->MaxBytes(), 20);
  EXPECT_TRUE(window.edtWeather->testAttribute(Qt::WA_InputMethodEnabled));
  EXPECT_FALSE(window.edtSize->testAttribute(Qt::WA_InputMethodEnabled));
  EXPECT_FALSE(window.datePicker->testAttribute(Qt::WA_InputMethodEnabled));
  EXPECT_TRUE(window.edtXmlData->isReadOnly());
  EXPECT_EQ(window.edtXmlData->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(FromQt(window.FileMain->title()).value(), Cp932("ファイル"));
  EXPECT_EQ(FromQt(window.PicUp->text()).value(), Cp932("拡大表示"));
  EXPECT_EQ(window.Shape1->PenColour(), QColor(255, 0, 0));
  EXPECT_EQ(window.Shape2->PenColour(), QColor(255, 255, 0));
  EXPECT_EQ(window.Panel2->Face(), QColor(0, 128, 128));
}

TEST_F(CatchLogWindowTest, CreationLeavesEverythingOffAndShowsTheFolders) {
  for (QWidget* control : std::initializer_list<QWidget*>{
           window.btnNew, window.btnAdd, window.btnEsc, window.btnEdit, window.btnOK, window.btnDel,
           window.datePicker, window.edtWeather, window.edtName, window.edtSize, window.edtPlace,
           window.mmMemo, window.edtPicName}) {
    EXPECT_FALSE(control->isEnabled()) << control->metaObject()->className();
  }
  EXPECT_TRUE(window.FileOpen->isEnabled());
  EXPECT_FALSE(window.FileClose->isEnabled());
  EXPECT_TRUE(window.PicRe->isEnabled());
  EXPECT_FALSE(window.PicUp->isEnabled());
  EXPECT_EQ(window.cdsFish.State(), StoreState::Closed);
  const std::string executable = files::ExecutablePath();
  const std::string folder = executable.substr(0, executable.rfind('/') + 1);
  EXPECT_EQ(window.edtXmlData->Text(), folder + "XmlData/");
  EXPECT_EQ(window.edtPicData->Text(), folder + "PicData/");
  EXPECT_EQ(window.datePicker->text(), QStringLiteral("2004/06/08"));
  EXPECT_EQ(window.DBGrid1->model()->rowCount(), 1);
}

TEST_F(CatchLogWindowTest, TabRunsThroughTheEntryPanelInItsOrderSkippingWhatIsOff) {
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  const auto walk = [&](int steps) {
    std::vector<QWidget*> visited;
    window.btnEdit->setFocus();
    for (int i = 0; i < steps; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      visited.push_back(QApplication::focusWidget());
    }
    return visited;
  };
  window.SetButtonStates(1, 1, 1, 1, 1, 1);
  window.SetInputsEnabled(1);
  const std::vector<QWidget*> all{window.btnOK,   window.datePicker, window.edtWeather,
                                  window.edtName, window.edtSize,    window.edtPlace,
                                  window.mmMemo,  window.edtPicName, window.btnNew,
                                  window.btnDel,  window.btnAdd,     window.btnEsc};
  EXPECT_EQ(walk(12), all);
  window.SetButtonStates(1, 0, 0, 1, 0, 1);
  window.SetInputsEnabled(0);
  EXPECT_EQ(walk(2), (std::vector<QWidget*>{window.btnNew, window.btnDel}));
}
