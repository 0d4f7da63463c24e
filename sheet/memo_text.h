#pragma once

#include <string>
#include <vector>

namespace tolvaro {

// The text of a memo filled line by line: every line, the last one included,
// followed by CR LF. An item that holds line breaks of its own (a sheet's
// description) keeps them, so it shows as several lines.
std::string MemoText(const std::vector<std::string>& lines);

}  // namespace tolvaro
