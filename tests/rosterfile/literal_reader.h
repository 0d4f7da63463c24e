#pragma once

// The roster file reader transcribed word for word, as the reference that the
// fast reader is checked against: the text is copied again after every record
// and every pair (quadratic), positions count from 1 and 0 means "not found",
// and every value goes through the table's own operations (Insert, a field's
// SetAsString, Post). A failure propagates from the field write with the
// table as far as the reading got.

#include <string>
#include <vector>

#include "roster/pers_table.h"

namespace tolvaro::testing {

// Position of the first occurrence of x in t, from 1; 0 when there is none.
inline long LiteralFind(const std::string& x, const std::string& t) {
  const std::size_t at = t.find(x);
  return at == std::string::npos ? 0 : static_cast<long>(at) + 1;
}

// The n characters of t from position p: empty when n is 0 or less, and
// stopping at the end of t.
inline std::string LiteralCopy(const std::string& t, long p, long n) {
  if (n <= 0 || p < 1 || p > static_cast<long>(t.size())) return {};
  return t.substr(static_cast<std::size_t>(p - 1), static_cast<std::size_t>(n));
}

// The file's bytes cut into lines (a line ends at each CR LF pair, each lone
// CR and each lone LF; a zero byte ends the text) and joined again with CR LF
// after every line, the last one included.
inline std::string LiteralNormalise(const std::string& bytes) {
  const std::string text = bytes.substr(0, bytes.find('\0'));
  std::vector<std::string> lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back(text.substr(start, i - start));
      i += (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  std::string joined;
  for (const std::string& line : lines) joined += line + "\r\n";
  return joined;
}

// Reading steps 2 to 6 on bytes already read from the file.
inline void LiteralLoadRosterText(PersTable& table, const std::string& bytes) {
  if (table.IsOpen()) table.Close();
  table.Open();
  std::string T = LiteralNormalise(bytes);
  long a = LiteralFind("<R>", T);
  long b = LiteralFind("</R>", T);
  table.Insert();
  while (a > 0 && b > a) {
    table.Insert();
    std::string R = LiteralCopy(T, a + 3, b - a - 3);
    T = LiteralCopy(T, b + 4, static_cast<long>(T.size()) - b - 3);
    long f = LiteralFind("<F>", R);
    long g = LiteralFind("</F>", R);
    long v = LiteralFind("<V>", R);
    long w = LiteralFind("</V>", R);
    while (f > 0 && f < g && v > 0 && v < w) {
      const std::string name = LiteralCopy(R, f + 3, g - f - 3);
      const std::string value = LiteralCopy(R, v + 3, w - v - 3);
      R = LiteralCopy(R, w + 4, static_cast<long>(R.size()) - w - 3);
      if (auto field = table.FindField(name)) field->SetAsString(value);
      f = LiteralFind("<F>", R);
      g = LiteralFind("</F>", R);
      v = LiteralFind("<V>", R);
      w = LiteralFind("</V>", R);
    }
    a = LiteralFind("<R>", T);
    b = LiteralFind("</R>", T);
    table.Post();
  }
}

}  // namespace tolvaro::testing
