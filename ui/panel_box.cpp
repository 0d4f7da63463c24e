#include "ui/panel_box.h"

#include <QEvent>

PanelBox::PanelBox(const QString& caption, QMargins margins, QWidget* parent)
    : QGroupBox(caption, parent), margins_(margins) {
  setAccessibleName(caption.trimmed());
  setContentsMargins(margins_);
}

void PanelBox::changeEvent(QEvent* event) {
  // The base class works its frame out afresh on these changes.
  QGroupBox::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) setContentsMargins(margins_);
}
