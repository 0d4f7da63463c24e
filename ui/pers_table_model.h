#pragma once

#include <QAbstractTableModel>
#include <QString>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "roster/pers_table.h"
#include "roster/table_observer.h"

// One column of a grid over a PersTable.
struct GridColumn {
  QString caption;
  std::string field;  // field name as the table spells it
  int width = -1;     // pixels at 96 dpi; -1 for the view's default width
  bool shown = true;  // a hidden column stays part of the grid, out of sight
};

// A read-only item model over a PersTable: one row per display row of the
// table (committed records in order, a pending new record at its place), one
// column per GridColumn. It turns the table's notifications into the model's
// signals; a bulk change that the table reports as one reset resets the model
// once. Rows carry their record's RecId (RecIdRole); the vertical header says
// which row is the table's current one (CurrentRole).
class PersTableModel : public QAbstractTableModel, private tolvaro::TableObserver {
  Q_OBJECT

 public:
  enum Role {
    RecIdRole = Qt::UserRole + 1,  // qint32, invalid for a row without one
    SortRole,                      // integer fields as numbers, text as text
    CurrentRole,                   // vertical header: true for the current row
  };

  PersTableModel(tolvaro::PersTable& table, std::vector<GridColumn> columns, QObject* parent = nullptr);
  ~PersTableModel() override;

  tolvaro::PersTable& Table() const { return table_; }
  const std::vector<GridColumn>& Columns() const { return columns_; }

  // The model row that shows the table's current record, if any.
  std::optional<int> CurrentRow() const;

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 signals:
  // The table's current record changed, or the model was reset.
  void CurrentRecordChanged();

 private:
  // Between the table's change and the matching end signal the model still
  // describes the rows as they were; this maps such a row to the table's row.
  struct RowShift {
    int place = 0;
    int delta = 0;  // +1 a row was inserted at place, -1 one was removed there
  };

  void TableReset() override;
  void RowInserted(std::size_t row) override;
  void RowRemoved(std::size_t row) override;
  void RowChanged(std::size_t row) override;
  void FieldChanged(int field) override;
  void CurrentChanged() override;

  void ResolveFields();
  std::optional<std::size_t> TableRow(int modelRow) const;
  void NoteCurrentRow();

  tolvaro::PersTable& table_;
  std::vector<GridColumn> columns_;
  std::vector<int> fieldOfColumn_;  // table field per column, -1 when the table lacks it
  int rows_ = 0;
  std::optional<RowShift> shift_;
  std::optional<int> currentRow_;
};
