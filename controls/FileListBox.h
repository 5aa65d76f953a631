#pragma once

#include <QListWidget>

#include <functional>
#include <string>
#include <vector>

// A list of the files of a folder that match a mask ("*.*", or "*." and an extension with
// letter case ignored; folders and hidden files never show), one name a line, kept sorted.
// Reading it makes its folder the process's current directory.
class FileListBox : public QListWidget {
 public:
  FileListBox(QWidget* parent, const QFont& font, std::string folder);

  const std::string& Folder() const { return folder_; }
  const std::string& Mask() const { return mask_; }
  // Changes the mask; true when that changed it.
  bool SetMask(std::string mask);
  // Makes `folder` the current directory and takes the directory as the system reports it.
  void SetFolder(const std::string& folder);
  // Reads the folder again: its files, sorted, nothing selected. From the 100th name on the
  // mouse pointer is busy until the reading ends. Fails with the I/O error text, the list as
  // it was, when the folder cannot be made current.
  void Read();

  const std::vector<std::string>& Names() const { return names_; }
  // The selected name; empty when nothing is selected.
  std::string SelectedName() const;

  // Runs each time the user changes the selection, by mouse or keyboard.
  void SetOnSelect(std::function<void()> handler) { onSelect_ = std::move(handler); }

 private:
  std::string folder_;
  std::string mask_ = "*.*";
  std::vector<std::string> names_;
  std::function<void()> onSelect_;
  bool reading_ = false;
};
