#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "roster/field_value.h"
#include "roster/table_field.h"
#include "roster/table_observer.h"

namespace tolvaro {

using PersRecord = std::vector<FieldValue>;

enum class TableState { Browse, Edit, Insert };

// An ordered in-memory table of records with one current record and at most
// one pending change. Field 0 is always the table's own RecId. Failures throw
// Error with the table's name in front ("mdPers: ...").
//
// Appending, posting, walking and inserting before the first record are O(1)
// amortised; inserting or deleting in the middle is O(n).
class PersTable {
 public:
  explicit PersTable(std::string name);
  PersTable(const PersTable&) = delete;
  PersTable& operator=(const PersTable&) = delete;

  const std::string& Name() const { return name_; }

  // Field list.
  int FieldCount() const { return static_cast<int>(fields_.size()); }
  const FieldDef& Def(int index) const { return fields_.at(static_cast<std::size_t>(index)); }
  TableField Field(int index);
  TableField FieldByName(std::string_view name);
  std::optional<TableField> FindField(std::string_view name);
  int FieldIndex(std::string_view name) const;  // -1 when there is none
  // Adds a field at the end. REQUIRES: the table is closed and has no field
  // of that name in any letter case (std::logic_error otherwise).
  void AddField(FieldDef def);
  void SetOnChange(int index, FieldHook hook);

  // Open state.
  void Open();
  void Close();
  bool IsOpen() const { return open_; }

  // Records and cursor.
  std::size_t RecordCount() const { return records_.size(); }
  void First();
  void Next();
  bool Eof() const { return eof_; }
  void Insert();
  void Append();
  void Edit();
  void Post();
  void Cancel();
  void Delete();
  // Insert, a write of every field (RecId included) and Post in one step:
  // the cursor rule runs, the record is committed before the current one
  // with its RecId given by the RecId rule (a null RecId takes the next
  // number) and becomes current. No change hook runs. values must hold one
  // value per field. For bulk loads that have already checked their values.
  void InsertRecord(PersRecord values);
  TableState State() const;
  bool Modified() const { return pending_ && pending_->modified; }
  std::int32_t MaxRecId() const { return maxRecId_; }

  // Makes this table a copy of source: its field set, then every committed
  // record in order, renumbered by the RecId rule; the last record current.
  void CopyFrom(PersTable& source);

  // The record that field access reads and writes: the pending one while a
  // change is pending, else the current committed record; null when none.
  const PersRecord* CurrentRecord() const;

  // Display rows for bound controls; reading them never moves the cursor.
  std::size_t RowCount() const { return records_.size() + (IsInserting() ? 1 : 0); }
  const PersRecord& Row(std::size_t row) const;
  std::optional<std::size_t> CurrentRow() const;
  // A bound control chose the row showing this RecId: the cursor rule runs,
  // then that record becomes current. Nothing more when it is gone.
  void GoToRecId(std::int32_t recId);

  // Data links.
  void Attach(TableObserver* observer);
  void Detach(TableObserver* observer);
  void HoldNotifications();
  void ReleaseNotifications();

 private:
  friend class TableField;

  struct Pending {
    TableState kind = TableState::Edit;
    PersRecord values;
    bool modified = false;
    std::size_t insertAt = 0;                   // new record: its place
    std::optional<std::size_t> currentBefore;   // new record: current before Insert
  };

  bool IsInserting() const { return pending_ && pending_->kind == TableState::Insert; }
  void RequireOpen() const;
  [[noreturn]] void Fail(std::string_view message) const;
  PersRecord BlankRecord() const;
  void StartNew(std::size_t place, bool appended);
  void SettlePending();        // the cursor rule
  void CommitNew(Pending& pending);
  std::int32_t NextRecId();    // MaxRecId + 1, or a free number once it is saturated
  void NoteUsedRecId(std::int32_t id);
  void ForgetUsedRecId(std::int32_t id);
  void WriteValue(int field, FieldValue value);

  template <typename Fn>
  void Notify(Fn&& fn);
  void NotifyReset();

  std::string name_;
  std::vector<FieldDef> fields_;
  bool open_ = false;
  std::deque<PersRecord> records_;
  std::optional<std::size_t> current_;
  bool eof_ = true;
  std::optional<Pending> pending_;
  std::int32_t maxRecId_ = 0;
  // Only once MaxRecId has reached the 32-bit limit: the numbers in use and
  // where the search for a free one goes on.
  std::optional<std::unordered_set<std::int32_t>> usedRecIds_;
  std::int32_t freeRecIdHint_ = 1;

  std::vector<TableObserver*> observers_;
  int holdCount_ = 0;
  bool changedWhileHeld_ = false;
};

}  // namespace tolvaro
