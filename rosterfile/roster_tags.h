#pragma once

#include <string_view>

namespace tolvaro::rosterfile {

// The tag texts of a roster file, shared by its writer and its reader. A
// record is "<R>", then one "<F>"name"</F><V>"value"</V>" pair per field,
// then "</R>"; nothing is escaped. Every tag starts with '<' and holds no
// other '<', and none holds a line break.
inline constexpr std::string_view kRecordOpen = "<R>";
inline constexpr std::string_view kRecordClose = "</R>";
inline constexpr std::string_view kNameOpen = "<F>";
inline constexpr std::string_view kNameClose = "</F>";
inline constexpr std::string_view kValueOpen = "<V>";
inline constexpr std::string_view kValueClose = "</V>";

// Every line break of a file, the one after its last line included.
inline constexpr std::string_view kLineBreak = "\r\n";

}  // namespace tolvaro::rosterfile
