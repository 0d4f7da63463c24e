// Renders the duel page at the window's start size, as it starts and with
// three characters in its lists, into PNG files in the folder given (default:
// the current folder). For looking at the page against its layout; run it
// under Xvfb for the desktop's own fonts, or headless.

#include <QDir>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "roster/pers_record.h"
#include "tests/support/cp1251.h"
#include "tests/ui/ui_test_support.h"
#include "ui/tolvaro_application.h"
#include "ui/ufMain.h"

namespace {

void Grab(QWidget* page, const QString& file) {
  page->grab().save(file);
  qInfo("%s: %dx%d", qPrintable(file), page->width(), page->height());
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  TolvaroApplication app(argc, argv);
  const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
  TfMain window;
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) return 1;
  auto* pages = window.findChild<QTabWidget*>("pcMain");
  QWidget* tsBat = window.findChild<QWidget*>("tsBat");

  pages->setCurrentWidget(tsBat);
  QTest::qWait(50);
  Grab(tsBat, out.filePath("tsBat_start.png"));

  pages->setCurrentIndex(0);
  const char* names[] = {"Страж", "Наёмник", "Эльза"};
  for (const char* name : names) {
    window.btNewClick();
    window.Pers().Edit();
    window.Pers().FieldByName("Login").SetAsString(tolvaro::testing::Cp1251("игрок"));
    window.Pers().FieldByName("Name").SetAsString(tolvaro::testing::Cp1251(name));
    window.Pers().Post();
  }
  pages->setCurrentWidget(tsBat);
  window.findChild<QPushButton*>("btBatRes")->click();
  QTest::qWait(50);
  Grab(tsBat, out.filePath("tsBat_three.png"));
  return 0;
}
