#pragma once

#include "roster/pers_table.h"

namespace tolvaro {

// The roster's rules over mdPers: the new-character and delete operations and
// the change rule that keeps E, RE and C up to date unless SuppressRecalc is
// raised. The window's handlers call these; it owns both the table and this.
class PersRoster {
 public:
  // REQUIRES: pers holds the character fields. Hooks the change rule onto
  // S, L, K, M, R and B; the destructor removes the hooks again.
  explicit PersRoster(PersTable& pers);
  ~PersRoster();
  PersRoster(const PersRoster&) = delete;
  PersRoster& operator=(const PersRoster&) = delete;

  PersTable& Pers() { return pers_; }

  bool SuppressRecalc() const { return suppressRecalc_; }
  void SetSuppressRecalc(bool raised) { suppressRecalc_ = raised; }

  // "Новый": opens the roster if closed, inserts a character with the default
  // attributes and skills before the current one, computes its derived values
  // and posts it.
  void NewPers();

  // "Удалить": deletes the current character at once when there is any.
  void DeletePers();

  // mdPersFieldChange: E, RE and C of the current record from S, L, K, M, R, B.
  // When the cost fails (a skill below 100), E and RE keep their new values,
  // C its old one, and the failure propagates with the change still pending.
  void PersFieldChange();

 private:
  PersTable& pers_;
  bool suppressRecalc_ = false;
};

// Raises SuppressRecalc for a scope and lowers it however the scope ends.
class SuppressRecalcScope {
 public:
  explicit SuppressRecalcScope(PersRoster& roster) : roster_(roster) { roster_.SetSuppressRecalc(true); }
  ~SuppressRecalcScope() { roster_.SetSuppressRecalc(false); }
  SuppressRecalcScope(const SuppressRecalcScope&) = delete;
  SuppressRecalcScope& operator=(const SuppressRecalcScope&) = delete;

 private:
  PersRoster& roster_;
};

}  // namespace tolvaro
