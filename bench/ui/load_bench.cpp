// Loading a roster file of many characters through the window (the load
// handler's part after the dialog, with the grid, the property grid and the
// memo bound and redrawn) beside the roster file routine alone (target: at
// most 2 times as long); and scrolling the grid of such a roster.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <memory>
#include <string>

#include "roster/pers_record.h"
#include "roster/pers_roster.h"
#include "rosterfile/roster_file.h"
#include "ui/pers_grid.h"
#include "ui/tolvaro_application.h"
#include "ui/ufMain.h"

namespace {

// A roster file as a save writes it, with the given number of characters.
std::string WriteRosterFile(const std::string& folder, int characters) {
  const std::string path = folder + "/roster" + std::to_string(characters) + ".sav";
  std::ofstream out(path, std::ios::binary);
  for (int i = 1; i <= characters; ++i) {
    out << "<R><F>RecId</F><V>" << i << "</V><F>Login</F><V>player" << i << "</V><F>Name</F><V>Hero " << i
        << "</V><F>S</F><V>" << (i % 5 + 1) << "</V><F>L</F><V>1</V><F>K</F><V>2</V><F>M</F><V>" << (100 + i % 900)
        << "</V><F>R</F><V>100</V><F>B</F><V>100</V><F>E</F><V>199</V><F>RE</F><V>40</V><F>C</F><V>0</V>"
        << "<F>D</F><V>First line\r\nsecond line</V></R>";
  }
  out << "\r\n";
  return path;
}

struct Files {
  QTemporaryDir folder;
  std::string Path(int characters) {
    return WriteRosterFile(folder.path().toStdString(), characters);
  }
};

Files& SharedFiles() {
  static Files files;
  return files;
}

void BM_LoadRoster_CoreAlone(benchmark::State& state) {
  const std::string file = SharedFiles().Path(static_cast<int>(state.range(0)));
  tolvaro::PersTable pers("mdPers");
  tolvaro::AddPersFields(pers);
  tolvaro::PersRoster roster(pers);
  for (auto _ : state) {
    tolvaro::SuppressRecalcScope quiet(roster);
    tolvaro::LoadRoster(pers, file);
    benchmark::DoNotOptimize(pers.RecordCount());
  }
  state.counters["characters"] = static_cast<double>(pers.RecordCount());
}

// Shows the window and waits until it is on screen; a benchmark that could
// not show it is skipped.
bool Shown(TfMain& window, benchmark::State& state) {
  window.show();
  if (QTest::qWaitForWindowExposed(&window)) return true;
  state.SkipWithError("the window did not show");
  return false;
}

void BM_LoadRoster_ThroughTheWindow(benchmark::State& state) {
  const std::string file = SharedFiles().Path(static_cast<int>(state.range(0)));
  TfMain window;
  if (!Shown(window, state)) return;
  const QString name = QString::fromStdString(file);
  for (auto _ : state) {
    tolvaro::SuppressRecalcScope quiet(window.Roster());
    window.LoadRosterFrom(name);
    // The bound controls redraw before the load counts as done.
    QCoreApplication::processEvents();
    benchmark::DoNotOptimize(window.Pers().RecordCount());
  }
  state.counters["characters"] = static_cast<double>(window.Pers().RecordCount());
}

// One page down the roster grid of a loaded roster, redrawn.
void BM_ScrollGrid_PageDown(benchmark::State& state) {
  const std::string file = SharedFiles().Path(static_cast<int>(state.range(0)));
  TfMain window;
  if (!Shown(window, state)) return;
  {
    tolvaro::SuppressRecalcScope quiet(window.Roster());
    window.LoadRosterFrom(QString::fromStdString(file));
  }
  auto* grid = window.findChild<PersGrid*>("grGen");
  QScrollBar* bar = grid->verticalScrollBar();
  QCoreApplication::processEvents();
  for (auto _ : state) {
    bar->setValue(bar->value() + bar->pageStep() > bar->maximum() ? 0 : bar->value() + bar->pageStep());
    grid->viewport()->repaint();
  }
}

}  // namespace

BENCHMARK(BM_ScrollGrid_PageDown)->Arg(100000)->Unit(benchmark::kMicrosecond);
// Long enough that the allocator is warm for both.
BENCHMARK(BM_LoadRoster_CoreAlone)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_LoadRoster_ThroughTheWindow)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond)->MinTime(2);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  TolvaroApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
