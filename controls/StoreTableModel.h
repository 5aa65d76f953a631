#pragma once

#include <QAbstractTableModel>

#include <optional>
#include <vector>

#include "controls/DataGrid.h"

class RecordStore;

// The record store as a table for the grid's view.
class StoreTableModel : public QAbstractTableModel {
 public:
  StoreTableModel(const RecordStore& store, const std::vector<GridColumn>& columns);

  // One blank row while there is no entry to show.
  bool ShowsBlankRow() const;
  void Refresh();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  std::optional<std::size_t> FieldOf(int column) const;
  QString CellText(int row, int column) const;

  const RecordStore& store_;
  const std::vector<GridColumn>& columns_;
  int shownRows_;
};
