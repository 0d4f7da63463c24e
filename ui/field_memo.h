#pragma once

#include <QPlainTextEdit>

#include "roster/pers_table.h"
#include "roster/table_observer.h"

// A multi-line editor bound to a text field of a table's current record. It
// wraps at its width, has no scroll bars and takes Enter as a new line; Tab
// moves on to the next control. It shows nothing and takes no input while the
// table has no current record. An edit of the record starts by itself when
// the user starts to change the text, which is written into the field when
// the focus leaves. Line breaks are stored as CR LF.
class FieldMemo : public QPlainTextEdit, private tolvaro::TableObserver {
  Q_OBJECT

 public:
  FieldMemo(tolvaro::PersTable& table, int field, QWidget* parent = nullptr);
  ~FieldMemo() override;

  // Writes the text into the field if the user changed it.
  void FinishEntry();

 protected:
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void TableReset() override { Load(); }
  void RowInserted(std::size_t) override {}
  void RowRemoved(std::size_t) override {}
  void RowChanged(std::size_t row) override;
  void FieldChanged(int field) override;
  void CurrentChanged() override { Load(); }

  bool HasRecord() const;
  void Load();
  void UserChanged();

  tolvaro::PersTable& table_;
  int field_;
  bool loading_ = false;
  bool userChanged_ = false;
};
