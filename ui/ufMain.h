#pragma once

#include <QFileDialog>
#include <QMainWindow>

#include "duel/duel_random.h"
#include "roster/pers_roster.h"
#include "roster/pers_table.h"
#include "ui/bat_page.h"

class QTabWidget;
class RosterFileDialog;
struct GenPage;

// The main window fMain. It owns, for the whole run, the roster mdPers with
// its rules (PersRoster, which holds SuppressRecalc) and the duel lists
// mdBat1 and mdBat2, and it wires the controls of its two pages to them.
// Failures of its handlers are not caught here: the application shows them.
class TfMain : public QMainWindow {
  Q_OBJECT

 public:
  explicit TfMain(QWidget* parent = nullptr);
  ~TfMain() override;

  tolvaro::PersTable& Pers() { return mdPers; }
  tolvaro::PersTable& Bat1() { return mdBat1; }
  tolvaro::PersTable& Bat2() { return mdBat2; }
  tolvaro::PersRoster& Roster() { return roster; }

  // Generator page handlers.
  void btNewClick();
  void btDelClick();
  void btSaveClick();
  void btLoadClick();

  // The part of "Загрузить" after the dialog: replaces the roster with the
  // file's records, the bound controls redrawn once at the end. The caller
  // raises SuppressRecalc.
  void LoadRosterFrom(const QString& file);

  // Duel page handlers.
  void pcMainChange();
  void btBatResClick();
  void btPersPrintClick();

 private:
  friend void BuildBatPage(TfMain& window);

  void paintEvent(QPaintEvent* event) override;
  // The duel page is hidden at start: its controls are built once, right
  // after the window's first frame (so the window shows sooner), or at once
  // should the page be shown before that.
  void EnsureBatPage();

  tolvaro::PersTable mdPers{"mdPers"};
  tolvaro::PersTable mdBat1{"mdBat1"};
  tolvaro::PersTable mdBat2{"mdBat2"};
  tolvaro::PersRoster roster;

  QTabWidget* pcMain;
  // Made when first shown (a file dialog is costly to build), then kept for
  // the run so that each offers again the name last chosen in it.
  RosterFileDialog& FileDialog(RosterFileDialog*& dialog, QFileDialog::AcceptMode mode, const char* name);
  RosterFileDialog* odMain = nullptr;
  RosterFileDialog* sdMain = nullptr;
  BatPage batPage;
  bool batPageScheduled = false;
  tolvaro::DuelRandom random;  // the duel's one random source for the whole run
};
