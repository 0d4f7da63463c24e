#include "ui/check_group.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <algorithm>

CheckGroup::CheckGroup(const QStringList& captions, QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 0, 0, 0);
  layout->setSpacing(0);
  for (const QString& caption : captions) {
    auto* item = new QCheckBox(caption, this);
    item->setAccessibleName(caption);
    item->installEventFilter(this);
    // The items share the group's height evenly.
    layout->addWidget(item, 1);
    items_.push_back(item);
  }
  // Consecutive in the focus chain, so that the group's one stop sits where
  // the group does.
  for (std::size_t i = 1; i < items_.size(); ++i) setTabOrder(items_[i - 1], items_[i]);
  MakeTabStop(0);
}

bool CheckGroup::IsChecked(int index) const { return Item(index)->isChecked(); }

void CheckGroup::MakeTabStop(int index) {
  for (int i = 0; i < Count(); ++i) Item(i)->setFocusPolicy(i == index ? Qt::StrongFocus : Qt::ClickFocus);
}

bool CheckGroup::eventFilter(QObject* watched, QEvent* event) {
  const auto found = std::find(items_.begin(), items_.end(), watched);
  if (found == items_.end()) return false;
  const int index = static_cast<int>(found - items_.begin());
  if (event->type() == QEvent::FocusIn) {
    MakeTabStop(index);
  } else if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    int step = 0;
    if (key == Qt::Key_Up || key == Qt::Key_Left) step = -1;
    if (key == Qt::Key_Down || key == Qt::Key_Right) step = +1;
    if (step != 0) {
      const int next = std::clamp(index + step, 0, Count() - 1);
      if (next != index) Item(next)->setFocus(Qt::OtherFocusReason);
      return true;
    }
  }
  return false;
}
