#pragma once

#include <QComboBox>

#include <functional>
#include <string>
#include <vector>

// An editable drop-down list. Its item index is the chosen item's, and -1 while the text
// the user typed leaves no item chosen; the change handler runs on both.
class ComboBox : public QComboBox {
 public:
  ComboBox(QWidget* parent, const QFont& font, const std::vector<std::string>& items,
           int itemHeight);

  int ItemIndex() const { return itemIndex_; }
  void SetOnChange(std::function<void()> handler) { onChange_ = std::move(handler); }

  void showPopup() override;

 private:
  void Changed(int index);

  int itemHeight_;
  bool rowsSized_ = false;
  int itemIndex_ = 0;
  std::function<void()> onChange_;
};
