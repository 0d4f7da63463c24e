#pragma once

#include "roster/pers_table.h"

namespace tolvaro {

// Holds back a table's notifications for a scope: its controls redraw once
// when the scope ends, however it ends.
class HeldNotifications {
 public:
  explicit HeldNotifications(PersTable& table) : table_(table) { table_.HoldNotifications(); }
  ~HeldNotifications() { table_.ReleaseNotifications(); }
  HeldNotifications(const HeldNotifications&) = delete;
  HeldNotifications& operator=(const HeldNotifications&) = delete;

 private:
  PersTable& table_;
};

}  // namespace tolvaro
