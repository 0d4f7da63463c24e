#include "ui/clamping_spin_box.h"

#include <QKeyEvent>
#include <QRegularExpression>
#include <algorithm>

namespace {

// An optional sign and digits: what can be typed. Anything else is refused
// keystroke by keystroke.
const QRegularExpression& EntryPattern() {
  static const QRegularExpression pattern(QStringLiteral("^[+-]?[0-9]*$"));
  return pattern;
}

}  // namespace

ClampingSpinBox::ClampingSpinBox(int minimum, int maximum, int largeStep, QWidget* parent)
    : QSpinBox(parent), largeStep_(largeStep) {
  setRange(minimum, maximum);
  setSingleStep(1);
  setWrapping(false);
  setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
  // The value follows an entry only once it is finished.
  setKeyboardTracking(false);
  setValue(std::clamp(0, minimum, maximum));
}

QValidator::State ClampingSpinBox::validate(QString& input, int&) const {
  const QString entry = input.trimmed();
  if (!EntryPattern().match(entry).hasMatch()) return QValidator::Invalid;
  bool number = false;
  const qlonglong value = entry.toLongLong(&number);
  // Empty, a lone sign, a number beyond the range or too long to read: kept
  // while typing, corrected by fixup when the entry is finished.
  if (!number || value < minimum() || value > maximum()) return QValidator::Intermediate;
  return QValidator::Acceptable;
}

void ClampingSpinBox::fixup(QString& input) const {
  const QString entry = input.trimmed();
  if (!EntryPattern().match(entry).hasMatch()) return;
  const bool negative = entry.startsWith(u'-');
  const QStringView digits = QStringView(entry).mid(entry.startsWith(u'-') || entry.startsWith(u'+') ? 1 : 0);
  bool number = false;
  qlonglong value = digits.toLongLong(&number);
  if (!number) {
    // No digits at all: 0. Too many to read: as far out as its sign says.
    value = digits.isEmpty() ? 0 : maximum() + qlonglong{1};
  }
  if (negative) value = -value;
  input = textFromValue(static_cast<int>(std::clamp<qlonglong>(value, minimum(), maximum())));
}

int ClampingSpinBox::valueFromText(const QString& text) const {
  QString entry = text;
  fixup(entry);
  return entry.toInt();
}

void ClampingSpinBox::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown) && !isReadOnly()) {
    stepBy(event->key() == Qt::Key_PageUp ? largeStep_ : -largeStep_);
    event->accept();
    return;
  }
  QSpinBox::keyPressEvent(event);
}
