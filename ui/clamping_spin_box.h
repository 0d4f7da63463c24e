#pragma once

#include <QSpinBox>

// A whole-number spin editor whose typed entry is corrected when the entry is
// finished (the focus leaves it, or Enter): a number beyond the range becomes
// the nearest bound, an emptied entry becomes 0 brought into the range. So
// value() is always a whole number within the range, and it changes only when
// an entry is finished or the value is spun. Only a sign and digits can be
// typed. The arrow keys, the spin buttons and the wheel move by the single
// step, Page Up and Page Down by the large step; spinning stops at the bounds.
class ClampingSpinBox : public QSpinBox {
  Q_OBJECT

 public:
  // The single step is 1; largeStep is how far Page Up and Page Down move.
  ClampingSpinBox(int minimum, int maximum, int largeStep, QWidget* parent = nullptr);

  int LargeStep() const { return largeStep_; }

  QValidator::State validate(QString& input, int& pos) const override;
  void fixup(QString& input) const override;
  int valueFromText(const QString& text) const override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  int largeStep_;
};
