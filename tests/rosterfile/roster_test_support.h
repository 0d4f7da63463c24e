#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "roster/pers_record.h"
#include "roster/pers_table.h"

namespace tolvaro::testing {

// A roster table with the character fields and no change hooks.
class PersTableWithFields : public PersTable {
 public:
  explicit PersTableWithFields(std::string name = "mdPers") : PersTable(std::move(name)) { AddPersFields(*this); }
};

using FieldTexts = std::vector<std::pair<std::string, std::string>>;

// Appends and posts a record whose named fields take the texts, as an editor
// would write them; the table is opened first when closed.
inline void AppendCharacter(PersTable& table, const FieldTexts& values) {
  if (!table.IsOpen()) table.Open();
  table.Append();
  for (const auto& [name, text] : values) table.FieldByName(name).SetAsString(text);
  table.Post();
}

// The value of a field of a row as text, null as the empty text.
inline std::string RowText(const PersTable& table, std::size_t row, int field) {
  const FieldValue& value = table.Row(row).at(static_cast<std::size_t>(field));
  if (value.isNull) return {};
  if (table.Def(field).kind == FieldKind::Integer) return std::to_string(value.number);
  return value.text;
}

// A folder of its own for one test, removed with all it holds.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tolvaro-rosterfile-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp");
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, error)) {
      if (entry.is_directory(error)) ::chmod(entry.path().c_str(), 0700);
    }
    std::filesystem::remove_all(path_, error);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

  // The names in the folder, sorted.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::filesystem::path path_;
};

inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) throw std::runtime_error("open " + path);
  const bool written = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  ::close(fd);
  if (!written) throw std::runtime_error("write " + path);
}

inline std::string ReadFileBytes(const std::string& path) {
  std::string bytes;
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) throw std::runtime_error("open " + path);
  char buffer[65536];
  ssize_t got;
  while ((got = ::read(fd, buffer, sizeof buffer)) > 0) bytes.append(buffer, static_cast<std::size_t>(got));
  ::close(fd);
  return bytes;
}

// Runs work in a forked child process, for faults that must not touch this
// process (a file size limit, dropped privileges); gives back the text that
// work returned, or a description of how the child ended otherwise.
inline std::string RunInChild(const std::function<std::string()>& work) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) throw std::runtime_error("pipe");
  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("fork");
  if (child == 0) {
    ::close(pipeEnds[0]);
    std::string result;
    try {
      result = work();
    } catch (const std::exception& e) {
      result = std::string("unexpected exception: ") + e.what();
    }
    const char* data = result.data();
    std::size_t left = result.size();
    while (left > 0) {
      const ssize_t written = ::write(pipeEnds[1], data, left);
      if (written <= 0) break;
      data += written;
      left -= static_cast<std::size_t>(written);
    }
    ::_exit(0);
  }
  ::close(pipeEnds[1]);
  std::string result;
  char buffer[4096];
  ssize_t got;
  while ((got = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0) result.append(buffer, static_cast<std::size_t>(got));
  ::close(pipeEnds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (WIFSIGNALED(status)) return "child killed by signal " + std::to_string(WTERMSIG(status));
  return result;
}

}  // namespace tolvaro::testing
