#pragma once

#include <QTableView>
#include <vector>

#include "roster/pers_table.h"
#include "ui/pers_table_model.h"

class GridFilterProxy;

// A grid bound to a PersTable for choosing a record: one row per display row,
// the given columns (hidden ones kept out of sight), centred captions, an
// indicator column marking the current row. No cell is edited and no record
// is added or deleted here. Sorting and filtering by the headers act on the
// display only. Choosing a row makes that very record current (the table's
// cursor rule first); when the table's current record changes otherwise, the
// grid's current row follows it.
class PersGrid : public QTableView {
  Q_OBJECT

 public:
  PersGrid(tolvaro::PersTable& table, std::vector<GridColumn> columns, QWidget* parent = nullptr);

  PersTableModel* TableModel() const { return model_; }
  GridFilterProxy* Proxy() const { return proxy_; }

  // The grid's row (display order) that shows a source row, or -1.
  int ViewRowOf(int sourceRow) const;

 private:
  void ChooseRow(const QModelIndex& current);
  void FollowTable();
  int FirstShownColumn() const;

  PersTableModel* model_;
  GridFilterProxy* proxy_;
  bool following_ = false;
  // Between the display's announcement of a structural change and its end:
  // the view then moves its current row by itself, which is no choice.
  bool reshaping_ = false;
};
