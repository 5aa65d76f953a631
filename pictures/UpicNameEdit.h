#pragma once

#include <QWidget>

#include <string>
#include <string_view>

class ByteLimitedEdit;
class ComboBox;
class FileListBox;
class Label;
class Panel;
class PictureControl;
class QPushButton;

// The picture rename window: the JPEG files of the picture folder on the left, a preview of
// the chosen one on the right, and the fields to rename it. Closing it only hides it; the
// list, its selection, the fields and the preview stay for the next showing.
class TfrmPicNameEdit : public QWidget {
 public:
  TfrmPicNameEdit();

  void FormCreate();
  // The list set up: its mask, and the picture folder as its folder.
  void FormShow();
  void FileListBox1Click();
  void btnExchangeClick();
  void ComboBox1Change();

  // Shows the window and brings it to the front; a window already shown is only brought to
  // the front.
  void Present(const std::string& pictureFolderPath);

  Panel* Panel2;
  ByteLimitedEdit* edtOldFileName;
  Label* Label1;
  ByteLimitedEdit* edtNewFileName;
  Label* Label2;
  QPushButton* btnExchange;
  ComboBox* ComboBox1;
  Panel* Panel1;
  FileListBox* FileListBox1;
  Panel* Panel3;
  PictureControl* Image1;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The file name of a path, trimmed of blanks and control bytes at both ends.
  static std::string NameFromPath(std::string_view path);
  // The selected file's full path; empty when nothing is selected.
  std::string SelectedPath() const;
  void ApplyPictureFolder();

  std::string pictureFolderPath_;
};

extern TfrmPicNameEdit* frmPicNameEdit;
