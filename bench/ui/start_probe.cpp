// Started by ui_start_bench: shows its window (the tool's, an empty
// QMainWindow, or one with a line of text), writes the monotonic clock's
// nanoseconds at the moment the window's first frame is done, and ends.
// The window system's expose is handled by painting and flushing the whole
// window at once, so the wait for it returns with the first frame drawn.

#include <QMainWindow>
#include <QTest>
#include <cstdio>
#include <ctime>

#ifdef TOLVARO_PROBE_MAIN_WINDOW
#include "ui/tolvaro_application.h"
#include "ui/ufMain.h"
using Application = TolvaroApplication;
using Window = TfMain;
#else
#include <QApplication>
#include <QLabel>
using Application = QApplication;
using Window = QMainWindow;
#endif

int main(int argc, char* argv[]) {
  Application app(argc, argv);
  Window window;
#ifdef MINIMAL_PROBE_WITH_TEXT
  // Any window with text pays for the font database once.
  window.setCentralWidget(new QLabel(QStringLiteral("Tolvaro")));
#endif
  window.resize(984, 562);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return 1;
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
  return 0;
}
