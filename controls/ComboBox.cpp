#include "controls/ComboBox.h"

#include <QAbstractItemView>
#include <QLineEdit>

#include "controls/FailureBoundary.h"
#include "controls/QtText.h"

ComboBox::ComboBox(QWidget* parent, const QFont& font, const std::vector<std::string>& items,
                   int itemHeight)
    : QComboBox(parent), itemHeight_(itemHeight) {
  setFont(font);
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  for (const auto& item : items)
    addItem(ToQt(item));
  setCurrentIndex(0);
  connect(this, &QComboBox::activated, this, [this](int index) { Changed(index); });
  connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString&) { Changed(-1); });
}

// The rows are sized only when the list first drops down: a style sheet builds a style of its
// own, which the windows need not pay for while they are created at start-up.
void ComboBox::showPopup() {
  if (!rowsSized_) {
    view()->setStyleSheet(
        QStringLiteral("QAbstractItemView::item { height: %1px; }").arg(itemHeight_));
    rowsSized_ = true;
  }
  QComboBox::showPopup();
}

void ComboBox::Changed(int index) {
  failure_boundary::Guarded([&] {
    itemIndex_ = index;
    if (onChange_) onChange_();
  });
}
