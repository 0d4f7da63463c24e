#include <benchmark/benchmark.h>

#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "roster/pers_record.h"
#include "roster/pers_roster.h"
#include "roster/pers_table.h"

namespace tolvaro {
namespace {

// Fills a roster as a load of a large file would: every field written, with
// values from the editors' ranges and a 200-byte description.
void FillRealistic(PersTable& pers, PersRoster& roster, std::int64_t count) {
  std::mt19937 random(42);
  std::uniform_int_distribution<int> attribute(1, 5);
  std::uniform_int_distribution<int> skill(10, 100);
  const std::string description(200, 'd');
  SuppressRecalcScope quiet(roster);
  pers.Close();
  pers.Open();
  for (std::int64_t i = 0; i < count; ++i) {
    pers.Append();
    pers.Field(kRecId).SetAsFloat(static_cast<double>(i + 1));
    pers.Field(kLogin).SetAsString("player" + std::to_string(i));
    pers.Field(kName).SetAsString("character" + std::to_string(i));
    for (PersField field : {kS, kL, kK}) pers.Field(field).SetAsFloat(attribute(random));
    for (PersField field : {kM, kR, kB}) pers.Field(field).SetAsFloat(skill(random) * 10);
    pers.Field(kE).SetAsFloat(1000);
    pers.Field(kRE).SetAsFloat(200);
    pers.Field(kC).SetAsFloat(3000);
    pers.Field(kD).SetAsString(description);
    pers.Post();
  }
}

// "Новый" pressed n times on a fresh roster: every record goes in at the front.
void BM_NewPersAtTheFront(benchmark::State& state) {
  for (auto _ : state) {
    PersTable pers("mdPers");
    AddPersFields(pers);
    PersRoster roster(pers);
    for (std::int64_t i = 0; i < state.range(0); ++i) roster.NewPers();
    benchmark::DoNotOptimize(pers.RecordCount());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_NewPersAtTheFront)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// A load-like fill: Append, thirteen writes, Post.
void BM_FillByAppend(benchmark::State& state) {
  PersTable pers("mdPers");
  AddPersFields(pers);
  PersRoster roster(pers);
  for (auto _ : state) {
    FillRealistic(pers, roster, state.range(0));
    benchmark::DoNotOptimize(pers.RecordCount());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FillByAppend)->Arg(100000)->Unit(benchmark::kMillisecond);

// The refill of a duel list from a large roster.
void BM_CopyFrom(benchmark::State& state) {
  PersTable pers("mdPers");
  AddPersFields(pers);
  PersRoster roster(pers);
  FillRealistic(pers, roster, state.range(0));
  PersTable bat("mdBat1");
  for (auto _ : state) {
    bat.CopyFrom(pers);
    benchmark::DoNotOptimize(bat.RecordCount());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CopyFrom)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

// A walk from the first record to past the last, as a save does.
void BM_WalkFirstNext(benchmark::State& state) {
  PersTable pers("mdPers");
  AddPersFields(pers);
  PersRoster roster(pers);
  FillRealistic(pers, roster, state.range(0));
  for (auto _ : state) {
    std::int64_t seen = 0;
    for (pers.First(); !pers.Eof(); pers.Next()) ++seen;
    benchmark::DoNotOptimize(seen);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WalkFirstNext)->Arg(100000)->Unit(benchmark::kMillisecond);

// New characters after a file brought the largest RecId there is: each needs
// a search for a free number.
void BM_NewPersAfterTheLargestRecId(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    PersTable pers("mdPers");
    AddPersFields(pers);
    PersRoster roster(pers);
    {
      SuppressRecalcScope quiet(roster);
      pers.Open();
      pers.Append();
      pers.Field(kRecId).SetAsFloat(std::numeric_limits<std::int32_t>::max());
      pers.Field(kS).SetAsFloat(1);
      pers.Post();
    }
    state.ResumeTiming();
    for (std::int64_t i = 0; i < state.range(0); ++i) roster.NewPers();
    benchmark::DoNotOptimize(pers.RecordCount());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_NewPersAfterTheLargestRecId)->Arg(100000)->Unit(benchmark::kMillisecond);

// Inserting in the middle may cost O(n) per record; shown for scale.
void BM_NewPersInTheMiddle(benchmark::State& state) {
  for (auto _ : state) {
    PersTable pers("mdPers");
    AddPersFields(pers);
    PersRoster roster(pers);
    roster.NewPers();
    roster.NewPers();
    for (std::int64_t i = 0; i < state.range(0); ++i) {
      roster.NewPers();
      // Every other insert the cursor moves down one, so the inserts stay in
      // the middle of the table.
      if (i % 2 == 0) pers.Next();
    }
    benchmark::DoNotOptimize(pers.RecordCount());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_NewPersInTheMiddle)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tolvaro
