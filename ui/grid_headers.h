#pragma once

#include <QHeaderView>

// Column headers of a grid: a click sorts (the view's sorting), the drop-down
// button at a section's right edge opens a list of that column's values that
// filters the shown rows (GridFilterProxy), sections can be dragged and
// widened. Captions are centred.
class FilterHeaderView : public QHeaderView {
  Q_OBJECT

 public:
  explicit FilterHeaderView(QWidget* parent = nullptr);

  // Where the drop-down button of a section lies, in the header's coordinates.
  QRect DropDownRect(int logicalIndex) const;

  // Opens the value list of a column below its header.
  void OpenFilterMenu(int logicalIndex);

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  int hovered_ = -1;
  bool menuPress_ = false;
};

// The narrow indicator column at a grid's left: marks the row that shows the
// table's current record.
class IndicatorHeaderView : public QHeaderView {
  Q_OBJECT

 public:
  explicit IndicatorHeaderView(QWidget* parent = nullptr);

 protected:
  void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};
