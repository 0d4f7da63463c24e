#pragma once

#include <QSortFilterProxyModel>
#include <QString>
#include <QStringList>
#include <map>
#include <optional>

// The display order and selection of a grid: sorting by a header and
// filtering by one shown value per column. The source model is never changed.
class GridFilterProxy : public QSortFilterProxyModel {
  Q_OBJECT

 public:
  explicit GridFilterProxy(QObject* parent = nullptr);

  // Shows only the rows whose column shows exactly value; none shows all again.
  void SetColumnFilter(int column, std::optional<QString> value);
  std::optional<QString> ColumnFilter(int column) const;
  bool HasColumnFilter(int column) const { return filters_.contains(column); }

  // The distinct values that column shows over all source rows, sorted.
  QStringList ColumnValues(int column) const;

 protected:
  bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

 private:
  std::map<int, QString> filters_;
};
