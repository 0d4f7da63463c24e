#pragma once

#include <QStringList>
#include <QWidget>
#include <vector>

class QCheckBox;

// A borderless group of two-state check items, one below the other, all
// cleared at start. The group is one stop in the Tab order: the item that
// last had the focus takes it; the arrow keys move the focus between the
// items and Space ticks or clears the focused one.
class CheckGroup : public QWidget {
  Q_OBJECT

 public:
  CheckGroup(const QStringList& captions, QWidget* parent = nullptr);

  int Count() const { return static_cast<int>(items_.size()); }
  QCheckBox* Item(int index) const { return items_.at(static_cast<std::size_t>(index)); }
  bool IsChecked(int index) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void MakeTabStop(int index);

  std::vector<QCheckBox*> items_;
};
