#include "roster/table_observer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "roster/error.h"
#include "roster/pers_record.h"
#include "roster/pers_roster.h"
#include "roster/pers_table.h"
#include "tests/roster/pers_table_helpers.h"

namespace tolvaro {
namespace {

using ::tolvaro::testing::PostLoaded;

// Keeps its own copy of a table's display rows, built from notifications only,
// the way a grid's item model does; after every notification it compares the
// copy with the table.
class MirrorObserver : public TableObserver {
 public:
  explicit MirrorObserver(const PersTable& table) : table_(table) { Reread(); }

  void TableReset() override {
    Reread();
    Record("reset");
  }
  void RowInserted(std::size_t row) override {
    if (row > rows_.size()) return Fault("RowInserted past the end", row);
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(row), table_.Row(row));
    Record("inserted", row);
  }
  void RowRemoved(std::size_t row) override {
    if (row >= rows_.size()) return Fault("RowRemoved past the end", row);
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
    Record("removed", row);
  }
  void RowChanged(std::size_t row) override {
    if (row >= rows_.size()) return Fault("RowChanged past the end", row);
    rows_[row] = table_.Row(row);
    Record("changed", row);
  }
  void FieldChanged(int field) override {
    if (!current_ || field < 0 || field >= table_.FieldCount()) return Fault("FieldChanged without a row", field);
    Record("field", static_cast<std::size_t>(field));
  }
  void CurrentChanged() override {
    current_ = table_.CurrentRow();
    Record("current");
  }

  // Between operations the mirror must equal the table in full.
  void ExpectInStep(const std::string& after) {
    ExpectRowsInStep(after);
    EXPECT_EQ(current_, table_.CurrentRow()) << "current row after " << after << "\n" << log_.str();
    EXPECT_EQ(open_, table_.IsOpen()) << after;
  }

  void ClearLog() { log_.str(""); }

 private:
  void Reread() {
    open_ = table_.IsOpen();
    rows_.clear();
    for (std::size_t row = 0; row < table_.RowCount(); ++row) rows_.push_back(table_.Row(row));
    current_ = table_.CurrentRow();
  }

  void Record(const char* what, std::optional<std::size_t> at = std::nullopt) {
    log_ << what;
    if (at) log_ << " " << *at;
    log_ << "\n";
    ExpectRowsInStep(what);
  }

  void ExpectRowsInStep(const std::string& after) {
    if (::testing::Test::HasFailure()) return;  // the first fault tells the story
    ASSERT_EQ(rows_.size(), table_.RowCount()) << "row count after " << after << "\n" << log_.str();
    for (std::size_t row = 0; row < rows_.size(); ++row) {
      ASSERT_EQ(rows_[row], table_.Row(row)) << "row " << row << " after " << after << "\n" << log_.str();
    }
  }

  void Fault(const char* what, std::size_t at) { ADD_FAILURE() << what << " " << at << "\n" << log_.str(); }

  const PersTable& table_;
  bool open_ = false;
  std::vector<PersRecord> rows_;
  std::optional<std::size_t> current_;
  std::ostringstream log_;
};

// One random step on the roster; a refused step is as good as any other.
struct Step {
  const char* name;
  std::function<void(PersTable&, PersRoster&, PersTable& other, std::mt19937&)> run;
};

std::int32_t AnyRecId(PersTable& table, std::mt19937& random) {
  if (table.RowCount() == 0) return 1;
  return table.Row(std::uniform_int_distribution<std::size_t>(0, table.RowCount() - 1)(random))[kRecId].number;
}

const std::vector<Step>& Steps() {
  static const std::vector<Step> steps = {
      {"First", [](PersTable& t, PersRoster&, PersTable&, std::mt19937&) { t.First(); }},
      {"Next", [](PersTable& t, PersRoster&, PersTable&, std::mt19937&) { t.Next(); }},
      {"Next", [](PersTable& t, PersRoster&, PersTable&, std::mt19937&) { t.Next(); }},
      {"Insert", [](PersTable& t, PersRoster&, PersTable&, std::mt19937&) { t.Insert(); }},
      {"Append", [](PersTable& t, PersRoster&, PersTable&, std::mt19937&) { t.Append(); }},
      {"Edit", [](PersTable& t, PersRoster&, PersTable&, std::mt19937&) { t.Edit(); }},
      {"Post", [](PersTable& t, PersRoster&, PersTable&, std::mt19937&) { t.Post(); }},
      {"Cancel", [](PersTable& t, PersRoster&, PersTable&, std::mt19937&) { t.Cancel(); }},
      {"Delete", [](PersTable& t, PersRoster&, PersTable&, std::mt19937&) { t.Delete(); }},
      {"NewPers", [](PersTable&, PersRoster& r, PersTable&, std::mt19937&) { r.NewPers(); }},
      {"NewPers", [](PersTable&, PersRoster& r, PersTable&, std::mt19937&) { r.NewPers(); }},
      {"DeletePers", [](PersTable&, PersRoster& r, PersTable&, std::mt19937&) { r.DeletePers(); }},
      {"write S",
       [](PersTable& t, PersRoster&, PersTable&, std::mt19937& g) {
         t.Field(kS).SetAsFloat(std::uniform_int_distribution<int>(1, 5)(g));
       }},
      {"write M as text",
       [](PersTable& t, PersRoster&, PersTable&, std::mt19937& g) {
         t.Field(kM).SetAsString(std::to_string(std::uniform_int_distribution<int>(0, 90)(g) * 10 + 100));
       }},
      {"clear M", [](PersTable& t, PersRoster&, PersTable&, std::mt19937&) { t.Field(kM).Clear(); }},
      {"write Name", [](PersTable& t, PersRoster&, PersTable&, std::mt19937&) { t.Field(kName).SetAsString("n"); }},
      {"write RecId",
       [](PersTable& t, PersRoster&, PersTable&, std::mt19937& g) { t.Field(kRecId).SetAsFloat(AnyRecId(t, g) + 1); }},
      {"choose a row", [](PersTable& t, PersRoster&, PersTable&, std::mt19937& g) { t.GoToRecId(AnyRecId(t, g)); }},
      {"Close", [](PersTable& t, PersRoster&, PersTable&, std::mt19937&) { t.Close(); }},
      {"Open", [](PersTable& t, PersRoster&, PersTable&, std::mt19937&) { t.Open(); }},
      {"copy into the other",
       [](PersTable& t, PersRoster&, PersTable& other, std::mt19937&) { other.CopyFrom(t); }},
      {"load-like under hold",
       [](PersTable& t, PersRoster& r, PersTable&, std::mt19937& g) {
         SuppressRecalcScope quiet(r);
         t.HoldNotifications();
         t.Close();
         t.Open();
         const int count = std::uniform_int_distribution<int>(0, 4)(g);
         for (int i = 0; i < count; ++i) PostLoaded(t, std::uniform_int_distribution<int>(0, 9)(g));
         t.ReleaseNotifications();
       }},
  };
  return steps;
}

class RandomSequenceTest : public ::testing::TestWithParam<unsigned> {};

TEST_P(RandomSequenceTest, MirrorFollowsTheTableFromNotificationsAlone) {
  PersTable pers("mdPers");
  AddPersFields(pers);
  PersRoster roster(pers);
  PersTable other("mdBat1");
  MirrorObserver mirror(pers);
  MirrorObserver otherMirror(other);
  pers.Attach(&mirror);
  other.Attach(&otherMirror);

  std::mt19937 random(GetParam());
  const std::vector<Step>& steps = Steps();
  std::string history;
  for (int i = 0; i < 600 && !::testing::Test::HasFatalFailure(); ++i) {
    const Step& step = steps[std::uniform_int_distribution<std::size_t>(0, steps.size() - 1)(random)];
    if (history.size() > 2000) history.erase(0, history.size() - 1500);  // the recent steps tell enough
    history += step.name;
    history += "; ";
    mirror.ClearLog();
    try {
      step.run(pers, roster, other, random);
    } catch (const Error&) {
      history += "(refused) ";
    }
    mirror.ExpectInStep(history);
    otherMirror.ExpectInStep("(other) " + history);

    // Invariants of the table itself. A pending change may show any RecId
    // that code wrote; the committed numbers are unique.
    if (pers.State() == TableState::Browse) {
      std::vector<std::int32_t> ids;
      for (std::size_t row = 0; row < pers.RowCount(); ++row) ids.push_back(pers.Row(row)[kRecId].number);
      std::sort(ids.begin(), ids.end());
      EXPECT_TRUE(std::adjacent_find(ids.begin(), ids.end()) == ids.end()) << "RecId used twice after " << history;
    }
    EXPECT_EQ(pers.RowCount(), pers.RecordCount() + (pers.State() == TableState::Insert ? 1 : 0));
    EXPECT_EQ(pers.CurrentRow().has_value(), pers.RowCount() > 0) << history;
    if (!pers.IsOpen()) {
      EXPECT_EQ(pers.RowCount(), 0u);
    }
    if (HasFailure()) break;
  }
  pers.Detach(&mirror);
  other.Detach(&otherMirror);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomSequenceTest, ::testing::Range(1u, 31u));

// What one operation tells a bound control, in order.
class RecordingObserver : public TableObserver {
 public:
  void TableReset() override { events.push_back("reset"); }
  void RowInserted(std::size_t row) override { events.push_back("inserted " + std::to_string(row)); }
  void RowRemoved(std::size_t row) override { events.push_back("removed " + std::to_string(row)); }
  void RowChanged(std::size_t row) override { events.push_back("changed " + std::to_string(row)); }
  void FieldChanged(int field) override { events.push_back("field " + std::to_string(field)); }
  void CurrentChanged() override { events.push_back("current"); }

  std::vector<std::string> Take() { return std::exchange(events, {}); }

  std::vector<std::string> events;
};

class NotificationTest : public ::testing::Test {
 protected:
  NotificationTest() {
    AddPersFields(table_);
    table_.Open();
    for (int i = 0; i < 3; ++i) PostLoaded(table_, std::nullopt);
    table_.GoToRecId(2);
    table_.Attach(&observer_);
  }
  ~NotificationTest() override { table_.Detach(&observer_); }

  using Events = std::vector<std::string>;
  PersTable table_{"mdPers"};
  RecordingObserver observer_;
};

TEST_F(NotificationTest, InsertWriteAndPostReportTheRowAtItsPlace) {
  table_.Insert();
  EXPECT_EQ(observer_.Take(), (Events{"inserted 1", "current"}));
  table_.Field(kS).SetAsFloat(2);
  EXPECT_EQ(observer_.Take(), (Events{"changed 1", "field 3"}));
  table_.Post();
  EXPECT_EQ(observer_.Take(), (Events{"changed 1", "current"}));
}

TEST_F(NotificationTest, CancelAndDeleteReportTheRemovedRow) {
  table_.Append();
  observer_.Take();
  table_.Cancel();
  EXPECT_EQ(observer_.Take(), (Events{"removed 3", "current"}));
  table_.First();
  observer_.Take();
  table_.Delete();
  EXPECT_EQ(observer_.Take(), (Events{"removed 0", "current"}));
}

TEST_F(NotificationTest, TheCursorRuleReportsBeforeTheMove) {
  table_.Insert();
  observer_.Take();
  table_.First();
  EXPECT_EQ(observer_.Take(), (Events{"removed 1", "current", "current"}));
}

TEST_F(NotificationTest, OpenAndCloseReset) {
  table_.Close();
  EXPECT_EQ(observer_.Take(), (Events{"reset"}));
  table_.Close();
  table_.Open();
  EXPECT_EQ(observer_.Take(), (Events{"reset"}));
}

TEST_F(NotificationTest, HeldBackWorkIsReportedOnceOnRelease) {
  table_.HoldNotifications();
  table_.HoldNotifications();
  table_.Append();
  table_.Field(kS).SetAsFloat(2);
  table_.Post();
  table_.ReleaseNotifications();
  EXPECT_TRUE(observer_.Take().empty());
  table_.ReleaseNotifications();
  EXPECT_EQ(observer_.Take(), (Events{"reset"}));
  table_.ReleaseNotifications();  // unbalanced: ignored
  table_.First();
  EXPECT_EQ(observer_.Take(), (Events{"current"}));
}

TEST_F(NotificationTest, ReleaseWithoutChangesSaysNothing) {
  table_.HoldNotifications();
  table_.ReleaseNotifications();
  EXPECT_TRUE(observer_.Take().empty());
}

// An observer may detach another one that has not heard the event yet; the
// detached one must hear nothing more.
TEST_F(NotificationTest, ADetachedObserverHearsNothingMore) {
  struct Detacher : TableObserver {
    PersTable* table = nullptr;
    TableObserver* victim = nullptr;
    void TableReset() override {}
    void RowInserted(std::size_t) override {}
    void RowRemoved(std::size_t) override {}
    void RowChanged(std::size_t) override {}
    void FieldChanged(int) override {}
    void CurrentChanged() override { table->Detach(victim); }
  };
  table_.Detach(&observer_);
  Detacher detacher;
  detacher.table = &table_;
  detacher.victim = &observer_;
  table_.Attach(&detacher);
  table_.Attach(&observer_);
  table_.First();
  EXPECT_TRUE(observer_.Take().empty());
  table_.Detach(&detacher);
}

}  // namespace
}  // namespace tolvaro
