#include "ui/hot_zone_splitter.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kHotZoneLength = 60;

}  // namespace

HotZoneSplitter::HotZoneSplitter(QWidget* parent) : QSplitter(Qt::Horizontal, parent) {
  setChildrenCollapsible(true);
  connect(this, &QSplitter::splitterMoved, this, [this] {
    if (QSplitterHandle* bar = Bar()) bar->update();
  });
}

QSplitterHandle* HotZoneSplitter::createHandle() { return new HotZoneHandle(orientation(), this); }

bool HotZoneSplitter::IsCollapsed() const { return count() > 1 && sizes().value(0) == 0; }

void HotZoneSplitter::ToggleCollapsed() {
  if (count() < 2) return;
  QList<int> now = sizes();
  const int total = now[0] + now[1];
  if (now[0] > 0) {
    restoreWidth_ = now[0];
    setSizes({0, total});
  } else {
    const int width = restoreWidth_ > 0 ? restoreWidth_ : widget(0)->sizeHint().width();
    setSizes({width, qMax(0, total - width)});
  }
}

HotZoneHandle::HotZoneHandle(Qt::Orientation orientation, HotZoneSplitter* parent)
    : QSplitterHandle(orientation, parent), owner_(parent) {
  setMouseTracking(true);
}

QRect HotZoneHandle::HotZone() const {
  const int length = qMin(kHotZoneLength, height());
  return QRect(0, (height() - length) / 2, width(), length);
}

void HotZoneHandle::paintEvent(QPaintEvent* event) {
  QSplitterHandle::paintEvent(event);
  QPainter painter(this);
  const QRect zone = HotZone();
  painter.fillRect(zone.adjusted(1, 0, -1, 0), palette().color(QPalette::Mid));
  // Arrows point the way the panel goes on a click.
  const bool collapsed = owner_->IsCollapsed();
  const qreal half = qMax(1, width() / 2 - 1);
  const qreal middle = zone.center().y();
  painter.setRenderHint(QPainter::Antialiasing);
  for (const qreal centre : {middle - zone.height() / 4.0, middle + zone.height() / 4.0}) {
    QPainterPath arrow;
    const qreal x = width() / 2.0;
    const qreal tip = collapsed ? x + half / 2 : x - half / 2;
    const qreal back = collapsed ? x - half / 2 : x + half / 2;
    arrow.moveTo(tip, centre);
    arrow.lineTo(back, centre - half);
    arrow.lineTo(back, centre + half);
    arrow.closeSubpath();
    painter.fillPath(arrow, palette().color(QPalette::ButtonText));
  }
}

void HotZoneHandle::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && HotZone().contains(event->position().toPoint())) {
    zonePress_ = true;
    event->accept();
    return;
  }
  QSplitterHandle::mousePressEvent(event);
}

void HotZoneHandle::mouseMoveEvent(QMouseEvent* event) {
  setCursor(HotZone().contains(event->position().toPoint()) ? Qt::PointingHandCursor : Qt::SplitHCursor);
  if (zonePress_) return;
  QSplitterHandle::mouseMoveEvent(event);
}

void HotZoneHandle::mouseReleaseEvent(QMouseEvent* event) {
  if (zonePress_) {
    zonePress_ = false;
    if (HotZone().contains(event->position().toPoint())) {
      owner_->ToggleCollapsed();
      update();
    }
    return;
  }
  QSplitterHandle::mouseReleaseEvent(event);
}
