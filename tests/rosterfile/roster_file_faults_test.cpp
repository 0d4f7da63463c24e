#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "roster/error.h"
#include "rosterfile/roster_file.h"
#include "tests/rosterfile/example_roster.h"
#include "tests/rosterfile/roster_test_support.h"
#include "tests/rosterfile/table_snapshot.h"

namespace tolvaro {
namespace {

using testing::AddExampleCharacters;
using testing::kExampleFile;
using testing::PersTableWithFields;
using testing::ReadFileBytes;
using testing::RunInChild;
using testing::Snapshot;
using testing::TempFolder;
using testing::WriteFileBytes;

constexpr const char* kOldContent = "old content that must survive";

// The message of the Error that work throws, or how it failed to throw one.
template <typename Work>
std::string MessageOf(Work&& work) {
  try {
    work();
  } catch (const Error& e) {
    return e.what();
  }
  return "no error";
}

// Turns this (child) process into the unprivileged user nobody, so that
// permission bits bind it; a process that is not root is bound already.
bool BecomeUnprivileged() {
  if (::geteuid() != 0) return true;
  return ::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0;
}

mode_t ModeOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return 0;
  return info.st_mode & 07777;
}

class SaveFault : public ::testing::Test {
 protected:
  void SetUp() override { AddExampleCharacters(table_); }

  std::string Target(const std::string& name = "roster.sav") const { return folder_.File(name); }
  std::string CannotCreate(const std::string& path, const std::string& reason) const {
    return "Cannot create file \"" + path + "\". " + reason;
  }

  PersTableWithFields table_;
  TempFolder folder_;
};

TEST_F(SaveFault, ReadOnlyFileIsNeverReplaced) {
  WriteFileBytes(Target(), kOldContent);
  ::chmod(Target().c_str(), 0444);
  EXPECT_EQ(MessageOf([&] { SaveRoster(table_, Target()); }), CannotCreate(Target(), "Permission denied"));
  EXPECT_EQ(ReadFileBytes(Target()), kOldContent);
  EXPECT_EQ(ModeOf(Target()), 0444u);
  EXPECT_EQ(folder_.Names(), std::vector<std::string>{"roster.sav"});
  // The walk has happened all the same.
  EXPECT_TRUE(table_.Eof());
  EXPECT_EQ(table_.CurrentRow(), 1u);
}

TEST_F(SaveFault, FolderOfThatName) {
  std::filesystem::create_directory(Target());
  EXPECT_EQ(MessageOf([&] { SaveRoster(table_, Target()); }), CannotCreate(Target(), "Is a directory"));
  EXPECT_TRUE(std::filesystem::is_directory(Target()));
  EXPECT_EQ(folder_.Names(), std::vector<std::string>{"roster.sav"});
}

TEST_F(SaveFault, MissingFolder) {
  const std::string path = Target("missing/roster.sav");
  EXPECT_EQ(MessageOf([&] { SaveRoster(table_, path); }), CannotCreate(path, "No such file or directory"));
  EXPECT_TRUE(folder_.Names().empty());
}

TEST_F(SaveFault, FileOnTheWay) {
  WriteFileBytes(Target("plain"), kOldContent);
  const std::string path = Target("plain/roster.sav");
  EXPECT_EQ(MessageOf([&] { SaveRoster(table_, path); }), CannotCreate(path, "Not a directory"));
  EXPECT_EQ(ReadFileBytes(Target("plain")), kOldContent);
}

TEST_F(SaveFault, RelativeNameIsShownAsFullPath) {
  WriteFileBytes(Target(), kOldContent);
  ::chmod(Target().c_str(), 0444);
  std::filesystem::create_directory(Target("sub"));
  const std::string message = RunInChild([&] {
    if (::chdir(folder_.Path().c_str()) != 0) return std::string("chdir");
    return MessageOf([&] { SaveRoster(table_, "./sub/../roster.sav"); });
  });
  EXPECT_EQ(message, CannotCreate(Target(), "Permission denied"));
}

// A user who may not write in the folder cannot save there, not even over a
// file that he could write.
TEST_F(SaveFault, FolderWithoutWritePermission) {
  WriteFileBytes(Target(), kOldContent);
  ::chmod(Target().c_str(), 0666);
  ::chmod(folder_.Path().c_str(), 0555);
  const std::string message = RunInChild([&] {
    if (!BecomeUnprivileged()) return std::string("cannot drop privileges");
    return MessageOf([&] { SaveRoster(table_, Target()); });
  });
  EXPECT_EQ(message, CannotCreate(Target(), "Permission denied"));
  EXPECT_EQ(ReadFileBytes(Target()), kOldContent);
  EXPECT_EQ(folder_.Names(), std::vector<std::string>{"roster.sav"});
}

// A file size limit makes the write fail for real after some bytes, or
// before the first one.
class SaveWriteFault : public SaveFault, public ::testing::WithParamInterface<rlim_t> {};

TEST_P(SaveWriteFault, KeepsTheOldFileAndLeavesNoTemporaryFile) {
  WriteFileBytes(Target(), std::string(5000, 'x'));
  ASSERT_LT(GetParam(), kExampleFile.size());
  const std::string message = RunInChild([&] {
    const rlimit limit{GetParam(), GetParam()};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return std::string("setrlimit");
    return MessageOf([&] { SaveRoster(table_, Target()); });
  });
  EXPECT_EQ(message, "Stream write error");
  EXPECT_EQ(ReadFileBytes(Target()), std::string(5000, 'x'));
  EXPECT_EQ(folder_.Names(), std::vector<std::string>{"roster.sav"});
}

INSTANTIATE_TEST_SUITE_P(Limits, SaveWriteFault, ::testing::Values(0, 100, 506));

TEST_F(SaveFault, WriteFaultOnANewFileLeavesNothing) {
  const std::string message = RunInChild([&] {
    const rlimit limit{100, 100};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) return std::string("setrlimit");
    return MessageOf([&] { SaveRoster(table_, Target()); });
  });
  EXPECT_EQ(message, "Stream write error");
  EXPECT_TRUE(folder_.Names().empty());
}

TEST_F(SaveFault, ReplacedFileKeepsItsPermissionBits) {
  for (mode_t mode : {0640, 0604, 0600, 0200}) {
    WriteFileBytes(Target(), kOldContent);
    ::chmod(Target().c_str(), mode);
    SaveRoster(table_, Target());
    EXPECT_EQ(ModeOf(Target()), mode);
    EXPECT_EQ(ReadFileBytes(Target()), kExampleFile);
  }
}

TEST_F(SaveFault, NewFileFollowsTheUmask) {
  const mode_t mask = ::umask(027);
  SaveRoster(table_, Target());
  ::umask(mask);
  EXPECT_EQ(ModeOf(Target()), 0640u);
}

TEST_F(SaveFault, SymbolicLinkIsFollowed) {
  WriteFileBytes(Target("real.sav"), kOldContent);
  std::filesystem::create_symlink("real.sav", Target("link.sav"));
  SaveRoster(table_, Target("link.sav"));
  EXPECT_TRUE(std::filesystem::is_symlink(Target("link.sav")));
  EXPECT_EQ(ReadFileBytes(Target("real.sav")), kExampleFile);
  EXPECT_EQ(folder_.Names(), (std::vector<std::string>{"link.sav", "real.sav"}));
}

// The file exists but this user may not read it: the roster stays as it
// was, a pending edit included.
TEST(LoadFault, UnreadableFileLeavesTheRosterAsItWas) {
  TempFolder folder;
  const std::string path = folder.File("secret.sav");
  WriteFileBytes(path, kExampleFile);
  ::chmod(path.c_str(), 0000);
  ::chmod(folder.Path().c_str(), 0755);

  PersTableWithFields table;
  AddExampleCharacters(table);
  table.Edit();
  table.FieldByName("Name").SetAsString("Edited");
  const std::string outcome = RunInChild([&] {
    if (!BecomeUnprivileged()) return std::string("cannot drop privileges");
    const auto before = Snapshot(table);
    std::string message = MessageOf([&] { LoadRoster(table, path); });
    return message + (Snapshot(table) == before ? " | roster kept" : " | roster changed");
  });
  EXPECT_EQ(outcome, "Cannot open file \"" + path + "\". Permission denied | roster kept");
}

}  // namespace
}  // namespace tolvaro
