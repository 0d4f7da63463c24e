#pragma once

#include <QSplitter>
#include <QSplitterHandle>

// A splitter between a side panel (the first widget) and the rest. Dragging
// its bar changes the panel's width; a click on the hot zone in the middle of
// the bar collapses the panel, and another restores its former width.
class HotZoneSplitter : public QSplitter {
  Q_OBJECT

 public:
  explicit HotZoneSplitter(QWidget* parent = nullptr);

  bool IsCollapsed() const;
  void ToggleCollapsed();

  // The bar between the panel and the rest.
  QSplitterHandle* Bar() const { return handle(1); }

 protected:
  QSplitterHandle* createHandle() override;

 private:
  int restoreWidth_ = 0;
};

class HotZoneHandle : public QSplitterHandle {
  Q_OBJECT

 public:
  HotZoneHandle(Qt::Orientation orientation, HotZoneSplitter* parent);

  // The hot zone, in the bar's coordinates.
  QRect HotZone() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  HotZoneSplitter* owner_;
  bool zonePress_ = false;
};
