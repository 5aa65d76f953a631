#include "pictures/UpicNameEdit.h"

#include <QPushButton>

#include "app/MessageDialog.h"
#include "controls/ByteLimitedEdit.h"
#include "controls/ComboBox.h"
#include "controls/FailureBoundary.h"
#include "controls/FileListBox.h"
#include "controls/JapaneseDesktop.h"
#include "controls/Label.h"
#include "controls/Panel.h"
#include "controls/QtText.h"
#include "controls/SystemColors.h"
#include "controls/WindowLook.h"
#include "pictures/PictureControl.h"
#include "platform/CodePage.h"
#include "platform/Failure.h"
#include "platform/FileSystem.h"
#include "platform/MessageText.h"

TfrmPicNameEdit* frmPicNameEdit = nullptr;

namespace {

constexpr int kListWidth = 341;
constexpr int kPreviewWidth = 576;

QFont StripFont() {
  return WindowsFont(FontFace::ProportionalGothic, 15);
}

Label* MakeLabel(QWidget* parent, const char* caption, QRect geometry) {
  auto* label = new Label(parent, Cp932(caption), StripFont(), Qt::AlignLeft | Qt::AlignVCenter);
  label->setGeometry(geometry);
  return label;
}

// The list's folder until its first showing: the current directory at the start, or none
// when that directory has gone (its first reading then fails, and says so).
std::string StartingFolder() {
  try {
    return files::CurrentDirectory();
  } catch (const Failure&) {
    return std::string();
  }
}

}  // namespace

TfrmPicNameEdit::TfrmPicNameEdit() {
  ApplyWindowLook(*this, Cp932("画像名称変更画面"), WindowBorder::Sizeable);

  Panel2 = new Panel(this, system_colors::ButtonFace(), 1);
  edtOldFileName = new ByteLimitedEdit(Panel2, StripFont(), 0, InputMethodMode::Closed);
  edtOldFileName->setGeometry(4, 8, 157, 29);
  edtOldFileName->setEnabled(false);
  Label1 = MakeLabel(Panel2, "→→→　ファイル名変換　→→→", {164, 8, 209, 33});
  edtNewFileName = new ByteLimitedEdit(Panel2, StripFont(), 0, InputMethodMode::Closed);
  edtNewFileName->setGeometry(372, 8, 157, 29);
  Label2 = MakeLabel(Panel2, "←←拡張子も必要", {532, 8, 129, 33});
  btnExchange = new QPushButton(ToQt(Cp932("変換実行")), Panel2);
  btnExchange->setGeometry(668, 4, 93, 33);
  btnExchange->setFont(StripFont());
  connect(btnExchange, &QPushButton::clicked, this,
          [this] { failure_boundary::Guarded([&] { btnExchangeClick(); }); });
  ComboBox1 = new ComboBox(Panel2, WindowsFont(FontFace::ProportionalGothic, 16),
                           {Cp932("実際表示"), Cp932("拡大表示")}, 16);
  ComboBox1->setGeometry(776, 8, 129, 24);
  ComboBox1->SetOnChange([this] { ComboBox1Change(); });

  Panel1 = new Panel(this, system_colors::ButtonFace(), 1);
  FileListBox1 = new FileListBox(Panel1, font(), StartingFolder());
  FileListBox1->SetOnSelect([this] { FileListBox1Click(); });
  Panel3 = new Panel(this, system_colors::ButtonFace(), 1);
  Panel3->SetCaption(Cp932("画像表示場所"));
  Image1 = new PictureControl(Panel3);

  QWidget::setTabOrder(FileListBox1, edtNewFileName);
  QWidget::setTabOrder(edtNewFileName, btnExchange);
  QWidget::setTabOrder(btnExchange, ComboBox1);

  resize(920, 641);  // the client area the window was laid out for
  move(80, 48);
}

void TfrmPicNameEdit::resizeEvent(QResizeEvent*) {
  // The list panel and the preview panel keep their widths; the strip between takes the rest.
  const int below = std::max(height() - 45, 0);
  Panel2->setGeometry(0, 0, width(), 45);
  Panel1->setGeometry(0, 45, kListWidth, below);
  Panel3->setGeometry(width() - kPreviewWidth, 45, kPreviewWidth, below);
  FileListBox1->setGeometry(1, 1, kListWidth - 2, std::max(below - 2, 0));
  Image1->setGeometry(1, 1, kPreviewWidth - 2, std::max(below - 2, 0));
}

void TfrmPicNameEdit::FormCreate() {
  move(x(), 0);
  move(0, y());
}

void TfrmPicNameEdit::FormShow() {
  if (FileListBox1->SetMask("*.jpeg")) FileListBox1->Read();
  ApplyPictureFolder();
}

void TfrmPicNameEdit::ApplyPictureFolder() {
  const std::string& path = pictureFolderPath_;
  if (path.empty() || cp932::SameText(path, SelectedPath())) return;
  // The folder is the path without its file part, which is empty after the closing "/".
  std::string folder = path.substr(0, path.rfind('/') + 1);
  if (folder.size() > 1) folder.pop_back();
  const std::string before = files::CurrentDirectory();
  files::SetCurrentDirectory(folder);
  const std::string resolved = files::CurrentDirectory();
  files::SetCurrentDirectory(before);
  if (cp932::SameText(resolved, FileListBox1->Folder())) return;
  FileListBox1->SetFolder(resolved);
  FileListBox1->Read();
}

std::string TfrmPicNameEdit::SelectedPath() const {
  const std::string name = FileListBox1->SelectedName();
  if (name.empty()) return std::string();
  const std::string& folder = FileListBox1->Folder();
  return folder.ends_with('/') ? folder + name : folder + "/" + name;
}

std::string TfrmPicNameEdit::NameFromPath(std::string_view path) {
  // The file name: the path after its last "/" ("/" never stands as the second byte of a
  // double-byte character). Names of any length are taken whole.
  std::string_view name = path.substr(path.rfind('/') + 1);
  while (!name.empty() && static_cast<unsigned char>(name.front()) <= 0x20)
    name.remove_prefix(1);
  while (!name.empty() && static_cast<unsigned char>(name.back()) <= 0x20)
    name.remove_suffix(1);
  return std::string(name);
}

void TfrmPicNameEdit::FileListBox1Click() {
  const std::string path = SelectedPath();
  Image1->Picture().LoadFromFile(path);
  edtOldFileName->SetText(NameFromPath(path));
  edtNewFileName->SetText(edtOldFileName->Text());
  edtNewFileName->setFocus(Qt::OtherFocusReason);
  edtNewFileName->selectAll();
}

void TfrmPicNameEdit::btnExchangeClick() {
  const std::string oldName = edtOldFileName->Text();
  const std::string newName = edtNewFileName->Text();
  const std::string question =
      oldName + "\r\n" + Cp932("を") + "\r\n" + newName + "\r\n" + Cp932("に変更しますか？");
  if (!Confirm(question)) return;
  // Both names are taken in the list's folder, whatever the current directory is meanwhile.
  const bool renamed = files::RenameWithoutReplacing(FileListBox1->Folder(), oldName, newName);
  FileListBox1->Read();
  if (!renamed) {
    throw Failure(FormatText(Cp932("ファイル %s を %s に変更できません"), {oldName, newName}));
  }
}

void TfrmPicNameEdit::ComboBox1Change() {
  Image1->SetStretch(ComboBox1->ItemIndex() != 0);
}

void TfrmPicNameEdit::Present(const std::string& pictureFolderPath) {
  if (!isVisible()) {
    pictureFolderPath_ = pictureFolderPath;
    failure_boundary::Guarded([&] { FormShow(); });
    show();
  }
  raise();
  activateWindow();
}
