#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTest>

#include <gtest/gtest.h>

#include "app/Startup.h"
#include "catchlog/Utarnwick.h"
#include "controls/QtText.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/MessageText.h"
#include "tests/support/ModalAnswer.h"
#include "tests/support/TempFolder.h"

namespace {

const std::string kEmptyCatchLog =
    "<?xml version=\"1.0\" standalone=\"yes\"?>  <DATAPACKET Version=\"2.0\"><METADATA><FIELDS>"
    "<FIELD attrname=\"Date\" fieldtype=\"date\"/>"
    "<FIELD attrname=\"Weather\" fieldtype=\"string\" WIDTH=\"20\"/>"
    "<FIELD attrname=\"Name\" fieldtype=\"string\" WIDTH=\"20\"/>"
    "<FIELD attrname=\"Size\" fieldtype=\"string\" WIDTH=\"20\"/>"
    "<FIELD attrname=\"Place\" fieldtype=\"string\" WIDTH=\"20\"/>"
    "<FIELD attrname=\"Memo\" fieldtype=\"bin.hex\" SUBTYPE=\"Text\"/>"
    "<FIELD attrname=\"PicName\" fieldtype=\"string\" WIDTH=\"20\"/>"
    "</FIELDS><PARAMS/></METADATA><ROWDATA></ROWDATA></DATAPACKET>";

std::string WithChangeLog() {
  std::string document = kEmptyCatchLog;
  document.replace(document.find("<PARAMS/>"), 9, "<PARAMS CHANGE_LOG=\"1 0 4\"/>");
  document.replace(document.find("</ROWDATA>"), 0, "<ROW RowState=\"4\" Name=\"ayu\"/>");
  return document;
}

void OpenStore(RecordStore& store, const std::string& path) {
  store.Close();
  store.SetFileName(path);
  store.Open();
}

void AddEntry(RecordStore& store) {
  store.Append();
  store.SetFieldText("Name", "iwana");
  store.Post();
  store.AcceptAllChanges();
}

// The texts of a message box's labels, in the program's code page.
std::string ShownText(QWidget& dialog) {
  std::string shown;
  for (const QLabel* label : dialog.findChildren<QLabel*>()) {
    if (!label->text().isEmpty()) shown += FromQt(label->text()).value_or("?");
  }
  return shown;
}

}  // namespace

TEST(Shutdown, TheCloseIsRefusedWhileTheChangeLogHoldsChanges) {
  TempFolder folder;
  folder.Write("log.xml", WithChangeLog());
  TfrmTarnwick window;
  window.FormCreate();
  OpenStore(window.cdsFish, folder.Path("log.xml"));
  window.show();
  ASSERT_EQ(window.cdsFish.ChangeLogCount(), 1);

  std::string notice, caption;
  ModalAnswer answer([&](QWidget& dialog) {
    notice = ShownText(dialog);
    caption = dialog.windowTitle().toStdString();
    ModalAnswer::Key(Qt::Key_Return)(dialog);
  });
  EXPECT_FALSE(window.close());
  EXPECT_EQ(answer.Answered(), 1);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(notice, Cp932("ファイルが保存されていません。\nファイルを保存して下さい。"));
  EXPECT_EQ(caption, "catchlog_tests");  // the application title of the running program

  AddEntry(window.cdsFish);  // accepts the file's changes with its own
  EXPECT_TRUE(window.close());
}

TEST(Shutdown, TheEndOfTheRunSavesAfterAChangeAndWritesNothingWithout) {
  TempFolder folder;
  {
    Windows windows = CreateWindows();
    OpenStore(windows.catchLog->cdsFish, folder.Path("untouched.xml"));
    EXPECT_EQ(CloseDown(std::move(windows)), 0);
  }
  EXPECT_FALSE(files::FileExists(folder.Path("untouched.xml")));
  Windows windows = CreateWindows();
  OpenStore(windows.catchLog->cdsFish, folder.Path("changed.xml"));
  AddEntry(windows.catchLog->cdsFish);
  EXPECT_EQ(CloseDown(std::move(windows)), 0);
  EXPECT_NE(folder.Read("changed.xml").find("Name=\"iwana\""), std::string::npos);
  EXPECT_EQ(frmTarnwick, nullptr);
}

TEST(Shutdown, AFailedSaveAtTheEndGivesTheApplicationErrorBoxAndExitCode1) {
  TempFolder folder;
  const std::string path = folder.Path("gone/log.xml");
  Windows windows = CreateWindows();
  OpenStore(windows.catchLog->cdsFish, path);
  AddEntry(windows.catchLog->cdsFish);

  std::string text, caption;
  ModalAnswer answer([&](QWidget& dialog) {
    caption = dialog.windowTitle().toStdString();
    text = qobject_cast<QMessageBox*>(&dialog)->text().toStdString();
    ModalAnswer::Key(Qt::Key_Return)(dialog);
  });
  EXPECT_EQ(CloseDown(std::move(windows)), 1);
  EXPECT_EQ(caption, "Application Error");
  const std::string message =
      cp932::ToUtf8(Cp932("ファイル ") + path + Cp932(" を作成できません")).value();
  EXPECT_TRUE(text.starts_with("Exception Failure in module catchlog_tests at ")) << text;
  EXPECT_TRUE(text.ends_with(".\r\n" + message + ".\r\n") ||
              text.ends_with(".\n" + message + ".\n"))
      << text;
}
