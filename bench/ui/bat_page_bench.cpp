// Entering the duel page with a large roster: the refill of both lists and
// the reset of their grids, beside the two copies of the core alone.
//
//   ./build/release/bench/ui/bat_page_bench
//
// Headless (offscreen) unless QT_QPA_PLATFORM says otherwise.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTabWidget>
#include <memory>
#include <string>

#include "roster/pers_record.h"
#include "roster/pers_roster.h"
#include "roster/pers_table.h"
#include "ui/ufMain.h"

namespace {

constexpr int kCharacters = 100'000;

QApplication& Application() {
  static int argc = 1;
  static char name[] = "bat_page_bench";
  static char* argv[] = {name, nullptr};
  static std::unique_ptr<QApplication> app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QApplication>(argc, argv);
  }();
  return *app;
}

// Characters with names and varied skills, as "Новый" and edits leave them.
void FillRoster(tolvaro::PersRoster& roster, int count) {
  tolvaro::PersTable& pers = roster.Pers();
  pers.HoldNotifications();
  for (int i = 0; i < count; ++i) {
    roster.NewPers();
    pers.Edit();
    pers.Field(tolvaro::kLogin).SetAsString("player" + std::to_string(i));
    pers.Field(tolvaro::kName).SetAsString("character " + std::to_string(i));
    pers.Field(tolvaro::kM).SetAsFloat(100 + i % 900);
    pers.Field(tolvaro::kD).SetAsString("description of character " + std::to_string(i));
    pers.Post();
  }
  pers.ReleaseNotifications();
}

void BM_EnterDuelPage(benchmark::State& state) {
  Application();
  TfMain window;
  window.show();
  FillRoster(window.Roster(), kCharacters);
  auto* pages = window.findChild<QTabWidget*>("pcMain");
  QApplication::processEvents();
  for (auto _ : state) {
    state.PauseTiming();
    pages->setCurrentIndex(0);
    QApplication::processEvents();
    state.ResumeTiming();
    pages->setCurrentIndex(1);                               // two copies, two grid resets
    if (state.range(0) != 0) QApplication::processEvents();  // and the page laid out and drawn
  }
  state.SetLabel(state.range(0) != 0 ? "with drawing" : "handler");
  state.counters["listed"] = double(window.Bat1().RecordCount() + window.Bat2().RecordCount());
}
BENCHMARK(BM_EnterDuelPage)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_CoreCopiesAlone(benchmark::State& state) {
  tolvaro::PersTable pers("mdPers");
  tolvaro::AddPersFields(pers);
  tolvaro::PersRoster roster(pers);
  FillRoster(roster, kCharacters);
  tolvaro::PersTable bat1("mdBat1");
  tolvaro::PersTable bat2("mdBat2");
  for (auto _ : state) {
    bat1.CopyFrom(pers);
    bat2.CopyFrom(pers);
  }
  state.counters["listed"] = double(bat1.RecordCount() + bat2.RecordCount());
}
BENCHMARK(BM_CoreCopiesAlone)->Unit(benchmark::kMillisecond);

}  // namespace
