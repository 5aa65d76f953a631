#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "controls/ByteLimitedEdit.h"
#include "controls/ComboBox.h"
#include "controls/FileListBox.h"
#include "pictures/PictureControl.h"
#include "pictures/UpicNameEdit.h"
#include "platform/FileSystem.h"
#include "platform/MessageText.h"
#include "tests/pictures/PictureWindowsFixture.h"
#include "tests/support/KeyInput.h"

namespace {

class PicNameEditTest : public PictureWindowTest {
 protected:
  PicNameEditTest() {
    Photo("Tai.jpeg", 200, 100);
    Photo("aji.JPEG");
    Photo("saba.jpg");
    folder.Write("memo.txt", "memo");
    Photo(".h.jpeg");
    Folder("old.jpeg");
    window.FormCreate();
  }

  void Show() {
    window.Present(folder.Path() + "/");
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }
  std::vector<std::string> Listed() { return window.FileListBox1->Names(); }
  void ClickName(const std::string& name) {
    const auto& names = Listed();
    const int row = static_cast<int>(std::find(names.begin(), names.end(), name) - names.begin());
    QListWidget* list = window.FileListBox1;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
  }
  void TypeNewName(const std::string& name) {
    window.edtNewFileName->selectAll();
    TypeText(*window.edtNewFileName, ToQt(name));
  }
  // Presses "変換実行" and answers its question; gives the question's text.
  std::string Exchange(ModalAnswer::Action answer) {
    std::string question;
    ModalAnswer answers([&](QWidget& dialog) {
      for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) question += FromQt(label->text()).value_or("?");
      }
      answer(dialog);
    });
    ClickAsUser(*window.btnExchange);
    return question;
  }
  bool Exists(const std::string& name) { return files::FileExists(folder.Path(name)); }

  TfrmPicNameEdit window;
};

}  // namespace

TEST_F(PicNameEditTest, ListsTheJpegFilesOfThePictureFolder) {
  Show();
  EXPECT_EQ(Listed(), (std::vector<std::string>{"aji.JPEG", "Tai.jpeg"}));
  EXPECT_EQ(window.FileListBox1->Folder(), folder.Path());
  EXPECT_EQ(files::CurrentDirectory(), folder.Path());
  EXPECT_TRUE(window.FileListBox1->selectedItems().isEmpty());
}

TEST_F(PicNameEditTest, AClickPreviewsTheFileAndReadiesItsName) {
  Show();
  ClickName("Tai.jpeg");
  EXPECT_EQ(window.edtOldFileName->Text(), "Tai.jpeg");
  EXPECT_EQ(window.edtNewFileName->Text(), "Tai.jpeg");
  EXPECT_TRUE(window.edtNewFileName->hasFocus());
  EXPECT_EQ(window.edtNewFileName->selectedText(), QStringLiteral("Tai.jpeg"));
  EXPECT_EQ(window.Image1->DestinationRect(), QRect(0, 0, 200, 100));  // actual size
  EXPECT_FALSE(window.edtOldFileName->isEnabled());
}

TEST_F(PicNameEditTest, YesRenamesTheFileAndReadsTheListAgain) {
  Show();
  ClickName("Tai.jpeg");
  TypeNewName("Madai.jpeg");
  EXPECT_EQ(Exchange(ModalAnswer::Key(Qt::Key_Y)),
            "Tai.jpeg\n" + Cp932("を") + "\nMadai.jpeg\n" + Cp932("に変更しますか？"));
  EXPECT_TRUE(Exists("Madai.jpeg"));
  EXPECT_FALSE(Exists("Tai.jpeg"));
  EXPECT_EQ(Listed(), (std::vector<std::string>{"aji.JPEG", "Madai.jpeg"}));
  EXPECT_TRUE(window.FileListBox1->selectedItems().isEmpty());
  EXPECT_EQ(window.edtOldFileName->Text(), "Tai.jpeg");
  EXPECT_EQ(window.edtNewFileName->Text(), "Madai.jpeg");
  EXPECT_EQ(window.Image1->Picture().Width(), 200);  // the preview stays
}

TEST_F(PicNameEditTest, NoRenamesNothingAndReadsNothing) {
  Show();
  ClickName("Tai.jpeg");
  TypeNewName("Madai.jpeg");
  Photo("iwashi.jpeg");
  Exchange(ModalAnswer::Key(Qt::Key_N));
  EXPECT_TRUE(Exists("Tai.jpeg"));
  EXPECT_EQ(Listed(), (std::vector<std::string>{"aji.JPEG", "Tai.jpeg"}));
}

TEST_F(PicNameEditTest, ANameWithoutExtensionLeavesTheList) {
  Show();
  ClickName("Tai.jpeg");
  TypeNewName("Madai");
  Exchange(ModalAnswer::Key(Qt::Key_Return));
  EXPECT_TRUE(Exists("Madai"));
  EXPECT_EQ(Listed(), (std::vector<std::string>{"aji.JPEG"}));
}

TEST_F(PicNameEditTest, ARenameThatCannotBeDoneReplacesNothingAndSaysSo) {
  Show();
  ClickName("Tai.jpeg");
  TypeNewName("aji.JPEG");
  std::string failure;
  ModalAnswer answers({ModalAnswer::Key(Qt::Key_Y), ReadFailureBox(failure)});
  ClickAsUser(*window.btnExchange);
  EXPECT_EQ(failure, Cp932("ファイル Tai.jpeg を aji.JPEG に変更できません."));
  EXPECT_TRUE(Exists("Tai.jpeg"));
  EXPECT_EQ(Listed(), (std::vector<std::string>{"aji.JPEG", "Tai.jpeg"}));
}

TEST_F(PicNameEditTest, BeforeAnyClickTheQuestionHasAnEmptyFirstLine) {
  Show();
  std::string failure;
  std::string question;
  ModalAnswer answers({[&](QWidget& dialog) {
                         for (const QLabel* label : dialog.findChildren<QLabel*>()) {
                           if (!label->text().isEmpty())
                             question = FromQt(label->text()).value_or("?");
                         }
                         ModalAnswer::Key(Qt::Key_Y)(dialog);
                       },
                       ReadFailureBox(failure)});
  ClickAsUser(*window.btnExchange);
  EXPECT_EQ(question, "\n" + Cp932("を") + "\n\n" + Cp932("に変更しますか？"));
  EXPECT_EQ(failure, Cp932("ファイル  を  に変更できません."));
}

TEST_F(PicNameEditTest, NamesAreShownWholeAndTrimmed) {
  Photo(" tai.jpeg");
  Photo(Cp932("真鯛.jpeg"));
  Photo(Cp932("ソイ表.jpeg"));            // second bytes of 0x5C
  Photo(std::string(35, 'k') + ".jpeg");  // 40 bytes
  Show();
  ClickName(" tai.jpeg");
  EXPECT_EQ(window.edtOldFileName->Text(), "tai.jpeg");
  ClickName(Cp932("真鯛.jpeg"));
  EXPECT_EQ(window.edtOldFileName->Text(), Cp932("真鯛.jpeg"));
  ClickName(Cp932("ソイ表.jpeg"));
  EXPECT_EQ(window.edtOldFileName->Text(), Cp932("ソイ表.jpeg"));
  ClickName(std::string(35, 'k') + ".jpeg");
  EXPECT_EQ(window.edtOldFileName->Text(), std::string(35, 'k') + ".jpeg");
  TypeNewName(Cp932("ソ.jpeg"));
  Exchange(ModalAnswer::Key(Qt::Key_Y));
  EXPECT_TRUE(Exists(Cp932("ソ.jpeg")));
}

TEST_F(PicNameEditTest, AFileDeletedAfterTheListingFailsToLoadAndKeepsTheFields) {
  Show();
  ClickName("Tai.jpeg");
  std::remove(folder.Path("aji.JPEG").c_str());
  std::string failure;
  ModalAnswer answer(ReadFailureBox(failure));
  ClickName("aji.JPEG");
  EXPECT_EQ(failure, Cp932("ファイル ") + folder.Path("aji.JPEG") + Cp932(" は開けません."));
  EXPECT_EQ(window.edtOldFileName->Text(), "Tai.jpeg");
}

TEST_F(PicNameEditTest, TheFolderIsReadAgainOnlyAfterARename) {
  Show();
  window.close();
  Photo("iwashi.jpeg");
  Show();
  EXPECT_EQ(Listed(), (std::vector<std::string>{"aji.JPEG", "Tai.jpeg"}));
  ClickName("Tai.jpeg");
  TypeNewName("Madai.jpeg");
  Exchange(ModalAnswer::Key(Qt::Key_Y));
  EXPECT_EQ(Listed(), (std::vector<std::string>{"aji.JPEG", "iwashi.jpeg", "Madai.jpeg"}));
}

TEST_F(PicNameEditTest, ARenameAfterTheCurrentDirectoryMovedStillActsInThePictureFolder) {
  Show();
  ClickName("Tai.jpeg");
  Folder("data");
  folder.Write("data/Tai.jpeg", "a file of the same name elsewhere");
  files::SetCurrentDirectory(folder.Path("data"));  // as the open dialog leaves it
  TypeNewName("Madai.jpeg");
  Exchange(ModalAnswer::Key(Qt::Key_Y));
  EXPECT_TRUE(Exists("Madai.jpeg"));
  EXPECT_TRUE(Exists("data/Tai.jpeg"));
  EXPECT_FALSE(Exists("data/Madai.jpeg"));
}

TEST_F(PicNameEditTest, TheSelectorStretchesThePreview) {
  Show();
  ClickName("Tai.jpeg");
  window.ComboBox1->setFocus();
  QTest::keyClick(window.ComboBox1, Qt::Key_Down);
  EXPECT_EQ(window.Image1->DestinationRect(), QRect(0, 0, 574, 594));
}
