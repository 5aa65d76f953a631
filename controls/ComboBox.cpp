#include "controls/ComboBox.h"

#include <QAbstractItemView>
#include <QLineEdit>

#include "controls/FailureBoundary.h"
#include "controls/QtText.h"

ComboBox::ComboBox(QWidget* parent, const QFont& font, const std::vector<std::string>& items,
                   int itemHeight)
    : QComboBox(parent) {
  setFont(font);
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  for (const auto& item : items)
    addItem(ToQt(item));
  view()->setStyleSheet(
      QStringLiteral("QAbstractItemView::item { height: %1px; }").arg(itemHeight));
  setCurrentIndex(0);
  connect(this, &QComboBox::activated, this, [this](int index) { Changed(index); });
  connect(lineEdit(), &QLineEdit::textEdited, this, [this](const QString&) { Changed(-1); });
}

void ComboBox::Changed(int index) {
  failure_boundary::Guarded([&] {
    itemIndex_ = index;
    if (onChange_) onChange_();
  });
}
