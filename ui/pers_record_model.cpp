#include "ui/pers_record_model.h"

#include <QFont>
#include <utility>

#include "ui/text_codec.h"

PersRecordModel::PersRecordModel(tolvaro::PersTable& table, std::vector<PropertyCategory> categories,
                                 QObject* parent)
    : QAbstractItemModel(parent), table_(table), categories_(std::move(categories)) {
  table_.Attach(this);
}

PersRecordModel::~PersRecordModel() { table_.Detach(this); }

const PropertyRow* PersRecordModel::RowAt(const QModelIndex& index) const {
  if (!index.isValid() || index.internalId() == kCategoryId) return nullptr;
  const PropertyCategory& category = categories_.at(index.internalId());
  return &category.rows.at(static_cast<std::size_t>(index.row()));
}

QModelIndex PersRecordModel::IndexOfField(int field) const {
  for (std::size_t c = 0; c < categories_.size(); ++c) {
    const std::vector<PropertyRow>& rows = categories_[c].rows;
    for (std::size_t r = 0; r < rows.size(); ++r) {
      if (rows[r].field == field) return createIndex(static_cast<int>(r), ValueColumn, c);
    }
  }
  return {};
}

bool PersRecordModel::HasRecord() const { return table_.IsOpen() && table_.CurrentRecord() != nullptr; }

void PersRecordModel::BeginEdit() {
  if (HasRecord() && table_.State() == tolvaro::TableState::Browse) table_.Edit();
}

QModelIndex PersRecordModel::index(int row, int column, const QModelIndex& parent) const {
  if (!hasIndex(row, column, parent)) return {};
  if (!parent.isValid()) return createIndex(row, column, kCategoryId);
  return createIndex(row, column, static_cast<quintptr>(parent.row()));
}

QModelIndex PersRecordModel::parent(const QModelIndex& child) const {
  if (!child.isValid() || child.internalId() == kCategoryId) return {};
  return createIndex(static_cast<int>(child.internalId()), 0, kCategoryId);
}

int PersRecordModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid()) return static_cast<int>(categories_.size());
  if (parent.internalId() != kCategoryId || parent.column() != 0) return 0;
  return static_cast<int>(categories_.at(static_cast<std::size_t>(parent.row())).rows.size());
}

int PersRecordModel::columnCount(const QModelIndex&) const { return ColumnCount; }

QVariant PersRecordModel::data(const QModelIndex& index, int role) const {
  if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
  const PropertyRow* row = RowAt(index);
  if (row == nullptr) {
    const PropertyCategory& category = categories_.at(static_cast<std::size_t>(index.row()));
    if (role == Qt::DisplayRole && index.column() == CaptionColumn) return category.caption;
    if (role == Qt::FontRole) {
      QFont bold;
      bold.setBold(true);
      return bold;
    }
    return {};
  }
  if (index.column() == CaptionColumn) {
    if (role == Qt::DisplayRole) return row->caption;
    return {};
  }
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  if (!HasRecord()) return QString();
  tolvaro::TableField field = table_.Field(row->field);
  if (role == Qt::EditRole && row->editor == PropertyRow::Editor::Spin) {
    return field.IsNull() ? QVariant() : QVariant(field.Value().number);
  }
  return FromCp1251(field.AsString());
}

bool PersRecordModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  const PropertyRow* row = RowAt(index);
  if (row == nullptr || role != Qt::EditRole || index.column() != ValueColumn || !HasRecord()) return false;
  BeginEdit();
  switch (row->editor) {
    case PropertyRow::Editor::Text:
      table_.Field(row->field).SetAsString(ToCp1251(value.toString()));
      return true;
    case PropertyRow::Editor::Spin:
      table_.Field(row->field).SetAsFloat(value.toInt());
      return true;
    case PropertyRow::Editor::Display:
      return false;
  }
  return false;
}

Qt::ItemFlags PersRecordModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  const PropertyRow* row = RowAt(index);
  if (row == nullptr) return Qt::ItemIsEnabled;
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
  if (index.column() == ValueColumn) {
    flags |= Qt::ItemIsSelectable;
    if (row->editor != PropertyRow::Editor::Display && HasRecord()) flags |= Qt::ItemIsEditable;
  }
  return flags;
}

void PersRecordModel::RowChanged(std::size_t row) {
  if (table_.CurrentRow() == row) ValuesChanged();
}

void PersRecordModel::FieldChanged(int field) {
  const QModelIndex changed = IndexOfField(field);
  if (changed.isValid()) emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

void PersRecordModel::ValuesChanged() {
  for (int c = 0; c < static_cast<int>(categories_.size()); ++c) {
    const QModelIndex category = index(c, 0);
    const int rows = rowCount(category);
    if (rows > 0) emit dataChanged(index(0, ValueColumn, category), index(rows - 1, ValueColumn, category));
  }
}
