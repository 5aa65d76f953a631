#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include "controls/DataGrid.h"
#include "controls/JapaneseDesktop.h"
#include "platform/MessageText.h"
#include "storage/RecordStore.h"
#include "tests/support/KeyInput.h"
#include "tests/support/TempFolder.h"

namespace {

std::vector<GridColumn> Columns() {
  const auto column = [](const char* field, const char* title, int width) {
    return GridColumn{field, Cp932(title), Qt::AlignHCenter, Qt::AlignLeft, width};
  };
  return {column("Date", "日付", 70),    column("Weather", "天候", 79), column("Name", "名称", 0),
          column("Size", "サイズ", 0),   column("Place", "場所", 0),    column("Memo", "メモ", 0),
          column("PicName", "画像名", 0)};
}

std::string Document(const std::string& nameWidth, const std::string& rows) {
  return "<?xml version=\"1.0\" standalone=\"yes\"?>  <DATAPACKET "
         "Version=\"2.0\"><METADATA><FIELDS>"
         "<FIELD attrname=\"Date\" fieldtype=\"date\"/>"
         "<FIELD attrname=\"Weather\" fieldtype=\"string\" WIDTH=\"20\"/>"
         "<FIELD attrname=\"Name\" fieldtype=\"string\" WIDTH=\"" +
         nameWidth +
         "\"/>"
         "<FIELD attrname=\"Size\" fieldtype=\"string\" WIDTH=\"20\"/>"
         "<FIELD attrname=\"Place\" fieldtype=\"string\" WIDTH=\"20\"/>"
         "<FIELD attrname=\"Memo\" fieldtype=\"bin.hex\" SUBTYPE=\"Text\"/>"
         "<FIELD attrname=\"PicName\" fieldtype=\"string\" WIDTH=\"20\"/>"
         "</FIELDS><PARAMS/></METADATA><ROWDATA>" +
         rows + "</ROWDATA></DATAPACKET>";
}

const std::string kThreeRows =
    "<ROW Date=\"20050612\" Name=\"ayu\" Memo=\"m\"/><ROW Name=\"iwana\"/><ROW Name=\"koi\"/>";

class GridTest : public testing::Test {
 protected:
  GridTest() {
    store.Close();
    grid.resize(944, 281);
    grid.show();
  }
  void OpenFile(const std::string& document) {
    folder.Write("log.xml", document);
    store.SetFileName(folder.Path("log.xml"));
    store.Open();
  }
  std::vector<int> Widths() {
    std::vector<int> widths;
    for (int c = 0; c < grid.model()->columnCount(); ++c)
      widths.push_back(grid.columnWidth(c));
    return widths;
  }
  QString Cell(int row, int column) { return grid.model()->index(row, column).data().toString(); }
  QPoint CellCentre(int row, int column) {
    return grid.visualRect(grid.model()->index(row, column)).center();
  }

  TempFolder folder;
  RecordStore store{"cdsFish", StoredEmptyStructure()};
  DataGrid grid{nullptr, store, Columns(), WindowsFont(FontFace::ProportionalGothic, 12)};
  int clicks = 0;
};

}  // namespace

TEST_F(GridTest, AClosedStoreShowsOneBlankRowInColumnsOf64) {
  EXPECT_EQ(grid.model()->rowCount(), 1);
  EXPECT_EQ(Widths(), (std::vector<int>{70, 79, 64, 64, 64, 64, 64}));
  for (int c = 0; c < 7; ++c)
    EXPECT_EQ(Cell(0, c), "");
  EXPECT_EQ(grid.model()->headerData(3, Qt::Horizontal).toString(), QString::fromUtf8("サイズ"));
}

TEST_F(GridTest, AnOpenFileGivesTheColumnsTheWidthsOfItsFields) {
  // "0" is 6 pixels wide in the grid font: a field of 20 bytes takes 6 x 20 + 4, a memo 6 x 10 + 4.
  OpenFile(Document("30", kThreeRows));
  EXPECT_EQ(Widths(), (std::vector<int>{70, 79, 184, 124, 124, 64, 124}));
  store.Close();
  EXPECT_EQ(Widths(), (std::vector<int>{70, 79, 64, 64, 64, 64, 64}));
}

TEST_F(GridTest, CellsShowTheStoresTextAndMemosOnlyWhetherTheyHoldText) {
  OpenFile(Document("20", kThreeRows));
  EXPECT_EQ(grid.model()->rowCount(), 3);
  EXPECT_EQ(Cell(0, 0), "2005/06/12");
  EXPECT_EQ(Cell(0, 2), "ayu");
  EXPECT_EQ(Cell(0, 5), "(MEMO)");
  EXPECT_EQ(Cell(1, 5), "(Memo)");
  store.Append();
  store.SetFieldText("Name", "new");
  EXPECT_EQ(grid.model()->rowCount(), 4);  // the pending entry in its place, as the last row
  EXPECT_EQ(Cell(3, 2), "new");
  EXPECT_EQ(grid.currentIndex().row(), 3);
}

TEST_F(GridTest, NothingCanBeTypedAndTheBoxOverACellIsReadOnly) {
  OpenFile(Document("20", kThreeRows));
  grid.setFocus();
  TypeText(grid, QString::fromUtf8("x"));
  EXPECT_EQ(store.State(), StoreState::Browsing);
  EXPECT_EQ(store.GetFieldText("Name"), "ayu");
  for (const Qt::Key key : {Qt::Key_F2, Qt::Key_Return}) {
    grid.setCurrentIndex(grid.model()->index(0, 2));
    QTest::keyClick(&grid, key);
    auto* box = grid.viewport()->findChild<QLineEdit*>();
    ASSERT_NE(box, nullptr) << key;
    EXPECT_TRUE(box->isReadOnly());
    EXPECT_EQ(box->text(), "ayu");
    grid.closePersistentEditor(grid.currentIndex());
    QTest::keyClick(box, Qt::Key_Escape);
  }
}

TEST_F(GridTest, EscapeCancelsAPendingEntry) {
  OpenFile(Document("20", kThreeRows));
  store.Append();
  store.SetFieldText("Name", "left over");
  QTest::keyClick(&grid, Qt::Key_Escape);
  EXPECT_EQ(store.State(), StoreState::Browsing);
  EXPECT_EQ(store.EntryCount(), 3);
}

TEST_F(GridTest, KeysMoveTheCurrentEntryWithoutACellClick) {
  OpenFile(Document("20", kThreeRows));
  grid.SetOnCellClick([&] { ++clicks; });
  grid.setFocus();
  QTest::keyClick(&grid, Qt::Key_Down);
  QTest::keyClick(&grid, Qt::Key_Down);
  EXPECT_EQ(store.GetFieldText("Name"), "koi");
  QTest::keyClick(&grid, Qt::Key_Up);
  EXPECT_EQ(store.GetFieldText("Name"), "iwana");
  EXPECT_EQ(clicks, 0);
}

TEST_F(GridTest, AClickOnACellThatWasNotCurrentRunsTheCellClick) {
  OpenFile(Document("20", kThreeRows));
  grid.SetOnCellClick([&] { ++clicks; });
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCentre(2, 2));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(store.GetFieldText("Name"), "koi");
  // The cell that is current already opens the box instead.
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCentre(2, 2));
  EXPECT_EQ(clicks, 1);
  EXPECT_NE(grid.viewport()->findChild<QLineEdit*>(), nullptr);
  // Another cell of the same row was not current: it runs.
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCentre(2, 4));
  EXPECT_EQ(clicks, 2);
  // The right button, and the indicator, move nothing into the inputs.
  QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, CellCentre(0, 2));
  const QHeaderView* indicator = grid.verticalHeader();
  QTest::mouseClick(indicator->viewport(), Qt::LeftButton, {},
                    QPoint(4, indicator->sectionViewportPosition(0) + 4));
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(store.GetFieldText("Name"), "ayu");
}

TEST_F(GridTest, TheBlankRowOfAClosedStoreStillRunsTheCellClick) {
  grid.SetOnCellClick([&] { ++clicks; });
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCentre(0, 0));
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCentre(0, 0));
  EXPECT_EQ(clicks, 2);
}
