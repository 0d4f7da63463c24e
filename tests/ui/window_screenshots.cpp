// Renders the main window at its start size, one picture per page, into the
// folder given as the only argument: first as it starts, then with three
// characters in the roster, and with an editor of the property grid open. For review of the layout, not a test.

#include <QDir>
#include <QPixmap>
#include <QTabWidget>
#include <QTest>
#include <cstdio>

#include "roster/pers_record.h"
#include "ui/pers_property_grid.h"
#include "ui/tolvaro_application.h"
#include "ui/ufMain.h"

namespace {

bool GrabPages(TfMain& window, const QDir& folder, const QString& suffix) {
  auto* pages = window.findChild<QTabWidget*>("pcMain");
  for (int page = 0; page < pages->count(); ++page) {
    pages->setCurrentIndex(page);
    QTest::qWait(100);
    const QString file = folder.filePath(QStringLiteral("%1-%2.png").arg(pages->widget(page)->objectName(), suffix));
    if (!window.grab().save(file)) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
      return false;
    }
    std::printf("%s\n", qPrintable(file));
  }
  pages->setCurrentIndex(0);
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  TolvaroApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  if (!QDir().mkpath(folder.path())) return 1;

  TfMain window;
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return 1;
  if (!GrabPages(window, folder, QStringLiteral("start"))) return 1;

  for (int i = 0; i < 3; ++i) window.btNewClick();
  tolvaro::PersTable& pers = window.Pers();
  pers.Edit();
  pers.Field(tolvaro::kLogin).SetAsString("player1");
  pers.Field(tolvaro::kName).SetAsString("Hero");
  pers.Field(tolvaro::kD).SetAsString("First line\r\nsecond line");
  pers.Post();
  if (!GrabPages(window, folder, QStringLiteral("filled"))) return 1;

  // An in-place spin editor of the property grid, open.
  auto* grid = window.findChild<PersPropertyGrid*>("vgGen");
  grid->setFocus();
  grid->setCurrentIndex(grid->RecordModel()->IndexOfField(tolvaro::kM));
  QTest::qWait(100);
  const QString file = folder.filePath(QStringLiteral("tsGen-editing.png"));
  if (!window.grab().save(file)) return 1;
  std::printf("%s\n", qPrintable(file));
  return 0;
}
