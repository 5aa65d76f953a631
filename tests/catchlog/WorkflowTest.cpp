#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "app/FailureReport.h"
#include "catchlog/Utarnwick.h"
#include "controls/ByteLimitedEdit.h"
#include "controls/DataGrid.h"
#include "controls/DatePicker.h"
#include "controls/FailureBoundary.h"
#include "controls/MemoEdit.h"
#include "controls/Panel.h"
#include "controls/QtText.h"
#include "pictures/PictureControl.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/MessageText.h"
#include "storage/BinaryPacket.h"
#include "tests/support/KeyInput.h"
#include "tests/support/ModalAnswer.h"
#include "tests/support/TempFolder.h"

namespace {

std::string Metadata(
    const char* lastField = "<FIELD attrname=\"PicName\" fieldtype=\"string\" WIDTH=\"20\"/>") {
  return std::string(
             "<?xml version=\"1.0\" standalone=\"yes\"?>  <DATAPACKET "
             "Version=\"2.0\"><METADATA><FIELDS>") +
         "<FIELD attrname=\"Date\" fieldtype=\"date\"/>"
         "<FIELD attrname=\"Weather\" fieldtype=\"string\" WIDTH=\"20\"/>"
         "<FIELD attrname=\"Name\" fieldtype=\"string\" WIDTH=\"20\"/>"
         "<FIELD attrname=\"Size\" fieldtype=\"string\" WIDTH=\"20\"/>"
         "<FIELD attrname=\"Place\" fieldtype=\"string\" WIDTH=\"20\"/>"
         "<FIELD attrname=\"Memo\" fieldtype=\"bin.hex\" SUBTYPE=\"Text\"/>" +
         lastField + "</FIELDS><PARAMS/></METADATA><ROWDATA>";
}

std::string Document(const std::string& rows) {
  return Metadata() + rows + "</ROWDATA></DATAPACKET>";
}

const std::string kAyu =
    "<ROW Date=\"20050612\" Weather=\"fine\" Name=\"ayu\" Size=\"21cm\" Place=\"north bank\" "
    "Memo=\"cold\" PicName=\"ayu.jpeg\"/>";
const std::string kIwana =
    "<ROW Date=\"20050613\" Weather=\"rain\" Name=\"iwana\" Size=\"28cm\" Place=\"pool\" "
    "PicName=\"missing.jpeg\"/>";
const std::string kKoi =
    "<ROW Date=\"20050614\" Weather=\"\" Name=\"koi\" Size=\"\" Place=\"\" PicName=\"\"/>";

using Buttons = std::array<int, 6>;

class WorkflowTest : public testing::Test {
 protected:
  WorkflowTest() {
    failure_boundary::SetReporter(ReportFailure);
    mkdir(folder.Path("XmlData").c_str(), 0755);
    mkdir(folder.Path("PicData").c_str(), 0755);
    QImage(100, 50, QImage::Format_RGB32)
        .save(QString::fromStdString(folder.Path("PicData/ayu.jpeg")), "JPEG");
    window.FormCreate();
    window.UseExecutableFolder(folder.Path() + "/");
    window.show();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
  }
  ~WorkflowTest() override {
    failure_boundary::SetReporter({});
    files::SetCurrentDirectory(startedIn_);  // the open dialog moves it into the test's folder
  }

  // What the user does in the open dialog: types the name and presses Enter.
  static ModalAnswer::Action TypeName(const std::string& name) {
    return [name](QWidget& dialog) {
      auto* nameEdit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      ASSERT_NE(nameEdit, nullptr);
      QTest::keyClicks(nameEdit, QString::fromStdString(name));
      QTest::keyClick(nameEdit, Qt::Key_Return);
    };
  }
  // Reads the failure box's text into `text` and closes it.
  static ModalAnswer::Action ReadFailureBox(std::string& text) {
    return [&text](QWidget& box) {
      text = FromQt(qobject_cast<QMessageBox*>(&box)->text()).value_or("?");
      ModalAnswer::Key(Qt::Key_Return)(box);
    };
  }

  // "開く", the name typed into the dialog, Enter.
  void OpenThroughDialog(const std::string& name) {
    ModalAnswer answer(TypeName(name));
    window.FileOpen->trigger();
    EXPECT_EQ(answer.Answered(), 1);
  }
  void OpenFixture(const std::string& document, const std::string& name = "log.xml") {
    folder.Write("XmlData/" + name, document);
    OpenThroughDialog(name);
  }

  Buttons ButtonStates() {
    const QPushButton* buttons[] = {window.btnNew,  window.btnAdd, window.btnEsc,
                                    window.btnEdit, window.btnOK,  window.btnDel};
    Buttons states{};
    for (std::size_t i = 0; i < 6; ++i)
      states[i] = buttons[i]->isEnabled() ? 1 : 0;
    return states;
  }
  bool InputsEnabled() { return window.edtName->isEnabled(); }

  void Click(QWidget* button) { ClickAsUser(*button); }
  void ClickCell(int row, int column = 2) {
    QTest::mouseClick(
        window.DBGrid1->viewport(), Qt::LeftButton, {},
        window.DBGrid1->visualRect(window.DBGrid1->model()->index(row, column)).center());
  }
  std::string FailureBoxTextOf(std::function<void()> action) {
    std::string text = "(no failure box)";
    ModalAnswer answer(ReadFailureBox(text));
    action();
    return text;
  }
  std::string LogFile() { return folder.Read("XmlData/log.xml"); }

  const std::string startedIn_ = files::CurrentDirectory();
  TempFolder folder;
  TfrmTarnwick window;
  // A box nobody expected fails the test and is closed, rather than waiting for ever.
  ModalAnswer unexpected{std::vector<ModalAnswer::Action>{}};
};

}  // namespace

TEST_F(WorkflowTest, TheButtonsFollowTheirTable) {
  OpenFixture(Document(kAyu + kIwana));
  struct Step {
    const char* what;
    std::function<void()> act;
    Buttons buttons;
    bool inputs;
  };
  const Step steps[] = {
      {"opened", [] {}, {1, 0, 0, 1, 0, 1}, false},
      {"cell click", [&] { ClickCell(1); }, {1, 0, 0, 1, 0, 1}, false},
      {"new", [&] { Click(window.btnNew); }, {0, 1, 1, 0, 0, 0}, true},
      {"add", [&] { Click(window.btnAdd); }, {1, 0, 0, 1, 0, 1}, false},
      {"edit", [&] { Click(window.btnEdit); }, {0, 0, 1, 0, 1, 0}, true},
      {"a click while editing", [&] { ClickCell(0); }, {1, 0, 0, 1, 0, 1}, true},
      {"edit again", [&] { Click(window.btnEdit); }, {0, 0, 1, 0, 1, 0}, true},
      {"OK", [&] { Click(window.btnOK); }, {1, 0, 0, 1, 0, 1}, false},
      {"edit, to cancel", [&] { Click(window.btnEdit); }, {0, 0, 1, 0, 1, 0}, true},
      {"Esc", [&] { Click(window.btnEsc); }, {1, 0, 1, 1, 0, 1}, false},
      {"Esc again", [&] { Click(window.btnEsc); }, {1, 0, 1, 1, 0, 1}, false},
      {"delete, No",
       [&] {
         ModalAnswer no(ModalAnswer::Key(Qt::Key_N));
         Click(window.btnDel);
       },
       {1, 0, 1, 1, 0, 1},
       false},
      {"delete, Yes",
       [&] {
         ModalAnswer yes(ModalAnswer::Key(Qt::Key_Y));
         Click(window.btnDel);
       },
       {1, 0, 0, 0, 0, 0},
       false},
      {"new after delete", [&] { Click(window.btnNew); }, {0, 1, 1, 0, 0, 0}, true},
  };
  for (const auto& step : steps) {
    step.act();
    EXPECT_EQ(ButtonStates(), step.buttons) << step.what;
    EXPECT_EQ(InputsEnabled(), step.inputs) << step.what;
  }
  EXPECT_FALSE(window.FileOpen->isEnabled());
  EXPECT_TRUE(window.FileClose->isEnabled());
}

TEST_F(WorkflowTest, AFullSessionEndsInTheFileTheWriterMustGive) {
  OpenFixture(Document(kAyu + kIwana));
  ClickCell(1);
  EXPECT_EQ(window.edtName->Text(), "iwana");
  Click(window.btnNew);
  window.datePicker->SetDayNumber(732109 + 30);  // 2005/07/12
  TypeText(*window.edtWeather, QString::fromUtf8("晴れ"));
  TypeText(*window.edtName, QString::fromUtf8("鮎"));
  TypeText(*window.mmMemo, QStringLiteral("two"));
  QTest::keyClick(window.mmMemo, Qt::Key_Return);
  TypeText(*window.mmMemo, QStringLiteral("lines & <more>"));
  Click(window.btnAdd);
  ClickCell(0);
  Click(window.btnEdit);
  TypeText(*window.edtSize, QStringLiteral("+1"));
  Click(window.btnOK);
  ClickCell(1);
  {
    ModalAnswer yes(ModalAnswer::Key(Qt::Key_Return));
    Click(window.btnDel);
  }
  ClickCell(0);
  Click(window.btnEdit);
  TypeText(*window.edtPlace, QStringLiteral("!"));
  Click(window.btnEsc);  // discards the typing
  window.close();
  window.cdsFish.Close();  // what the end of the run does
  EXPECT_EQ(LogFile(),
            Document("<ROW Date=\"20050612\" Weather=\"fine\" Name=\"ayu\" Size=\"21cm+1\" "
                     "Place=\"north bank\" Memo=\"cold\" PicName=\"ayu.jpeg\"/>"
                     "<ROW Date=\"20050712\" Weather=\"" +
                     Cp932("晴れ") + "\" Name=\"" + Cp932("鮎") +
                     "\" Size=\"\" Place=\"\" Memo=\"two&#013;&#010;lines &amp; &lt;more&gt;\" "
                     "PicName=\"\"/>"));
}

TEST_F(WorkflowTest, TheDialogStartsInTheDataFolderAndLeavesTheCurrentDirectoryThere) {
  QString started, filters;
  ModalAnswer answer([&](QWidget& dialog) {
    auto& files = static_cast<QFileDialog&>(dialog);
    started = files.directory().absolutePath();
    filters = files.nameFilters().join(QStringLiteral(";"));
    TypeName("log.xml")(dialog);
  });
  window.FileOpen->trigger();
  EXPECT_EQ(started.toStdString(), folder.Path("XmlData"));
  EXPECT_EQ(filters, QString::fromUtf8("XMLデータ（*.xml） (*.xml)"));
  EXPECT_EQ(files::CurrentDirectory(), folder.Path("XmlData"));
  EXPECT_EQ(window.cdsFish.FileName(), folder.Path("XmlData/log.xml"));
}

TEST_F(WorkflowTest, CancellingTheDialogLeavesTheWindowWithoutAFile) {
  ModalAnswer cancel(ModalAnswer::Key(Qt::Key_Escape));
  window.FileOpen->trigger();
  EXPECT_EQ(cancel.Answered(), 1);
  EXPECT_EQ(ButtonStates(), (Buttons{0, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(window.FileOpen->isEnabled());
  EXPECT_EQ(window.cdsFish.State(), StoreState::Closed);
  ClickCell(0);  // the flag is 0: nothing
  EXPECT_EQ(window.edtName->Text(), "");
}

TEST_F(WorkflowTest, AnUnreadableFileLeavesTheStoreClosedAndCanBeTriedAgain) {
  folder.Write("XmlData/text.xml", "This is no catch log.\n");
  std::string failure = "(no failure box)";
  {
    ModalAnswer answers({TypeName("text.xml"), ReadFailureBox(failure)});
    window.FileOpen->trigger();
  }
  EXPECT_EQ(failure, "");
  EXPECT_EQ(window.cdsFish.State(), StoreState::Closed);
  EXPECT_EQ(ButtonStates(), (Buttons{0, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(window.FileOpen->isEnabled());
  EXPECT_EQ(FailureBoxTextOf([&] { ClickCell(0); }),
            Cp932("cdsFish: 項目 'Date' が見つかりません."));
}

TEST_F(WorkflowTest, EditAndOKRightAfterOpeningWriteThePickersStoredDate) {
  OpenFixture(Document(kAyu));
  Click(window.btnEdit);
  Click(window.btnOK);
  window.cdsFish.Close();
  EXPECT_EQ(LogFile(),
            Document("<ROW Date=\"20040608\" Weather=\"\" Name=\"\" Size=\"\" Place=\"\" "
                     "PicName=\"\"/>"));
}

TEST_F(WorkflowTest, EditAndOKOnAnEmptyCatchLogAddAnEntry) {
  OpenThroughDialog("new.xml");  // a name that does not exist: an empty catch log
  Click(window.btnEdit);
  TypeText(*window.edtName, QStringLiteral("first"));
  Click(window.btnOK);
  EXPECT_EQ(window.cdsFish.EntryCount(), 1);
  window.cdsFish.Close();
  EXPECT_NE(folder.Read("XmlData/new.xml").find("Name=\"first\""), std::string::npos);
}

TEST_F(WorkflowTest, DeletingTheLastEntryLeavesOnlyNew) {
  OpenFixture(Document(kAyu));
  ClickCell(0);
  ModalAnswer yes(ModalAnswer::Key(Qt::Key_Y));
  Click(window.btnDel);
  EXPECT_EQ(window.cdsFish.EntryCount(), 0);
  EXPECT_EQ(ButtonStates(), (Buttons{1, 0, 0, 0, 0, 0}));
  EXPECT_EQ(window.DBGrid1->model()->rowCount(), 1);  // the blank row
  EXPECT_EQ(FailureBoxTextOf([&] { ClickCell(0); }), "'' is not a valid date.");
}

TEST_F(WorkflowTest, ANameWithoutExtensionSavesInBinaryPacketForm) {
  OpenThroughDialog("catches");
  Click(window.btnNew);
  TypeText(*window.edtName, QStringLiteral("ayu"));
  Click(window.btnAdd);
  window.cdsFish.Close();
  EXPECT_TRUE(IsBinaryPacket(folder.Read("XmlData/catches")));
}

TEST_F(WorkflowTest, AChangeLogInTheFileRefusesTheCloseUntilTheFirstChange) {
  std::string document = Document("<ROW RowState=\"4\" Name=\"ayu\" Date=\"20050612\"/>");
  document.replace(document.find("<PARAMS/>"), 9, "<PARAMS CHANGE_LOG=\"1 0 4\"/>");
  OpenFixture(document);
  {
    ModalAnswer ok(ModalAnswer::Key(Qt::Key_Return));
    EXPECT_FALSE(window.close());
    EXPECT_EQ(ok.Answered(), 1);
  }
  ClickCell(0);
  Click(window.btnEdit);
  Click(window.btnOK);
  EXPECT_TRUE(window.close());
}

TEST_F(WorkflowTest, EscapeInTheGridCancelsAnEntryLeftPendingByAFailedAdd) {
  // A catch log without PicName: the add fails at its last field and leaves its entry pending.
  OpenFixture(Metadata("") + "</ROWDATA></DATAPACKET>");
  Click(window.btnNew);
  TypeText(*window.edtName, QStringLiteral("partial"));
  EXPECT_EQ(FailureBoxTextOf([&] { Click(window.btnAdd); }),
            Cp932("cdsFish: 項目 'PicName' が見つかりません."));
  EXPECT_EQ(window.cdsFish.State(), StoreState::Inserting);
  EXPECT_EQ(ButtonStates(), (Buttons{0, 1, 1, 0, 0, 0}));
  window.DBGrid1->setFocus();
  QTest::keyClick(window.DBGrid1, Qt::Key_Escape);
  EXPECT_EQ(window.cdsFish.State(), StoreState::Browsing);
  EXPECT_EQ(window.cdsFish.EntryCount(), 0);
}

TEST_F(WorkflowTest, ThePicturePanelShowsThePhotographOrTellsItIsMissing) {
  folder.Write("PicData/broken.jpeg", "not a picture");
  OpenFixture(Document(kAyu + kIwana + kKoi +
                       "<ROW Date=\"20050615\" Name=\"broken\" PicName=\"broken.jpeg\"/>"));
  const std::string notice = Cp932("画像がないか名前が変更されています。");
  ClickCell(0);
  EXPECT_FALSE(window.Image1->Picture().Empty());
  EXPECT_TRUE(window.PicUp->isEnabled());
  EXPECT_EQ(window.PicturePath(), folder.Path("PicData/ayu.jpeg"));
  EXPECT_EQ(window.Panel1->Caption(), Cp932("画像表示場所"));
  ClickCell(1);  // missing
  EXPECT_TRUE(window.Image1->Picture().Empty());
  EXPECT_FALSE(window.PicUp->isEnabled());
  EXPECT_EQ(window.Panel1->Caption(), notice);
  ClickCell(0);  // found again: the caption stays
  EXPECT_TRUE(window.PicUp->isEnabled());
  EXPECT_EQ(window.Panel1->Caption(), notice);
  ClickCell(2);  // an empty PicName names the folder itself
  EXPECT_FALSE(window.PicUp->isEnabled());
  EXPECT_EQ(window.PicturePath(), folder.Path("PicData/"));
  Click(window.btnNew);  // ClearInputs clears the picture only
  EXPECT_EQ(window.PicturePath(), folder.Path("PicData/"));
  const std::string failure = FailureBoxTextOf([&] { ClickCell(3); });
  EXPECT_TRUE(failure.starts_with(Cp932("JPEG エラー #"))) << failure;
  EXPECT_EQ(ButtonStates(), (Buttons{0, 1, 1, 0, 0, 0}));  // the button step did not run
  EXPECT_EQ(window.edtName->Text(), "broken");             // the inputs were loaded before
}
