#pragma once

#include <string>

#include "roster/pers_table.h"

namespace tolvaro {

// Writes every committed record of table, in table order, to the roster file
// fileName, replacing it. A closed table or one without committed records
// writes nothing and leaves an existing file untouched. The walk leaves the
// table's last record current.
void SaveRoster(PersTable& table, const std::string& fileName);

// Replaces the table's content with the records of the roster file fileName.
// A name that is no file (none, or a folder) changes nothing. The caller
// raises SuppressRecalc for the run so derived values are taken as read.
void LoadRoster(PersTable& table, const std::string& fileName);

}  // namespace tolvaro
