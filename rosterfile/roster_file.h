#pragma once

#include <string>
#include <string_view>

#include "roster/pers_table.h"

namespace tolvaro {

// Roster files (.sav): every committed record of a table as
// "<R>" {"<F>"name"</F><V>"value"</V>"} "</R>", one pair per field in field
// order, 8-bit text without header or escaping, every line break CR LF and
// one CR LF after the last line.

// Writes every committed record of table to fileName, walking the table to
// its last record (a pending change is committed or dropped by that walk).
// A closed table or one without committed records writes nothing. The file
// is replaced whole or not at all. Throws Error:
//   "Cannot create file "%s". %s"  the file cannot be created or replaced;
//   "Stream write error"           writing it failed;
//   a Russian message naming the character and the field when a text value
//   holds "</V>", "</R>" or a zero byte, which the file could not give back
//   as it was; nothing is written then.
void SaveRoster(PersTable& table, const std::string& fileName);

// The bytes SaveRoster would write, with the same walk and the same refusal
// of values that would not read back; empty when it would write nothing.
std::string SaveRosterText(PersTable& table);

// Replaces the table's whole content with the records of fileName: the
// table is reopened (RecId numbering afresh) and holds the records in the
// reverse of the file's order, the file's last record current; a file
// without any record leaves one blank pending record. Values are stored as
// read: no change hook runs (the load command raises SuppressRecalc
// anyway), so E, RE and C keep the file's values. A name that is no file
// (missing, a folder) changes nothing. Throws Error, leaving the table
// exactly as it was:
//   "Cannot open file "%s". %s"                          the file cannot be read;
//   "'%s' is not a valid integer value for field '%s'"   a value of an integer field.
void LoadRoster(PersTable& table, const std::string& fileName);

// LoadRoster on bytes already read from a file.
void LoadRosterText(PersTable& table, std::string_view fileBytes);

}  // namespace tolvaro
