#pragma once

#include <QSpinBox>
#include <optional>

// A whole-number spin editor whose typed entry is corrected when it is
// finished: a number beyond the range becomes the nearest bound; an emptied
// entry restores the value (or, when asked, becomes 0 brought into the
// range). Only digits, blanks and one sign can be typed. The arrow keys, the
// spin buttons and the wheel move by the step, Page Up and Page Down by the
// large step; spinning stops at the bounds.
class RangeSpinBox : public QSpinBox {
  Q_OBJECT

 public:
  enum class EmptyEntry { Restore, Zero };

  explicit RangeSpinBox(QWidget* parent = nullptr);

  void SetLargeStep(int largeStep) { largeStep_ = largeStep; }
  int LargeStep() const { return largeStep_; }
  void SetEmptyEntry(EmptyEntry rule) { emptyEntry_ = rule; }

  // Shows a value that may lie outside the range (as stored), or nothing.
  // The first spin brings the entry into the range without a step.
  void ShowStored(std::optional<int> value);

  // What the entry stands for once finished: a number within the range, or
  // none when the entry is to be given up (emptied, or not a number).
  std::optional<int> Entry() const;

  QValidator::State validate(QString& input, int& pos) const override;
  void fixup(QString& input) const override;
  void stepBy(int steps) override;
  QString textFromValue(int value) const override;

 signals:
  // The user typed or spun: emitted for every change made by the user, never
  // for one made by the program.
  void UserChanged();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::optional<int> EntryOf(const QString& text) const;

  // What is shown instead of the value until the user changes the entry: a
  // stored value beyond the range, or nothing for a field without a value.
  std::optional<QString> shownInstead_;
  // What a given-up entry shows again: the text ShowStored showed.
  std::optional<QString> restoreText_;
  // The finished entry was given up; the spin box's own correction may have
  // put a number back into the text since.
  mutable bool givenUp_ = false;
  int largeStep_ = 10;
  EmptyEntry emptyEntry_ = EmptyEntry::Restore;
};
