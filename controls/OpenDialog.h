#pragma once

#include <optional>
#include <string>
#include <string_view>

class QWidget;

// The file-open dialog: Qt's own dialog, modal, resizable, with no read-only check box.
// `filter` is "description|pattern" (CP932). The dialog starts in `initialFolder` (a folder
// that does not exist lets it choose), accepts a typed name of a file that does not exist
// without a prompt and adds no extension to it, and after OK leaves the process's current
// directory at the chosen file's folder. It stands centred across the screen of the active
// window with its top at one third of the height left free. nullopt when cancelled.
class OpenDialog {
 public:
  OpenDialog(std::string filter, std::string initialFolder);
  std::optional<std::string> Execute(QWidget* parent) const;

 private:
  std::string filter_;
  std::string initialFolder_;
};
