#include "ui/grid_filter_proxy.h"

#include <QCollator>
#include <algorithm>
#include <set>
#include <utility>
#include <vector>

#include "ui/pers_table_model.h"

GridFilterProxy::GridFilterProxy(QObject* parent) : QSortFilterProxyModel(parent) {
  setSortRole(PersTableModel::SortRole);
  setSortLocaleAware(true);
}

void GridFilterProxy::SetColumnFilter(int column, std::optional<QString> value) {
  if (value) {
    filters_[column] = *value;
  } else {
    filters_.erase(column);
  }
  invalidateRowsFilter();
  emit headerDataChanged(Qt::Horizontal, column, column);
}

std::optional<QString> GridFilterProxy::ColumnFilter(int column) const {
  const auto found = filters_.find(column);
  if (found == filters_.end()) return std::nullopt;
  return found->second;
}

QStringList GridFilterProxy::ColumnValues(int column) const {
  const QAbstractItemModel* source = sourceModel();
  if (source == nullptr) return {};
  struct Shown {
    QString text;
    QVariant key;  // the sort role's value: a number, a text or nothing
  };
  std::vector<Shown> values;
  std::set<QString> seen;
  const int rows = source->rowCount();
  for (int row = 0; row < rows; ++row) {
    const QModelIndex index = source->index(row, column);
    QString text = index.data(Qt::DisplayRole).toString();
    if (seen.insert(text).second) values.push_back({std::move(text), index.data(sortRole())});
  }
  QCollator collator;
  std::sort(values.begin(), values.end(), [&collator](const Shown& a, const Shown& b) {
    if (!a.key.isValid() || !b.key.isValid()) return !a.key.isValid() && b.key.isValid();
    if (a.key.typeId() == QMetaType::LongLong && b.key.typeId() == QMetaType::LongLong) {
      return a.key.toLongLong() < b.key.toLongLong();
    }
    return collator.compare(a.text, b.text) < 0;
  });
  QStringList texts;
  for (Shown& value : values) texts.push_back(std::move(value.text));
  return texts;
}

bool GridFilterProxy::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
  for (const auto& [column, value] : filters_) {
    const QModelIndex index = sourceModel()->index(sourceRow, column, sourceParent);
    if (index.data(Qt::DisplayRole).toString() != value) return false;
  }
  return true;
}
