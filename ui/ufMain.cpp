#include "ui/ufMain.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include "roster/held_notifications.h"
#include "roster/pers_record.h"
#include "rosterfile/roster_file.h"
#include "ui/bat_page.h"
#include "ui/gen_page.h"
#include "ui/field_memo.h"
#include "ui/pers_grid.h"
#include "ui/pers_property_grid.h"
#include "ui/roster_file_dialog.h"
#include "ui/window_font.h"

namespace {

constexpr QSize kClientSize(984, 562);

tolvaro::PersTable& WithPersFields(tolvaro::PersTable& table) {
  tolvaro::AddPersFields(table);
  return table;
}


std::string FileNameForCore(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

TfMain::TfMain(QWidget* parent) : QMainWindow(parent), roster(WithPersFields(mdPers)) {
  setObjectName("fMain");
  setWindowTitle(QStringLiteral("Tolvaro"));
  setAccessibleName(windowTitle());
  const QScreen* screen = QGuiApplication::primaryScreen();
  setFont(WindowFont(screen));

  pcMain = new QTabWidget(this);
  pcMain->setObjectName("pcMain");
  pcMain->setTabPosition(QTabWidget::North);
  pcMain->setDocumentMode(false);
  setCentralWidget(pcMain);

  GenPage gen = BuildGenPage(mdPers, pcMain);
  pcMain->addTab(gen.page, QStringLiteral("Генератор"));
  batPage.tsBat = new QWidget(pcMain);
  batPage.tsBat->setObjectName("tsBat");
  pcMain->addTab(batPage.tsBat, QStringLiteral("Мочильня"));
  batPage.tsBat->setAccessibleName(QStringLiteral("Мочильня"));
  pcMain->setCurrentIndex(0);
  connect(pcMain, &QTabWidget::currentChanged, this, &TfMain::pcMainChange);

  connect(gen.btNew, &QPushButton::clicked, this, &TfMain::btNewClick);
  connect(gen.btDel, &QPushButton::clicked, this, &TfMain::btDelClick);
  connect(gen.btSave, &QPushButton::clicked, this, &TfMain::btSaveClick);
  connect(gen.btLoad, &QPushButton::clicked, this, &TfMain::btLoadClick);

  // Tab order: the page tabs, the buttons, the roster grid, the property
  // grid, the description memo.
  QWidget* order[] = {pcMain->tabBar(), gen.btNew, gen.btDel, gen.btSave, gen.btLoad,
                      gen.grGen, gen.vgGen, gen.mmDescr};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

  resize(kClientSize);
  if (screen != nullptr) {
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, kClientSize, screen->availableGeometry()));
  }
}

TfMain::~TfMain() {
  // The controls observe the tables: they go first.
  delete pcMain;
}

void TfMain::paintEvent(QPaintEvent* event) {
  QMainWindow::paintEvent(event);
  if (batPageScheduled) return;
  batPageScheduled = true;
  // Queued: runs once this frame is on the screen.
  QTimer::singleShot(0, this, &TfMain::EnsureBatPage);
}

void TfMain::EnsureBatPage() {
  if (batPage.mmBatRes != nullptr) return;  // built
  BuildBatPage(*this);
  // A page already on the screen shows its new controls now, before it is
  // next drawn, rather than a pass of the event loop later.
  if (batPage.tsBat->isVisible()) {
    for (QWidget* control : batPage.tsBat->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) control->show();
  }
}

RosterFileDialog& TfMain::FileDialog(RosterFileDialog*& dialog, QFileDialog::AcceptMode mode, const char* name) {
  if (dialog == nullptr) {
    dialog = new RosterFileDialog(mode, this);
    dialog->setObjectName(name);
  }
  return *dialog;
}

void TfMain::btNewClick() { roster.NewPers(); }

void TfMain::btDelClick() { roster.DeletePers(); }

void TfMain::btSaveClick() {
  const std::optional<QString> file = FileDialog(sdMain, QFileDialog::AcceptSave, "sdMain").Ask(ExecutableFolder());
  if (!file) return;
  tolvaro::SaveRoster(mdPers, FileNameForCore(*file));
}

void TfMain::btLoadClick() {
  tolvaro::SuppressRecalcScope quiet(roster);
  const std::optional<QString> file = FileDialog(odMain, QFileDialog::AcceptOpen, "odMain").Ask(ExecutableFolder());
  if (!file) return;
  LoadRosterFrom(*file);
}

void TfMain::LoadRosterFrom(const QString& file) {
  // A load replaces every record: the controls redraw once, at the end.
  tolvaro::HeldNotifications held(mdPers);
  tolvaro::LoadRoster(mdPers, FileNameForCore(file));
}
