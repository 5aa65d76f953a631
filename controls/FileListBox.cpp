#include "controls/FileListBox.h"

#include <QApplication>
#include <QGuiApplication>

#include <algorithm>

#include "controls/FailureBoundary.h"
#include "controls/QtText.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"

namespace {

constexpr int kLineHeight = 12;
constexpr int kBusyFrom = 100;

// The busy pointer while it lives.
class BusyPointer {
 public:
  BusyPointer() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyPointer() { QGuiApplication::restoreOverrideCursor(); }
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;
};

// Letter case ignored, then byte for byte, so the order is always the same.
bool Before(const std::string& a, const std::string& b) {
  const int folded = cp932::CompareText(a, b);
  return folded != 0 ? folded < 0 : a < b;
}

}  // namespace

FileListBox::FileListBox(QWidget* parent, const QFont& font, std::string folder)
    : QListWidget(parent), folder_(std::move(folder)) {
  setFont(font);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformItemSizes(true);
  setStyleSheet(
      QStringLiteral("QListWidget::item { height: %1px; padding-left: 2px; }").arg(kLineHeight));
  // The selection the user makes: focus alone makes a row current without selecting it.
  connect(this, &QListWidget::itemSelectionChanged, this, [this] {
    if (reading_ || !onSelect_ || selectedItems().isEmpty()) return;
    failure_boundary::Guarded([&] { onSelect_(); });
  });
}

bool FileListBox::SetMask(std::string mask) {
  if (mask == mask_) return false;
  mask_ = std::move(mask);
  return true;
}

void FileListBox::SetFolder(const std::string& folder) {
  files::SetCurrentDirectory(folder);
  folder_ = files::CurrentDirectory();
}

void FileListBox::Read() {
  files::SetCurrentDirectory(folder_);
  std::vector<std::string> names = files::SearchFolder(folder_, mask_);
  std::sort(names.begin(), names.end(), Before);
  reading_ = true;
  clear();
  std::optional<BusyPointer> busy;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (i == kBusyFrom) busy.emplace();
    addItem(ToQt(names[i]));
  }
  names_ = std::move(names);
  setCurrentRow(-1);
  reading_ = false;
}

std::string FileListBox::SelectedName() const {
  const int row = currentRow();
  if (row < 0 || !currentItem() || !currentItem()->isSelected()) return std::string();
  return names_[static_cast<std::size_t>(row)];
}
