#include "ui/range_spin_box.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <algorithm>

namespace {

// Blanks, at most one sign, digits, blanks: all that can be typed.
const QRegularExpression& NumberShape() {
  static const QRegularExpression shape(QStringLiteral("^\\s*([+-]?)(\\d*)\\s*$"));
  return shape;
}

}  // namespace

RangeSpinBox::RangeSpinBox(QWidget* parent) : QSpinBox(parent) {
  setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
  setKeyboardTracking(true);
  connect(lineEdit(), &QLineEdit::textEdited, this, [this] {
    shownInstead_.reset();
    givenUp_ = false;
    emit UserChanged();
  });
}

void RangeSpinBox::ShowStored(std::optional<int> value) {
  const QSignalBlocker quiet(this);
  shownInstead_.reset();
  setValue(value.value_or(minimum()));
  if (!value) {
    shownInstead_ = QString();
  } else if (*value != this->value()) {
    shownInstead_ = QSpinBox::textFromValue(*value);
  }
  restoreText_ = textFromValue(this->value());
  givenUp_ = false;
  lineEdit()->setText(*restoreText_);
}

QString RangeSpinBox::textFromValue(int value) const {
  if (shownInstead_ && value == this->value()) return *shownInstead_;
  return QSpinBox::textFromValue(value);
}

std::optional<int> RangeSpinBox::EntryOf(const QString& text) const {
  const QRegularExpressionMatch match = NumberShape().match(text);
  if (!match.hasMatch()) return std::nullopt;
  const QString digits = match.captured(2);
  if (digits.isEmpty()) {
    // A lone sign counts as emptied.
    if (emptyEntry_ == EmptyEntry::Restore) return std::nullopt;
    return qBound(minimum(), 0, maximum());
  }
  bool fits = false;
  const qlonglong magnitude = digits.toLongLong(&fits);
  const bool negative = match.captured(1) == QStringLiteral("-");
  if (!fits) return negative ? minimum() : maximum();
  const qlonglong number = negative ? -magnitude : magnitude;
  return static_cast<int>(std::clamp<qlonglong>(number, minimum(), maximum()));
}

std::optional<int> RangeSpinBox::Entry() const {
  if (givenUp_) return std::nullopt;
  return EntryOf(lineEdit()->text());
}

QValidator::State RangeSpinBox::validate(QString& input, int&) const {
  const QRegularExpressionMatch match = NumberShape().match(input);
  if (!match.hasMatch()) return QValidator::Invalid;
  bool fits = false;
  const qlonglong number = input.trimmed().toLongLong(&fits);
  if (!fits) return QValidator::Intermediate;
  return number >= minimum() && number <= maximum() ? QValidator::Acceptable : QValidator::Intermediate;
}

void RangeSpinBox::fixup(QString& input) const {
  const std::optional<int> entry = EntryOf(input);
  if (entry) {
    input = QSpinBox::textFromValue(*entry);
    return;
  }
  givenUp_ = true;
  input = restoreText_ ? *restoreText_ : textFromValue(value());
}

void RangeSpinBox::stepBy(int steps) {
  givenUp_ = false;
  if (shownInstead_) {
    shownInstead_.reset();
    lineEdit()->setText(textFromValue(value()));
    emit UserChanged();
    return;
  }
  const QString before = lineEdit()->text();
  QSpinBox::stepBy(steps);
  if (lineEdit()->text() != before) emit UserChanged();
}

void RangeSpinBox::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown) && singleStep() > 0) {
    const int steps = qMax(1, largeStep_ / singleStep());
    stepBy(event->key() == Qt::Key_PageUp ? steps : -steps);
    event->accept();
    return;
  }
  QSpinBox::keyPressEvent(event);
}
