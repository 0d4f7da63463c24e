#include "ui/grid_headers.h"

#include <QActionGroup>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOption>

#include "ui/grid_filter_proxy.h"
#include "ui/pers_table_model.h"

namespace {

constexpr int kDropDownWidth = 13;

}  // namespace

FilterHeaderView::FilterHeaderView(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
  setDefaultAlignment(Qt::AlignCenter);
  setSectionsClickable(true);
  setSectionsMovable(true);
  setHighlightSections(false);
  setMouseTracking(true);
}

QRect FilterHeaderView::DropDownRect(int logicalIndex) const {
  const int left = sectionViewportPosition(logicalIndex);
  const int size = sectionSize(logicalIndex);
  const int width = qMin(kDropDownWidth, size / 2);
  return QRect(left + size - width - 1, 1, width, height() - 2);
}

void FilterHeaderView::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  painter->save();
  QHeaderView::paintSection(painter, rect, logicalIndex);
  painter->restore();
  const auto* proxy = qobject_cast<const GridFilterProxy*>(model());
  const bool filtered = proxy != nullptr && proxy->HasColumnFilter(logicalIndex);
  if (proxy == nullptr || (!filtered && logicalIndex != hovered_)) return;
  QStyleOption arrow;
  arrow.initFrom(this);
  arrow.rect = DropDownRect(logicalIndex).adjusted(2, 0, -2, 0);
  arrow.rect.moveTop(rect.top() + (rect.height() - arrow.rect.height()) / 2);
  if (filtered) arrow.palette.setColor(QPalette::ButtonText, palette().color(QPalette::Highlight));
  painter->save();
  style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, painter, this);
  painter->restore();
}

void FilterHeaderView::mousePressEvent(QMouseEvent* event) {
  const int logical = logicalIndexAt(event->position().toPoint());
  if (event->button() == Qt::LeftButton && logical >= 0 &&
      DropDownRect(logical).contains(event->position().toPoint()) &&
      qobject_cast<GridFilterProxy*>(model()) != nullptr) {
    menuPress_ = true;
    event->accept();
    OpenFilterMenu(logical);
    return;
  }
  QHeaderView::mousePressEvent(event);
}

void FilterHeaderView::mouseReleaseEvent(QMouseEvent* event) {
  if (menuPress_) {
    menuPress_ = false;
    event->accept();
    return;
  }
  QHeaderView::mouseReleaseEvent(event);
}

void FilterHeaderView::mouseMoveEvent(QMouseEvent* event) {
  const int logical = logicalIndexAt(event->position().toPoint());
  if (logical != hovered_) {
    hovered_ = logical;
    viewport()->update();
  }
  QHeaderView::mouseMoveEvent(event);
}

void FilterHeaderView::leaveEvent(QEvent* event) {
  hovered_ = -1;
  viewport()->update();
  QHeaderView::leaveEvent(event);
}

void FilterHeaderView::OpenFilterMenu(int logicalIndex) {
  auto* proxy = qobject_cast<GridFilterProxy*>(model());
  if (proxy == nullptr) return;
  const std::optional<QString> current = proxy->ColumnFilter(logicalIndex);
  QMenu menu(this);
  menu.setObjectName("filterMenu");
  auto* choices = new QActionGroup(&menu);
  QAction* all = menu.addAction(QStringLiteral("(Все)"));
  all->setCheckable(true);
  all->setChecked(!current);
  choices->addAction(all);
  menu.addSeparator();
  for (const QString& value : proxy->ColumnValues(logicalIndex)) {
    QAction* action = menu.addAction(value.isEmpty() ? QStringLiteral("(Пустые)") : value);
    action->setData(value);
    action->setCheckable(true);
    action->setChecked(current == value);
    choices->addAction(action);
  }
  const QRect section = DropDownRect(logicalIndex);
  QAction* chosen = menu.exec(mapToGlobal(QPoint(sectionViewportPosition(logicalIndex), section.bottom() + 1)));
  if (chosen == nullptr) return;
  proxy->SetColumnFilter(logicalIndex, chosen == all ? std::nullopt : std::optional<QString>(chosen->data().toString()));
}

IndicatorHeaderView::IndicatorHeaderView(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {
  setSectionsClickable(false);
  setHighlightSections(false);
  setSectionResizeMode(QHeaderView::Fixed);
}

void IndicatorHeaderView::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
  painter->save();
  QHeaderView::paintSection(painter, rect, logicalIndex);
  painter->restore();
  if (!model()->headerData(logicalIndex, Qt::Vertical, PersTableModel::CurrentRole).toBool()) return;
  const int side = qMin(rect.width(), rect.height()) / 2;
  const QPointF centre = QRectF(rect).center();
  QPainterPath marker;
  marker.moveTo(centre.x() - side / 2.0 + 1, centre.y() - side / 2.0);
  marker.lineTo(centre.x() + side / 2.0 + 1, centre.y());
  marker.lineTo(centre.x() - side / 2.0 + 1, centre.y() + side / 2.0);
  marker.closeSubpath();
  painter->save();
  painter->setRenderHint(QPainter::Antialiasing);
  painter->fillPath(marker, palette().color(QPalette::WindowText));
  painter->restore();
}
