#pragma once

#include <string_view>
#include <vector>

#include "roster/pers_table.h"

namespace tolvaro::rosterfile {

// The records that a roster file's bytes give a table with table's fields,
// in the order of the file, each with one value per field; a field that no
// pair sets is null, RecId too (the table numbers such a record on commit).
//
// What is read: the text ends at its first zero byte and every line break
// counts as CR LF. A record is the text between the first "<R>" and the
// first "</R>" of what is left of the file; reading stops when either is
// missing or "</R>" comes first, and goes on after that "</R>". Within a
// record each pass takes the first "<F>".."</F>" span as the name and the
// first "<V>".."</V>" span as the value of what is left of the record, then
// drops everything up to that "</V>"; it stops when a tag is missing or a
// closing tag comes before its opening one. A name matches a field without
// regard to letter case; other names are skipped. A text value is cut to
// its field's size; an integer value follows the integer grammar, and an
// empty one gives null.
//
// Runs in time linear in the size of the text. Throws Error
// "'%s' is not a valid integer value for field '%s'" for the first integer
// value that is no integer text; the table itself is only read.
std::vector<PersRecord> ParseRosterText(const PersTable& table, std::string_view fileBytes);

}  // namespace tolvaro::rosterfile
