#include "controls/StoreTableModel.h"

#include "controls/QtText.h"
#include "platform/CodePage.h"
#include "storage/RecordStore.h"

StoreTableModel::StoreTableModel(const RecordStore& store, const std::vector<GridColumn>& columns)
    : store_(store), columns_(columns), shownRows_(rowCount()) {}

bool StoreTableModel::ShowsBlankRow() const {
  return store_.RowCount() == 0;
}

void StoreTableModel::Refresh() {
  // Rows come and go only with an entry added, dropped or deleted, or a file opened or
  // closed; everything else changes texts in place.
  const int rows = rowCount();
  if (rows != shownRows_) {
    beginResetModel();
    shownRows_ = rows;
    endResetModel();
    return;
  }
  emit dataChanged(index(0, 0), index(rows - 1, columnCount() - 1));
}

int StoreTableModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid()) return 0;
  return std::max(store_.RowCount(), 1);
}

int StoreTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

std::optional<std::size_t> StoreTableModel::FieldOf(int column) const {
  const auto& fields = store_.Fields();
  for (std::size_t f = 0; f < fields.size(); ++f) {
    if (cp932::SameText(fields[f].name, columns_[column].field)) return f;
  }
  return std::nullopt;
}

QString StoreTableModel::CellText(int row, int column) const {
  if (ShowsBlankRow()) return QString();
  const auto field = FieldOf(column);
  if (!field) return QString();
  const auto text = store_.RowFieldText(row, *field);
  // A memo never shows its text: "(MEMO)" when it holds some, "(Memo)" when it is absent.
  if (store_.Fields()[*field].kind == FieldKind::Memo) {
    return text ? QStringLiteral("(MEMO)") : QStringLiteral("(Memo)");
  }
  return text ? ToQt(*text) : QString();
}

QVariant StoreTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
      return CellText(index.row(), index.column());
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(columns_[index.column()].valueAlignment | Qt::AlignVCenter);
    default:
      return {};
  }
}

QVariant StoreTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Vertical)
    return role == Qt::DisplayRole ? QVariant(QString()) : QVariant();
  switch (role) {
    case Qt::DisplayRole:
      return ToQt(columns_[section].title);
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(columns_[section].titleAlignment | Qt::AlignVCenter);
    default:
      return {};
  }
}

Qt::ItemFlags StoreTableModel::flags(const QModelIndex& index) const {
  // Editable only so that the read-only box can open over a cell.
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}
