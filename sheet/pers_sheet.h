#pragma once

#include <string>
#include <vector>

#include "roster/pers_table.h"

namespace tolvaro {

// The forum-markup sheet of the current record of `table`: the opening tags
// with Login and Name, one table row each for S, L, K, M, R, B, E and RE,
// "[/table]", the description D as one item (its own CR LF line breaks stay
// inside it), and the closing tags. Every value is the field's text form,
// copied unescaped; a table without a current record gives empty values.
// All fields are looked up before anything is read, Login first, so a table
// lacking the character fields fails with its field lookup error
// ("mdBat1: Field 'Login' not found") and yields nothing.
std::vector<std::string> PersSheetLines(PersTable& table);

}  // namespace tolvaro
