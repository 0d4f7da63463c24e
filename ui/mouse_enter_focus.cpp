#include "ui/mouse_enter_focus.h"

#include <QAbstractButton>
#include <QEvent>

void btMouseEnter(QWidget* button) {
  if (button->isEnabled() && button->isVisible()) button->setFocus(Qt::MouseFocusReason);
}

void FollowHoverRule(QAbstractButton* button) {
  button->installEventFilter(new MouseEnterFocus(button));
}

bool MouseEnterFocus::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Enter && watched->isWidgetType()) {
    btMouseEnter(static_cast<QWidget*>(watched));
  }
  return false;
}
