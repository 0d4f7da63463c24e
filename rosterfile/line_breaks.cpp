#include "rosterfile/line_breaks.h"

namespace tolvaro::rosterfile {

bool HasLineBreak(std::string_view text) {
  return text.find('\n') != std::string_view::npos || text.find('\r') != std::string_view::npos;
}

void AppendWithCrLf(std::string& out, std::string_view text) {
  if (!HasLineBreak(text)) {
    out.append(text);
    return;
  }
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') continue;
    out.append(text.substr(start, i - start));
    out += "\r\n";
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  out.append(text.substr(start));
}

}  // namespace tolvaro::rosterfile
