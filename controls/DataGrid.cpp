#include "controls/DataGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStyledItemDelegate>

#include "controls/FailureBoundary.h"
#include "controls/StoreTableModel.h"
#include "platform/CodePage.h"
#include "storage/RecordStore.h"

namespace {

constexpr int kIndicatorWidth = 11;
constexpr int kClosedColumnWidth = 64;
constexpr int kMemoDisplayWidth = 10;

// The indicator column: the vertical header, with an arrow on the current row.
class IndicatorHeader : public QHeaderView {
 public:
  explicit IndicatorHeader(QTableView& view) : QHeaderView(Qt::Vertical, &view), view_(view) {}

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
    // The style resets the painter's clip when it paints a section.
    painter->save();
    QHeaderView::paintSection(painter, rect, logicalIndex);
    painter->restore();
    if (logicalIndex != view_.currentIndex().row()) return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(Qt::NoPen);
    painter->setBrush(Qt::black);
    const QPoint middle = rect.center();
    const QPoint arrow[] = {middle + QPoint(-2, -4), middle + QPoint(-2, 4), middle + QPoint(2, 0)};
    painter->drawPolygon(arrow, 3);
    painter->restore();
  }

 private:
  QTableView& view_;
};

// The box over a cell: the cell's text, which can be selected but never changed.
class ReadOnlyDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                        const QModelIndex&) const override {
    auto* box = new QLineEdit(parent);
    box->setReadOnly(true);
    box->setFrame(false);
    return box;
  }
  void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}
};

}  // namespace

DataGrid::DataGrid(QWidget* parent, RecordStore& store, std::vector<GridColumn> columns,
                   const QFont& font)
    : QTableView(parent),
      store_(store),
      columns_(std::move(columns)),
      model_(std::make_unique<StoreTableModel>(store_, columns_)) {
  setFont(font);
  setVerticalHeader(new IndicatorHeader(*this));
  setModel(model_.get());
  setItemDelegate(new ReadOnlyDelegate(this));
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setTextElideMode(Qt::ElideNone);
  setWordWrap(false);
  setShowGrid(true);
  setTabKeyNavigation(true);

  const int rowHeight = QFontMetrics(font).height() + 4;
  verticalHeader()->setMinimumSectionSize(1);
  verticalHeader()->setDefaultSectionSize(rowHeight);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setFixedWidth(kIndicatorWidth);
  verticalHeader()->setSectionsClickable(true);
  horizontalHeader()->setFont(font);
  horizontalHeader()->setMinimumSectionSize(1);
  horizontalHeader()->setFixedHeight(rowHeight + 2);
  horizontalHeader()->setSectionsMovable(true);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  horizontalHeader()->setHighlightSections(false);

  // A press on the indicator makes its row current, without the click of a cell.
  connect(verticalHeader(), &QHeaderView::sectionPressed, this, [this](int row) {
    setCurrentIndex(model_->index(row, std::max(currentIndex().column(), 0)));
  });
  store_.SetObserver([this] { StoreChanged(); });
  StoreChanged();
}

DataGrid::~DataGrid() {
  store_.SetObserver({});
}

int DataGrid::DefaultColumnWidth(const GridColumn& column) const {
  if (column.width != 0) return column.width;
  if (store_.State() == StoreState::Closed) return kClosedColumnWidth;
  const QFontMetrics metrics(font());
  int displayWidth = 0;
  for (const auto& field : store_.Fields()) {
    if (!cp932::SameText(field.name, column.field)) continue;
    displayWidth = field.kind == FieldKind::Memo ? kMemoDisplayWidth : DisplayWidth(field);
    break;
  }
  // The font's overhang, which italic faces have, is 0 for the grid's regular font.
  const int width = metrics.horizontalAdvance(QLatin1Char('0')) * displayWidth + 4;
  const int title =
      metrics.horizontalAdvance(model_
                                    ->headerData(static_cast<int>(&column - columns_.data()),
                                                 Qt::Horizontal, Qt::DisplayRole)
                                    .toString()) +
      4;
  return std::max(width, title);
}

void DataGrid::ApplyColumnWidths() {
  for (std::size_t c = 0; c < columns_.size(); ++c) {
    setColumnWidth(static_cast<int>(c), DefaultColumnWidth(columns_[c]));
  }
}

void DataGrid::StoreChanged() {
  following_ = true;
  model_->Refresh();
  const bool open = store_.State() != StoreState::Closed;
  if (open != wasOpen_) {
    wasOpen_ = open;
    ApplyColumnWidths();
  }
  ShowCurrentRow();
  following_ = false;
}

void DataGrid::ShowCurrentRow() {
  const int row = std::max(store_.CurrentRow(), 0);
  const int column = std::max(currentIndex().column(), 0);
  setCurrentIndex(model_->index(row, column));
  verticalHeader()->viewport()->update();
}

void DataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  verticalHeader()->viewport()->update();
  if (following_ || !current.isValid() || current.row() == previous.row()) return;
  if (store_.State() == StoreState::Closed || model_->ShowsBlankRow()) return;
  failure_boundary::Guarded([&] {
    // The row chosen in the view becomes the store's current entry. A pending entry is
    // finished first, which may take away the appended row; the rows before it stay.
    const int target = current.row();
    store_.MoveCurrent(0);
    store_.MoveCurrent(target - store_.CurrentRow());
  });
}

void DataGrid::keyPressEvent(QKeyEvent* event) {
  failure_boundary::Guarded([&] {
    switch (event->key()) {
      case Qt::Key_F2:
      case Qt::Key_Return:
      case Qt::Key_Enter:
        if (currentIndex().isValid()) edit(currentIndex());
        event->accept();
        return;
      case Qt::Key_Escape:
        if (store_.State() == StoreState::Editing || store_.State() == StoreState::Inserting) {
          store_.Cancel();
        }
        event->accept();
        return;
      default:
        QTableView::keyPressEvent(event);
    }
  });
}

void DataGrid::mousePressEvent(QMouseEvent* event) {
  failure_boundary::Guarded([&] {
    pressed_ = QModelIndex();
    if (event->button() == Qt::LeftButton) {
      pressed_ = indexAt(event->position().toPoint());
      pressedWasCurrent_ = pressed_.isValid() && pressed_ == currentIndex();
    }
    QTableView::mousePressEvent(event);
  });
}

void DataGrid::mouseReleaseEvent(QMouseEvent* event) {
  failure_boundary::Guarded([&] {
    QTableView::mouseReleaseEvent(event);
    const QModelIndex released = indexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !pressed_.isValid() || released != pressed_) return;
    if (model_->ShowsBlankRow() || !pressedWasCurrent_) {
      if (onCellClick_) onCellClick_();
    } else {
      edit(released);
    }
  });
}
