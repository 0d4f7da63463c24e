#include "ui/field_memo.h"

#include <QFocusEvent>
#include <QScopedValueRollback>

#include "ui/text_codec.h"

FieldMemo::FieldMemo(tolvaro::PersTable& table, int field, QWidget* parent)
    : QPlainTextEdit(parent), table_(table), field_(field) {
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setTabChangesFocus(true);
  connect(this, &QPlainTextEdit::textChanged, this, &FieldMemo::UserChanged);
  table_.Attach(this);
  Load();
}

FieldMemo::~FieldMemo() { table_.Detach(this); }

bool FieldMemo::HasRecord() const { return table_.IsOpen() && table_.CurrentRecord() != nullptr; }

void FieldMemo::Load() {
  const QScopedValueRollback<bool> loading(loading_, true);
  userChanged_ = false;
  QString text = HasRecord() ? FromCp1251(table_.Field(field_).AsString()) : QString();
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(u'\r', u'\n');
  if (text != toPlainText()) setPlainText(text);
  setReadOnly(!HasRecord());
}

void FieldMemo::UserChanged() {
  if (loading_ || userChanged_) return;
  userChanged_ = true;
  if (HasRecord() && table_.State() == tolvaro::TableState::Browse) table_.Edit();
}

void FieldMemo::FinishEntry() {
  if (!userChanged_ || !HasRecord()) return;
  userChanged_ = false;
  QString text = toPlainText();
  text.replace(u'\n', QStringLiteral("\r\n"));
  table_.Field(field_).SetAsString(ToCp1251(text));
}

void FieldMemo::focusOutEvent(QFocusEvent* event) {
  QPlainTextEdit::focusOutEvent(event);
  // Switching to another window or opening a menu is no end of the entry.
  if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason) FinishEntry();
}

void FieldMemo::RowChanged(std::size_t row) {
  if (table_.CurrentRow() == row && !userChanged_) Load();
}

void FieldMemo::FieldChanged(int field) {
  if (field == field_) Load();
}
