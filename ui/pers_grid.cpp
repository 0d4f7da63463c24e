#include "ui/pers_grid.h"

#include <QScopedValueRollback>
#include <utility>

#include "ui/grid_filter_proxy.h"
#include "ui/grid_headers.h"

namespace {

constexpr int kDefaultColumnWidth = 64;

constexpr int kIndicatorWidth = 12;

}  // namespace

PersGrid::PersGrid(tolvaro::PersTable& table, std::vector<GridColumn> columns, QWidget* parent)
    : QTableView(parent),
      model_(new PersTableModel(table, std::move(columns), this)),
      proxy_(new GridFilterProxy(this)) {
  proxy_->setSourceModel(model_);

  setHorizontalHeader(new FilterHeaderView(this));
  setVerticalHeader(new IndicatorHeaderView(this));
  // Connected before the view's selection model, which moves the current row
  // off a row being removed or filtered out; a user's choice never comes in
  // between, and the table's cursor must not follow such a move (it would
  // settle a pending edit in the middle of a field write).
  for (auto announce : {&QAbstractItemModel::rowsAboutToBeRemoved, &QAbstractItemModel::rowsAboutToBeInserted}) {
    connect(proxy_, announce, this, [this] { reshaping_ = true; });
  }
  connect(proxy_, &QAbstractItemModel::layoutAboutToBeChanged, this, [this] { reshaping_ = true; });
  connect(proxy_, &QAbstractItemModel::modelAboutToBeReset, this, [this] { reshaping_ = true; });
  setModel(proxy_);
  for (auto done : {&QAbstractItemModel::rowsRemoved, &QAbstractItemModel::rowsInserted}) {
    connect(proxy_, done, this, [this] { reshaping_ = false; });
  }
  connect(proxy_, &QAbstractItemModel::layoutChanged, this, [this] { reshaping_ = false; });
  connect(proxy_, &QAbstractItemModel::modelReset, this, [this] { reshaping_ = false; });

  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setTabKeyNavigation(false);
  setWordWrap(false);
  setCornerButtonEnabled(false);

  // Unsorted until the user clicks a header: the rows keep the table's order.
  horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
  setSortingEnabled(true);

  verticalHeader()->setFixedWidth(kIndicatorWidth);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  // A column of no set width gets a classic grid's default, narrow enough
  // that the duel lists' four shown columns fit their panels.
  horizontalHeader()->setDefaultSectionSize(kDefaultColumnWidth);

  const std::vector<GridColumn>& shown = model_->Columns();
  for (int column = 0; column < static_cast<int>(shown.size()); ++column) {
    const GridColumn& spec = shown[static_cast<std::size_t>(column)];
    setColumnHidden(column, !spec.shown);
    setColumnWidth(column, spec.width >= 0 ? spec.width : horizontalHeader()->defaultSectionSize());
  }

  connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) { ChooseRow(current); });
  connect(model_, &PersTableModel::CurrentRecordChanged, this, &PersGrid::FollowTable);
  connect(proxy_, &QAbstractItemModel::layoutChanged, this, &PersGrid::FollowTable);
  connect(proxy_, &QAbstractItemModel::rowsInserted, this, &PersGrid::FollowTable);
  connect(proxy_, &QAbstractItemModel::rowsRemoved, this, &PersGrid::FollowTable);
  connect(proxy_, &QAbstractItemModel::headerDataChanged, verticalHeader()->viewport(),
          qOverload<>(&QWidget::update));
  FollowTable();
}

int PersGrid::FirstShownColumn() const {
  for (int column = 0; column < model_->columnCount(); ++column) {
    if (!isColumnHidden(column)) return column;
  }
  return 0;
}

int PersGrid::ViewRowOf(int sourceRow) const {
  return proxy_->mapFromSource(model_->index(sourceRow, 0)).row();
}

void PersGrid::ChooseRow(const QModelIndex& current) {
  if (following_ || reshaping_ || !current.isValid()) return;
  const QVariant recId = proxy_->mapToSource(current).data(PersTableModel::RecIdRole);
  if (!recId.isValid()) return;
  model_->Table().GoToRecId(recId.value<qint32>());
}

void PersGrid::FollowTable() {
  const QScopedValueRollback<bool> following(following_, true);
  const std::optional<int> row = model_->CurrentRow();
  const QModelIndex shown =
      row ? proxy_->mapFromSource(model_->index(*row, FirstShownColumn())) : QModelIndex();
  if (!shown.isValid()) {
    selectionModel()->clear();
    verticalHeader()->viewport()->update();
    return;
  }
  if (selectionModel()->currentIndex().row() != shown.row() || !selectionModel()->isRowSelected(shown.row())) {
    selectionModel()->setCurrentIndex(shown, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  }
  scrollTo(shown);
  verticalHeader()->viewport()->update();
}
