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

// Replaces the file fileName whole or not at all. The constructor checks the
// target and creates a new file beside it; Write adds bytes to that file;
// Commit flushes it to the disk and puts it in the target's place with one
// rename, so an existing file is never left half written. The new file keeps
// the replaced one's permission bits (and its owner, where the user may give
// files away). A symbolic link is followed: the file it names is replaced.
// Until Commit has succeeded, destruction removes the new file and the
// target keeps its old content. Throws Error
//   "Cannot create file "%s". %s"  the file cannot be created or replaced (a
//                                  read-only file counts, even for a user
//                                  such as root whom the system would let
//                                  write it);
//   "Stream write error"           writing or flushing fails (a full disk, a
//                                  file size limit: SIGXFSZ is held off so
//                                  that the limit fails the write instead of
//                                  ending the process).
class FileReplacement {
 public:
  explicit FileReplacement(const std::string& fileName);
  ~FileReplacement();
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;

  void Write(std::string_view bytes);
  void Commit();

 private:
  std::string fileName_;       // as given, for messages
  std::string target_;         // the file that is replaced
  std::string folder_;
  std::string temporary_;      // empty once renamed
  int fd_ = -1;
  bool replacing_ = false;
  unsigned oldMode_ = 0;
  unsigned oldOwner_ = 0;
  unsigned oldGroup_ = 0;
};

// FileReplacement with content as the whole of the new file.
void ReplaceFileContent(const std::string& fileName, std::string_view content);

// The operating system's description of an error number, without trailing
// full stops, blanks or line breaks.
std::string SystemErrorText(int error);

// The full path of fileName as the file messages show it.
std::string FullPath(const std::string& fileName);

}  // namespace tolvaro::rosterfile
