#pragma once

#include <QPushButton>

#include "roster/pers_table.h"

class PersGrid;
class QGroupBox;
class QSplitter;
class QWidget;

// The controls of the page tsGen "Генератор" that the window wires up.
struct GenPage {
  QWidget* page = nullptr;
  QGroupBox* gbGenBot = nullptr;
  QPushButton* btNew = nullptr;
  QPushButton* btDel = nullptr;
  QPushButton* btSave = nullptr;
  QPushButton* btLoad = nullptr;
  QGroupBox* gbPers = nullptr;
  QWidget* vgGen = nullptr;
  QGroupBox* gbPersDescr = nullptr;
  QWidget* mmDescr = nullptr;
  QSplitter* spMain = nullptr;
  PersGrid* grGen = nullptr;
};

// Builds the page over the roster pers: the layout, captions and bindings.
// The buttons' handlers are the window's to connect.
GenPage BuildGenPage(tolvaro::PersTable& pers, QWidget* parent);
