#pragma once

#include <QPushButton>
#include <QString>
#include <QTabWidget>
#include <initializer_list>
#include <string>

#include "ui/check_group.h"
#include "ui/field_memo.h"
#include "ui/pers_property_grid.h"
#include "ui/range_spin_box.h"
#include "ui/pers_grid.h"
#include "ui/result_memo.h"
#include "ui/ufMain.h"

namespace tolvaro::testing {

// The controls of a window that the tests drive, found by their objectNames.
struct WindowControls {
  explicit WindowControls(TfMain& window);

  TfMain& window;
  QTabWidget* pcMain;
  QWidget* tsGen;
  QWidget* tsBat;
  QPushButton* btNew;
  QPushButton* btDel;
  QPushButton* btSave;
  QPushButton* btLoad;
  PersGrid* grGen;
  PersPropertyGrid* vgGen;
  FieldMemo* mmDescr;
  PersGrid* grBatLeft;
  PersGrid* grBatRight;
  CheckGroup* cgBatOptLeft;
  CheckGroup* cgBatOptRight;
  RangeSpinBox* seBatOptBonusLeft;
  RangeSpinBox* seBatOptAmountLeft;
  RangeSpinBox* seBatOptBonusRight;
  RangeSpinBox* seBatOptAmountRight;
  ResultMemo* mmBatRes;
  QPushButton* btBatRes;
  QPushButton* btPersPrint;
};

// A character as the user enters it on the generator page; readable text.
struct Character {
  const char* login = "";
  const char* name = "";
  int S = 1;
  int L = 1;
  int K = 1;
  int M = 100;
  int R = 100;
  int B = 100;
  const char* description = "";
};

// Shows a page by clicking its tab.
void ShowPage(const WindowControls& controls, QWidget* page);

// The pointer comes onto the button from elsewhere in its window (the hover
// rule gives the button the focus).
void Hover(QPushButton* button);

// Hover, then a click.
void Press(QPushButton* button);

// Writes one value into the current roster record as a finished entry of the
// generator page's property grid or description memo does: the record enters
// its edit state by itself and stays in it.
void WriteField(TfMain& window, const char* field, const std::string& text);
void WriteField(TfMain& window, const char* field, int value);

// "Новый" on the generator page, then the character's values entered.
void AddCharacter(const WindowControls& controls, const Character& character);

// Clicks the row of a list grid whose "Персонаж" cell shows name.
void ChooseRow(PersGrid* grid, const QString& name);

// The "Персонаж" cells of a grid, top to bottom, and the one of its current row.
QStringList ShownNames(const PersGrid* grid);
QString CurrentName(const PersGrid* grid);

// Ticks or clears an option item by clicking it.
void SetOption(CheckGroup* group, int item, bool ticked);

// Types text key by key into the widget with the focus-holding widget's
// events, any letters included.
void TypeText(QWidget* widget, const QString& text);

// Selects the editor's whole entry and types text over it; the entry is not
// finished yet.
void TypeEntry(RangeSpinBox* editor, const QString& text);

// The Windows-1251 bytes of readable lines each followed by CR LF.
std::string CrLfLines(std::initializer_list<const char*> lines);

// The memo's text as Windows-1251 bytes.
std::string MemoBytes(const ResultMemo* memo);

}  // namespace tolvaro::testing
