#include "ui/pers_table_model.h"

#include <utility>

#include "roster/integer_text.h"
#include "ui/text_codec.h"

using tolvaro::FieldKind;
using tolvaro::FieldValue;

PersTableModel::PersTableModel(tolvaro::PersTable& table, std::vector<GridColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), table_(table), columns_(std::move(columns)) {
  ResolveFields();
  rows_ = static_cast<int>(table_.RowCount());
  NoteCurrentRow();
  table_.Attach(this);
}

PersTableModel::~PersTableModel() { table_.Detach(this); }

void PersTableModel::ResolveFields() {
  fieldOfColumn_.clear();
  for (const GridColumn& column : columns_) fieldOfColumn_.push_back(table_.FieldIndex(column.field));
}

std::optional<std::size_t> PersTableModel::TableRow(int modelRow) const {
  if (modelRow < 0 || modelRow >= rows_) return std::nullopt;
  int row = modelRow;
  if (shift_) {
    if (shift_->delta > 0 && row >= shift_->place) ++row;
    if (shift_->delta < 0) {
      if (row == shift_->place) return std::nullopt;  // already gone from the table
      if (row > shift_->place) --row;
    }
  }
  if (row < 0 || static_cast<std::size_t>(row) >= table_.RowCount()) return std::nullopt;
  return static_cast<std::size_t>(row);
}

std::optional<int> PersTableModel::CurrentRow() const { return currentRow_; }

void PersTableModel::NoteCurrentRow() {
  const auto row = table_.CurrentRow();
  if (row && static_cast<int>(*row) < rows_) {
    currentRow_ = static_cast<int>(*row);
  } else {
    currentRow_.reset();
  }
}

int PersTableModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int PersTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant PersTableModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
  const auto row = TableRow(index.row());
  if (!row) return {};
  const tolvaro::PersRecord& record = table_.Row(*row);
  if (role == RecIdRole) {
    const FieldValue& recId = record.at(0);
    return recId.isNull ? QVariant() : QVariant(static_cast<qint32>(recId.number));
  }
  const int field = fieldOfColumn_[static_cast<std::size_t>(index.column())];
  if (field < 0) return {};
  const FieldValue& value = record.at(static_cast<std::size_t>(field));
  const bool integer = table_.Def(field).kind == FieldKind::Integer;
  switch (role) {
    case Qt::DisplayRole:
      if (value.isNull) return QString();
      return integer ? QString::number(value.number) : FromCp1251(value.text);
    case SortRole:
      if (value.isNull) return {};
      return integer ? QVariant(static_cast<qlonglong>(value.number)) : QVariant(FromCp1251(value.text));
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::AlignVCenter | (integer ? Qt::AlignRight : Qt::AlignLeft));
    default:
      return {};
  }
}

QVariant PersTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation == Qt::Horizontal) {
    if (section < 0 || section >= columnCount()) return {};
    if (role == Qt::DisplayRole) return columns_[static_cast<std::size_t>(section)].caption;
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return {};
  }
  if (section < 0 || section >= rows_) return {};
  if (role == CurrentRole) return currentRow_ == section;
  if (role == Qt::DisplayRole) return QString();
  return {};
}

Qt::ItemFlags PersTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

void PersTableModel::TableReset() {
  beginResetModel();
  ResolveFields();
  rows_ = static_cast<int>(table_.RowCount());
  shift_.reset();
  NoteCurrentRow();
  endResetModel();
  emit CurrentRecordChanged();
}

void PersTableModel::RowInserted(std::size_t row) {
  const int place = static_cast<int>(row);
  shift_ = RowShift{place, +1};
  beginInsertRows({}, place, place);
  ++rows_;
  shift_.reset();
  if (currentRow_ && *currentRow_ >= place) ++*currentRow_;
  endInsertRows();
}

void PersTableModel::RowRemoved(std::size_t row) {
  const int place = static_cast<int>(row);
  shift_ = RowShift{place, -1};
  beginRemoveRows({}, place, place);
  --rows_;
  shift_.reset();
  if (currentRow_) {
    if (*currentRow_ == place) {
      currentRow_.reset();
    } else if (*currentRow_ > place) {
      --*currentRow_;
    }
  }
  endRemoveRows();
}

void PersTableModel::RowChanged(std::size_t row) {
  const int changed = static_cast<int>(row);
  if (changed >= rows_ || columns_.empty()) return;
  emit dataChanged(index(changed, 0), index(changed, columnCount() - 1),
                   {Qt::DisplayRole, SortRole, RecIdRole});
}

void PersTableModel::FieldChanged(int) {
  // Always followed by RowChanged for the same row.
}

void PersTableModel::CurrentChanged() {
  const std::optional<int> before = currentRow_;
  NoteCurrentRow();
  if (before != currentRow_) {
    if (before && *before < rows_) emit headerDataChanged(Qt::Vertical, *before, *before);
    if (currentRow_) emit headerDataChanged(Qt::Vertical, *currentRow_, *currentRow_);
  }
  emit CurrentRecordChanged();
}
