#include "roster/pers_table.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <utility>

#include "roster/error.h"
#include "roster/held_notifications.h"
#include "roster/field_name.h"

namespace tolvaro {
namespace {

constexpr std::int32_t kMaxId = std::numeric_limits<std::int32_t>::max();
constexpr const char* kRecIdName = "RecId";

}  // namespace

PersTable::PersTable(std::string name) : name_(std::move(name)) {
  FieldDef recId;
  recId.name = kRecIdName;
  recId.kind = FieldKind::Integer;
  recId.hidden = true;
  recId.marksModified = false;
  fields_.push_back(std::move(recId));
}

// ---- fields ---------------------------------------------------------------

TableField PersTable::Field(int index) {
  if (index < 0 || index >= FieldCount()) throw std::out_of_range("field index");
  return TableField(*this, index);
}

int PersTable::FieldIndex(std::string_view name) const {
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    if (SameFieldName(fields_[i].name, name)) return static_cast<int>(i);
  }
  return -1;
}

std::optional<TableField> PersTable::FindField(std::string_view name) {
  const int index = FieldIndex(name);
  if (index < 0) return std::nullopt;
  return TableField(*this, index);
}

TableField PersTable::FieldByName(std::string_view name) {
  const int index = FieldIndex(name);
  if (index < 0) Fail("Field '" + std::string(name) + "' not found");
  return TableField(*this, index);
}

void PersTable::AddField(FieldDef def) {
  if (open_) throw std::logic_error("fields change only while the table is closed");
  if (FieldIndex(def.name) >= 0) throw std::logic_error("field names are unique regardless of case");
  fields_.push_back(std::move(def));
}

void PersTable::SetOnChange(int index, FieldHook hook) {
  fields_.at(static_cast<std::size_t>(index)).onChange = std::move(hook);
}

// ---- open state -----------------------------------------------------------

void PersTable::Open() {
  if (open_) return;
  open_ = true;
  records_.clear();
  current_.reset();
  eof_ = true;
  pending_.reset();
  maxRecId_ = 0;
  usedRecIds_.reset();
  freeRecIdHint_ = 1;
  NotifyReset();
}

void PersTable::Close() {
  if (!open_) return;
  open_ = false;
  records_.clear();
  current_.reset();
  eof_ = true;
  pending_.reset();
  usedRecIds_.reset();
  NotifyReset();
}

// ---- cursor ---------------------------------------------------------------

void PersTable::RequireOpen() const {
  if (!open_) Fail("Cannot perform this operation on a closed dataset");
}

void PersTable::Fail(std::string_view message) const {
  throw Error(name_ + ": " + std::string(message));
}

void PersTable::SettlePending() {
  if (!pending_) return;
  if (pending_->modified) {
    Post();
  } else {
    Cancel();
  }
}

void PersTable::First() {
  RequireOpen();
  SettlePending();
  if (records_.empty()) {
    current_.reset();
    eof_ = true;
  } else {
    current_ = 0;
    eof_ = false;
  }
  Notify([](TableObserver& o) { o.CurrentChanged(); });
}

void PersTable::Next() {
  RequireOpen();
  SettlePending();
  if (current_ && *current_ + 1 < records_.size()) {
    ++*current_;
    eof_ = false;
    Notify([](TableObserver& o) { o.CurrentChanged(); });
  } else {
    eof_ = true;
  }
}

PersRecord PersTable::BlankRecord() const { return PersRecord(fields_.size()); }

void PersTable::StartNew(std::size_t place, bool appended) {
  Pending pending;
  pending.kind = TableState::Insert;
  pending.values = BlankRecord();
  pending.values[0].isNull = false;
  pending.values[0].number = NextRecId();
  pending.insertAt = place;
  if (appended) {
    if (!records_.empty()) pending.currentBefore = records_.size() - 1;
  } else {
    pending.currentBefore = current_;
  }
  pending_ = std::move(pending);
  eof_ = false;
  Notify([place](TableObserver& o) {
    o.RowInserted(place);
    o.CurrentChanged();
  });
}

void PersTable::Insert() {
  RequireOpen();
  SettlePending();
  StartNew(current_.value_or(0), false);
}

void PersTable::Append() {
  RequireOpen();
  SettlePending();
  StartNew(records_.size(), true);
}

void PersTable::Edit() {
  RequireOpen();
  if (pending_) return;
  if (records_.empty()) {
    Insert();
    return;
  }
  Pending pending;
  pending.kind = TableState::Edit;
  pending.values = records_[*current_];
  pending_ = std::move(pending);
}

TableState PersTable::State() const { return pending_ ? pending_->kind : TableState::Browse; }

// ---- RecId rule -----------------------------------------------------------

std::int32_t PersTable::NextRecId() {
  if (maxRecId_ < kMaxId) return maxRecId_ + 1;
  // Saturated: any number not in use will do; the search resumes where it
  // stopped, so a run of posts costs O(1) amortised.
  while (usedRecIds_->contains(freeRecIdHint_)) {
    freeRecIdHint_ = freeRecIdHint_ == kMaxId ? 1 : freeRecIdHint_ + 1;
  }
  return freeRecIdHint_;
}

void PersTable::NoteUsedRecId(std::int32_t id) {
  if (usedRecIds_) {
    usedRecIds_->insert(id);
  } else if (maxRecId_ == kMaxId) {
    usedRecIds_.emplace();
    for (const PersRecord& record : records_) usedRecIds_->insert(record[0].number);
    usedRecIds_->insert(id);
  }
}

void PersTable::ForgetUsedRecId(std::int32_t id) {
  if (usedRecIds_) usedRecIds_->erase(id);
}

void PersTable::CommitNew(Pending& pending) {
  FieldValue& recId = pending.values[0];
  if (!recId.isNull && recId.number > maxRecId_) {
    maxRecId_ = recId.number;
  } else {
    recId.isNull = false;
    recId.number = NextRecId();
    if (maxRecId_ < kMaxId) maxRecId_ = recId.number;
  }
  NoteUsedRecId(recId.number);
  const std::size_t place = pending.insertAt;
  records_.insert(records_.begin() + static_cast<std::ptrdiff_t>(place), std::move(pending.values));
  current_ = place;
}

// ---- post, cancel, delete ----------------------------------------------------

void PersTable::Post() {
  if (!pending_) Fail("Dataset not in edit or insert mode");
  Pending pending = std::move(*pending_);
  pending_.reset();
  if (pending.kind == TableState::Insert) {
    CommitNew(pending);
  } else {
    PersRecord& record = records_[*current_];
    pending.values[0] = record[0];  // an edit never renumbers a record
    record = std::move(pending.values);
  }
  eof_ = false;
  const std::size_t row = *current_;
  Notify([row](TableObserver& o) {
    o.RowChanged(row);
    o.CurrentChanged();
  });
}

void PersTable::Cancel() {
  if (!pending_) return;
  Pending pending = std::move(*pending_);
  pending_.reset();
  if (pending.kind == TableState::Insert) {
    current_ = pending.currentBefore;
    eof_ = !current_;
    const std::size_t row = pending.insertAt;
    Notify([row](TableObserver& o) {
      o.RowRemoved(row);
      o.CurrentChanged();
    });
  } else {
    const std::size_t row = *current_;
    Notify([row](TableObserver& o) { o.RowChanged(row); });
  }
}

void PersTable::Delete() {
  RequireOpen();
  if (IsInserting()) {
    Cancel();
    return;
  }
  if (records_.empty()) Fail("Cannot perform this operation on an empty dataset");
  pending_.reset();
  const std::size_t row = *current_;
  ForgetUsedRecId(records_[row][0].number);
  records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(row));
  if (records_.empty()) {
    current_.reset();
    eof_ = true;
  } else {
    current_ = std::min(row, records_.size() - 1);
    eof_ = false;
  }
  Notify([row](TableObserver& o) {
    o.RowRemoved(row);
    o.CurrentChanged();
  });
}

void PersTable::InsertRecord(PersRecord values) {
  RequireOpen();
  if (values.size() != fields_.size()) throw std::invalid_argument("one value per field");
  SettlePending();
  Pending pending;
  pending.kind = TableState::Insert;
  pending.values = std::move(values);
  pending.insertAt = current_.value_or(0);
  CommitNew(pending);
  eof_ = false;
  const std::size_t row = *current_;
  Notify([row](TableObserver& o) {
    o.RowInserted(row);
    o.CurrentChanged();
  });
}

// ---- field access -----------------------------------------------------------

const PersRecord* PersTable::CurrentRecord() const {
  if (pending_) return &pending_->values;
  if (current_) return &records_[*current_];
  return nullptr;
}

void PersTable::WriteValue(int field, FieldValue value) {
  if (!pending_) Fail("Dataset not in edit or insert mode");
  const FieldDef& def = fields_[static_cast<std::size_t>(field)];
  pending_->values[static_cast<std::size_t>(field)] = std::move(value);
  if (def.marksModified) pending_->modified = true;
  // The row first: an observer hearing of the field sees a row list that
  // already agrees with the table.
  const std::size_t row = *CurrentRow();
  Notify([row, field](TableObserver& o) {
    o.RowChanged(row);
    o.FieldChanged(field);
  });
  if (def.onChange) {
    FieldHook hook = def.onChange;  // the hook may change the field list
    hook(TableField(*this, field));
  }
}

// ---- display rows -------------------------------------------------------------

const PersRecord& PersTable::Row(std::size_t row) const {
  if (pending_) {
    if (pending_->kind == TableState::Insert) {
      if (row == pending_->insertAt) return pending_->values;
      if (row > pending_->insertAt) return records_.at(row - 1);
    } else if (current_ && row == *current_) {
      return pending_->values;
    }
  }
  return records_.at(row);
}

std::optional<std::size_t> PersTable::CurrentRow() const {
  if (IsInserting()) return pending_->insertAt;
  return current_;
}

void PersTable::GoToRecId(std::int32_t recId) {
  if (!open_) return;
  const PersRecord* shown = CurrentRecord();
  if (shown && !(*shown)[0].isNull && (*shown)[0].number == recId) return;
  SettlePending();
  const auto found = std::find_if(records_.begin(), records_.end(), [recId](const PersRecord& r) {
    return !r[0].isNull && r[0].number == recId;
  });
  if (found == records_.end()) return;
  current_ = static_cast<std::size_t>(found - records_.begin());
  eof_ = false;
  Notify([](TableObserver& o) { o.CurrentChanged(); });
}

// ---- copy ---------------------------------------------------------------------

void PersTable::CopyFrom(PersTable& source) {
  // Copying a table onto itself would only lose its records.
  if (&source == this) return;
  // The target's controls hear of the copy once, at its end, whatever the
  // copy did to them: closing, new fields, refilling.
  HeldNotifications targetHeld(*this);
  Close();
  if (source.FieldCount() == 0) return;
  fields_.resize(1);
  for (const FieldDef& def : source.fields_) {
    if (SameFieldName(def.name, kRecIdName)) continue;
    FieldDef copy;
    copy.name = def.name;
    copy.kind = def.kind;
    copy.size = def.size;
    copy.hidden = def.hidden;
    fields_.push_back(std::move(copy));
  }
  changedWhileHeld_ = true;  // the field list is new
  if (!source.IsOpen()) return;

  // Where each source field lands here, by name and kind; -1 where nowhere.
  std::vector<int> targetOf;
  for (const FieldDef& def : source.fields_) {
    const int index = FieldIndex(def.name);
    targetOf.push_back(index >= 0 && fields_[static_cast<std::size_t>(index)].kind == def.kind ? index : -1);
  }

  HeldNotifications sourceHeld(source);
  source.First();
  Open();
  while (!source.Eof()) {
    Append();
    const PersRecord& from = source.records_[*source.current_];
    for (std::size_t i = 0; i < from.size(); ++i) {
      if (targetOf[i] >= 0) pending_->values[static_cast<std::size_t>(targetOf[i])] = from[i];
    }
    Post();
    source.Next();
  }
}

// ---- notifications ----------------------------------------------------------

void PersTable::Attach(TableObserver* observer) { observers_.push_back(observer); }

void PersTable::Detach(TableObserver* observer) {
  std::erase(observers_, observer);
}

void PersTable::HoldNotifications() { ++holdCount_; }

void PersTable::ReleaseNotifications() {
  if (holdCount_ == 0) return;
  if (--holdCount_ == 0 && changedWhileHeld_) {
    changedWhileHeld_ = false;
    NotifyReset();
  }
}

template <typename Fn>
void PersTable::Notify(Fn&& fn) {
  if (holdCount_ > 0) {
    changedWhileHeld_ = true;
    return;
  }
  // An observer may detach others (or itself) while hearing; one detached
  // before its turn hears nothing more, as it may be gone already.
  const std::vector<TableObserver*> observers = observers_;
  for (TableObserver* observer : observers) {
    if (std::find(observers_.begin(), observers_.end(), observer) != observers_.end()) fn(*observer);
  }
}

void PersTable::NotifyReset() {
  Notify([](TableObserver& o) { o.TableReset(); });
}

}  // namespace tolvaro
