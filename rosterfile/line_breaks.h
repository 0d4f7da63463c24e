#pragma once

#include <string>
#include <string_view>

namespace tolvaro::rosterfile {

// Appends text to out with every line break written as CR LF: a CR LF pair
// stays as it is, a lone CR and a lone LF each become CR LF. This is how a
// roster file stores the line breaks of a value, and how a file's text is
// normalised before it is read.
void AppendWithCrLf(std::string& out, std::string_view text);

// True when text holds a CR or an LF.
bool HasLineBreak(std::string_view text);

}  // namespace tolvaro::rosterfile
