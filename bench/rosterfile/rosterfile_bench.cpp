// Save and load of rosters of 1,000 to 100,000 characters, each beside its
// floor on the same file: for a load, reading the file into memory and
// finding every "<" once; for a save, writing the same bytes into an
// existing file and syncing it to the disk, as a save syncs its file. The literal reading of the format runs on
// 10,000 characters to show what a linear reader saves.

#include <fcntl.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>

#include "roster/pers_formulas.h"
#include "roster/pers_record.h"
#include "roster/pers_roster.h"
#include "rosterfile/file_access.h"
#include "rosterfile/roster_file.h"
#include "tests/rosterfile/literal_reader.h"

namespace tolvaro {
namespace {

// A folder for the benchmark's files, removed at exit.
class BenchFolder {
 public:
  BenchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tolvaro-rosterfile-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp");
    path_ = pattern;
  }
  ~BenchFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

BenchFolder& Folder() {
  static BenchFolder folder;
  return folder;
}

// A roster of count characters with values as players make them: logins and
// names, attributes and skills in the editors' ranges, derived values from
// the formulas and a 200-byte description with a line break.
std::unique_ptr<PersTable> MakeRoster(int count) {
  auto table = std::make_unique<PersTable>("mdPers");
  AddPersFields(*table);
  table->Open();
  std::mt19937 random(count);
  auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  const std::string words[] = {"\xD1\xE8\xEB\xE0", "\xEB\xEE\xE2\xEA\xEE\xF1\xF2\xFC", "forest", "sword",
                               "\xE3\xEE\xF0\xEE\xE4", "ranger", "\xF1\xF2\xF0\xE0\xE6", "old", "<b>", "north"};
  for (int i = 0; i < count; ++i) {
    PersStats stats{1 + below(5), 1 + below(5), 1 + below(5), 100 + 10 * below(91), 100 + 10 * below(91),
                    100 + 10 * below(91)};
    std::string description;
    while (description.size() < 200) description += words[below(10)] + (description.size() == 96 ? "\r\n" : " ");
    description.resize(200);
    PersRecord record(static_cast<std::size_t>(table->FieldCount()));
    auto text = [](std::string value) { return FieldValue{false, 0, std::move(value)}; };
    auto number = [](std::int32_t value) { return FieldValue{false, value, {}}; };
    record[kLogin] = text("player" + std::to_string(i));
    record[kName] = text("\xCF\xE5\xF0\xF1\xEE\xED\xE0\xE6 " + std::to_string(i));
    record[kS] = number(stats.S);
    record[kL] = number(stats.L);
    record[kK] = number(stats.K);
    record[kM] = number(stats.M);
    record[kR] = number(stats.R);
    record[kB] = number(stats.B);
    record[kE] = number(CalcE(stats));
    record[kRE] = number(CalcRE(stats));
    record[kC] = number(CalcC(stats));
    record[kD] = text(description);
    table->InsertRecord(std::move(record));
  }
  return table;
}

// The roster of count characters and its file, made once per size.
struct Fixture {
  std::unique_ptr<PersTable> table;
  std::string path;
  std::string bytes;
};

Fixture& FixtureFor(int count) {
  static std::map<int, Fixture> fixtures;
  Fixture& fixture = fixtures[count];
  if (!fixture.table) {
    fixture.table = MakeRoster(count);
    fixture.path = Folder().File("roster" + std::to_string(count) + ".sav");
    SaveRoster(*fixture.table, fixture.path);
    fixture.bytes = *rosterfile::ReadWholeFile(fixture.path);
  }
  return fixture;
}

void BM_Save(benchmark::State& state) {
  Fixture& fixture = FixtureFor(static_cast<int>(state.range(0)));
  const std::string path = Folder().File("save.sav");
  for (auto _ : state) SaveRoster(*fixture.table, path);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fixture.bytes.size()));
}

void BM_SaveFloor(benchmark::State& state) {
  Fixture& fixture = FixtureFor(static_cast<int>(state.range(0)));
  const std::string path = Folder().File("floor.sav");
  for (auto _ : state) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, fixture.bytes.data(), fixture.bytes.size()) != static_cast<ssize_t>(fixture.bytes.size()) ||
        ::fsync(fd) != 0 || ::close(fd) != 0) {
      state.SkipWithError("write failed");
      break;
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fixture.bytes.size()));
}

void BM_Load(benchmark::State& state) {
  Fixture& fixture = FixtureFor(static_cast<int>(state.range(0)));
  PersTable table("mdPers");
  AddPersFields(table);
  PersRoster roster(table);
  for (auto _ : state) {
    SuppressRecalcScope quiet(roster);
    LoadRoster(table, fixture.path);
  }
  if (table.RecordCount() != fixture.table->RecordCount()) state.SkipWithError("records lost");
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fixture.bytes.size()));
}

void BM_LoadFloor(benchmark::State& state) {
  Fixture& fixture = FixtureFor(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const std::string bytes = *rosterfile::ReadWholeFile(fixture.path);
    std::size_t found = 0;
    const char* const end = bytes.data() + bytes.size();
    for (const char* p = bytes.data(); (p = static_cast<const char*>(std::memchr(p, '<', end - p))) != nullptr; ++p) {
      ++found;
    }
    benchmark::DoNotOptimize(found);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fixture.bytes.size()));
}

void BM_LiteralLoad(benchmark::State& state) {
  Fixture& fixture = FixtureFor(static_cast<int>(state.range(0)));
  PersTable table("mdPers");
  AddPersFields(table);
  for (auto _ : state) {
    const std::string bytes = *rosterfile::ReadWholeFile(fixture.path);
    testing::LiteralLoadRosterText(table, bytes);
  }
  if (table.RecordCount() != fixture.table->RecordCount()) state.SkipWithError("records lost");
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(fixture.bytes.size()));
}

// One record of count pairs, the case in which the literal reading copies
// the rest of the record once per pair; the reader stays linear.
void BM_LoadOneLongRecord(benchmark::State& state) {
  std::string text = "<R>";
  for (std::int64_t i = 0; i < state.range(0); ++i) text += "<F>Name</F><V>" + std::to_string(i) + "</V>";
  text += "</R>";
  PersTable table("mdPers");
  AddPersFields(table);
  for (auto _ : state) LoadRosterText(table, text);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}

// Wall-clock time throughout: a save waits for the disk, and that wait is
// what its user waits for too.
BENCHMARK(BM_Save)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SaveFloor)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Load)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadFloor)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadOneLongRecord)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LiteralLoad)->Arg(10000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

}  // namespace
}  // namespace tolvaro
