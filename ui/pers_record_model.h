#pragma once

#include <QAbstractItemModel>
#include <QString>
#include <optional>
#include <vector>

#include "roster/pers_table.h"
#include "roster/table_observer.h"

// How one row of a property grid edits its field.
struct PropertyRow {
  enum class Editor { Text, Spin, Display };

  QString caption;
  int field = 0;  // position of the field in the table
  Editor editor = Editor::Display;
  int minimum = 0;
  int maximum = 0;
  int step = 1;
  int largeStep = 1;
};

struct PropertyCategory {
  QString caption;
  std::vector<PropertyRow> rows;
};

// The current record of a PersTable as a two-level tree: categories, and
// under each its rows with a caption column and a value column. It shows
// nothing while the table has no current record and cannot move to another
// record. An edit of the record starts by itself when the user starts to
// change a value (BeginEdit); setData writes the finished entry into the field.
class PersRecordModel : public QAbstractItemModel, private tolvaro::TableObserver {
  Q_OBJECT

 public:
  enum Column { CaptionColumn, ValueColumn, ColumnCount };

  PersRecordModel(tolvaro::PersTable& table, std::vector<PropertyCategory> categories, QObject* parent = nullptr);
  ~PersRecordModel() override;

  tolvaro::PersTable& Table() const { return table_; }

  // The row behind an index of a field row, or none for a category.
  const PropertyRow* RowAt(const QModelIndex& index) const;
  // The value column's index of a field's row.
  QModelIndex IndexOfField(int field) const;

  // Whether the table has a current record to show and edit.
  bool HasRecord() const;

  // The user starts to change a value: the current record enters its edit
  // state unless a change is pending already.
  void BeginEdit();

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  // Text rows take a QString, spin rows an int.
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  static constexpr quintptr kCategoryId = ~quintptr{0};

  void TableReset() override { ValuesChanged(); }
  void RowInserted(std::size_t) override {}
  void RowRemoved(std::size_t) override {}
  void RowChanged(std::size_t row) override;
  void FieldChanged(int field) override;
  void CurrentChanged() override { ValuesChanged(); }

  void ValuesChanged();

  tolvaro::PersTable& table_;
  std::vector<PropertyCategory> categories_;
};
