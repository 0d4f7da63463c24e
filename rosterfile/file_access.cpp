#include "rosterfile/file_access.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <filesystem>
#include <random>
#include <system_error>

#include "roster/error.h"

namespace tolvaro::rosterfile {
namespace {

namespace fs = std::filesystem;

constexpr const char* kStreamWriteError = "Stream write error";
constexpr const char* kStreamReadError = "Stream read error";

[[noreturn]] void FailCreate(const std::string& fileName, int error) {
  throw Error("Cannot create file \"" + FullPath(fileName) + "\". " + SystemErrorText(error));
}

[[noreturn]] void FailOpen(const std::string& fileName, int error) {
  throw Error("Cannot open file \"" + FullPath(fileName) + "\". " + SystemErrorText(error));
}

// Owns a file descriptor; Close() reports the failure of close itself, which
// is where some file systems report a write that did not reach the disk.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int Get() const { return fd_; }
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    // The descriptor is gone even when close is interrupted; only a real
    // error counts.
    return ::close(fd) == 0 || errno == EINTR;
  }

 private:
  int fd_;
};

// While it lives, a write past the process's file size limit fails with
// EFBIG instead of ending the process: SIGXFSZ is blocked for this thread
// (the kernel sends it to the writing thread), and a signal that a write
// raised meanwhile is taken back before the thread's old mask returns.
class FileSizeSignalBlock {
 public:
  FileSizeSignalBlock() {
    sigemptyset(&signal_);
    sigaddset(&signal_, SIGXFSZ);
    pthread_sigmask(SIG_BLOCK, &signal_, &oldMask_);
    pendingBefore_ = IsPending();
  }
  ~FileSizeSignalBlock() {
    if (!pendingBefore_ && IsPending()) {
      const timespec noWait{};
      while (sigtimedwait(&signal_, nullptr, &noWait) < 0 && errno == EINTR) {
      }
    }
    pthread_sigmask(SIG_SETMASK, &oldMask_, nullptr);
  }
  FileSizeSignalBlock(const FileSizeSignalBlock&) = delete;
  FileSizeSignalBlock& operator=(const FileSizeSignalBlock&) = delete;

 private:
  static bool IsPending() {
    sigset_t pending;
    sigemptyset(&pending);
    sigpending(&pending);
    return sigismember(&pending, SIGXFSZ) == 1;
  }

  sigset_t signal_;
  sigset_t oldMask_;
  bool pendingBefore_ = false;
};

// Writes all of content; false with errno set when the system refuses.
bool WriteAll(int fd, std::string_view content) {
  FileSizeSignalBlock quiet;
  constexpr std::size_t kChunk = std::size_t{1} << 30;
  while (!content.empty()) {
    const ssize_t written = ::write(fd, content.data(), std::min(content.size(), kChunk));
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (written == 0) {
      errno = EIO;
      return false;
    }
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// A name beside the target that no one else uses: hidden, and short enough
// for the file system even when the target's own name is near the limit.
fs::path TemporaryName(const fs::path& folder, const fs::path& target, std::mt19937_64& random) {
  constexpr std::size_t kKeep = 200;
  std::string name = ".";
  name += target.filename().string().substr(0, kKeep);
  name += '.';
  constexpr const char* kDigits = "0123456789abcdef";
  std::uint64_t bits = random();
  for (int i = 0; i < 12; ++i, bits >>= 4) name += kDigits[bits & 15];
  name += ".tmp";
  return folder / name;
}

}  // namespace

std::string SystemErrorText(int error) {
  std::string text = std::generic_category().message(error);
  while (!text.empty() && (text.back() == '.' || text.back() == ' ' || text.back() == '\r' || text.back() == '\n')) {
    text.pop_back();
  }
  return text;
}

std::string FullPath(const std::string& fileName) {
  std::error_code error;
  const fs::path full = fs::absolute(fs::path(fileName), error);
  if (error) return fileName;
  return full.lexically_normal().string();
}

std::optional<std::string> ReadWholeFile(const std::string& fileName) {
  struct stat info {};
  if (::stat(fileName.c_str(), &info) == 0) {
    if (!S_ISREG(info.st_mode)) return std::nullopt;
  } else if (errno == ENOENT || errno == ENOTDIR) {
    return std::nullopt;
  }
  // Any other refusal of stat (a folder on the way that may not be searched,
  // a name too long) is reported by the open below.
  FileDescriptor file(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (file.Get() < 0) FailOpen(fileName, errno);
  if (::fstat(file.Get(), &info) != 0) throw Error(kStreamReadError);
  if (!S_ISREG(info.st_mode)) return std::nullopt;

  std::string content(static_cast<std::size_t>(std::max<off_t>(info.st_size, 0)) + 1, '\0');
  std::size_t size = 0;
  for (;;) {
    if (size == content.size()) content.resize(content.size() * 2);
    const ssize_t got = ::read(file.Get(), content.data() + size, content.size() - size);
    if (got < 0) {
      if (errno == EINTR) continue;
      throw Error(kStreamReadError);
    }
    if (got == 0) break;
    size += static_cast<std::size_t>(got);
  }
  content.resize(size);
  return content;
}

FileReplacement::FileReplacement(const std::string& fileName) : fileName_(fileName), target_(fileName) {
  struct stat info {};
  if (::lstat(fileName.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
    std::error_code error;
    const fs::path linked = fs::canonical(fs::path(fileName), error);
    if (!error) target_ = linked.string();
  }

  if (::stat(target_.c_str(), &info) == 0) {
    if (S_ISDIR(info.st_mode)) FailCreate(fileName_, EISDIR);
    if (!S_ISREG(info.st_mode)) FailCreate(fileName_, EPERM);
    // A file without any write bit is read-only even for a user (root) whom
    // the system would let write it; the rename below would not ask.
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) FailCreate(fileName_, EACCES);
    if (::faccessat(AT_FDCWD, target_.c_str(), W_OK, AT_EACCESS) != 0) FailCreate(fileName_, errno);
    replacing_ = true;
    oldMode_ = info.st_mode & 07777;
    oldOwner_ = info.st_uid;
    oldGroup_ = info.st_gid;
  } else if (errno != ENOENT) {
    FailCreate(fileName_, errno);
  }

  const fs::path target(target_);
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  folder_ = folder.string();
  std::mt19937_64 random(std::random_device{}() ^ static_cast<std::uint64_t>(::getpid()));
  for (int attempt = 0; fd_ < 0; ++attempt) {
    const fs::path name = TemporaryName(folder, target, random);
    fd_ = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
      temporary_ = name.string();
    } else if (errno != EEXIST || attempt == 100) {
      FailCreate(fileName_, errno);
    }
  }
}

FileReplacement::~FileReplacement() {
  if (fd_ >= 0) ::close(fd_);
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

void FileReplacement::Write(std::string_view bytes) {
  if (fd_ < 0 || !WriteAll(fd_, bytes)) throw Error(kStreamWriteError);
}

void FileReplacement::Commit() {
  if (fd_ < 0) throw Error(kStreamWriteError);
  FileDescriptor file(fd_);
  fd_ = -1;
  if (replacing_) {
    // The new file takes the old one's place, so it takes its owner and
    // permission bits too. Only a privileged user can give a file away; for
    // anyone else the file belongs to who saved it, as a new file would.
    if (oldOwner_ != ::geteuid() || oldGroup_ != ::getegid()) {
      [[maybe_unused]] const int ignored = ::fchown(file.Get(), oldOwner_, oldGroup_);
    }
    if (::fchmod(file.Get(), oldMode_) != 0) FailCreate(fileName_, errno);
  }
  if (::fsync(file.Get()) != 0) throw Error(kStreamWriteError);
  if (!file.Close()) throw Error(kStreamWriteError);

  if (::rename(temporary_.c_str(), target_.c_str()) != 0) FailCreate(fileName_, errno);
  temporary_.clear();

  // Make the rename itself durable. A file system that cannot sync a folder
  // says so with EINVAL; that is no failure of the save.
  FileDescriptor directory(::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory.Get() >= 0 && ::fsync(directory.Get()) != 0 && errno != EINVAL) {
    throw Error(kStreamWriteError);
  }
}

void ReplaceFileContent(const std::string& fileName, std::string_view content) {
  FileReplacement file(fileName);
  file.Write(content);
  file.Commit();
}

}  // namespace tolvaro::rosterfile
