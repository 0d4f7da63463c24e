#pragma once

#include <QObject>

class QAbstractButton;
class QWidget;

// The hover rule: the pointer entering a command button gives it the keyboard
// focus, so the control that had it loses it as if the user had moved away
// (an entry in progress is finished and written). The button is not pressed.
void btMouseEnter(QWidget* button);

// Makes button follow the hover rule for as long as it lives.
void FollowHoverRule(QAbstractButton* button);

// The event filter behind FollowHoverRule; one instance may watch any number
// of buttons.
class MouseEnterFocus : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};
