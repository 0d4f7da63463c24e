#include "roster/pers_table.h"
#include "rosterfile/file_access.h"
#include "roster/held_notifications.h"
#include "rosterfile/roster_file.h"
#include "rosterfile/roster_text_parser.h"

namespace tolvaro {

void LoadRosterText(PersTable& table, std::string_view fileBytes) {
  // Everything is read and checked before the table changes, so a failure
  // leaves the roster as it was.
  std::vector<PersRecord> records = rosterfile::ParseRosterText(table, fileBytes);

  HeldNotifications held(table);
  table.Close();
  table.Open();
  if (records.empty()) {
    table.Insert();  // the blank pending record of a file without records
    return;
  }
  // Each record goes before the one read just before it, so the file's last
  // record ends first and current.
  for (PersRecord& record : records) table.InsertRecord(std::move(record));
}

void LoadRoster(PersTable& table, const std::string& fileName) {
  const std::optional<std::string> content = rosterfile::ReadWholeFile(fileName);
  if (!content) return;
  LoadRosterText(table, *content);
}

}  // namespace tolvaro
