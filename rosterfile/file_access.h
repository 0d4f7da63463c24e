#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tolvaro::rosterfile {

// The whole content of the regular file fileName, or nothing when there is no
// file of that name (a missing name, a folder or another kind of node).
// Throws Error "Cannot open file "%s". %s" when the file exists but cannot be
// opened, and "Stream read error" when reading it fails.
std::optional<std::string> ReadWholeFile(const std::string& fileName);

// Gives the file fileName exactly the content bytes, or leaves it as it was.
// The bytes go to a new file in the same folder, are flushed to the disk and
// then take the name's place in one rename, so an existing file is never
// left half written; it keeps its permission bits. A symbolic link is
// followed: the file it names is replaced. Throws Error
// "Cannot create file "%s". %s" when the file cannot be created or replaced
// (a read-only file counts, even for a user that could write it anyway),
// and "Stream write error" when writing fails; no temporary file is left
// behind either way.
void ReplaceFileContent(const std::string& fileName, std::string_view content);

// The operating system's description of an error number, without trailing
// full stops, blanks or line breaks.
std::string SystemErrorText(int error);

// The full path of fileName as the file messages show it.
std::string FullPath(const std::string& fileName);

}  // namespace tolvaro::rosterfile
