#pragma once

#include <QTableView>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class RecordStore;
class StoreTableModel;

// A column of the grid: the field it shows (found by name, letter case ignored), its title,
// alignments and width (0: the default width, which follows the field).
struct GridColumn {
  std::string field;
  std::string title;  // CP932
  Qt::Alignment titleAlignment;
  Qt::Alignment valueAlignment;
  int width = 0;
};

// The read-only grid of a record store: a title row, an indicator column with an arrow on the
// current row, one row per entry (a pending entry in its place), and one blank row while the
// store is closed or empty. Nothing can be typed into it: F2, Enter or a click on the
// current cell opens a read-only box over the cell. Escape cancels an entry left pending.
class DataGrid : public QTableView {
 public:
  DataGrid(QWidget* parent, RecordStore& store, std::vector<GridColumn> columns, const QFont& font);
  ~DataGrid() override;

  // Runs when the left button is released over a data cell that was not the current cell
  // when it was pressed (the press has already made its row current), and for a click on
  // the blank row of a closed or empty store.
  void SetOnCellClick(std::function<void()> handler) { onCellClick_ = std::move(handler); }

  // The width a column takes: 64 while the store is closed; a field's display width in
  // characters of the grid font, at least its title, once it is open.
  int DefaultColumnWidth(const GridColumn& column) const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

 private:
  void StoreChanged();
  void ApplyColumnWidths();
  void ShowCurrentRow();

  RecordStore& store_;
  std::vector<GridColumn> columns_;
  std::unique_ptr<StoreTableModel> model_;
  std::function<void()> onCellClick_;
  bool following_ = false;  // the view follows the store: no move back into it
  bool wasOpen_ = false;
  QModelIndex pressed_;
  bool pressedWasCurrent_ = false;
};
