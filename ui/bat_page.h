#pragma once

class CheckGroup;
class RangeSpinBox;
class PanelBox;
class PersGrid;
class QLabel;
class QPushButton;
class QWidget;
class ResultMemo;
class TfMain;

// The items of each side's option group, in their order.
enum BatOption { kNoWeaponOption, kDisarmOption, kNoKillOption, kNoCrippleOption, kBatOptionCount };

// One character's panel of the duel page: its list and the inputs of its side.
struct BatSidePanel {
  PanelBox* gbBat = nullptr;
  PersGrid* grBat = nullptr;
  PanelBox* gbBatOpt = nullptr;
  CheckGroup* cgBatOpt = nullptr;
  QLabel* lbBatOpt1 = nullptr;
  RangeSpinBox* seBatOptBonus = nullptr;
  QLabel* lbBatOpt2 = nullptr;
  RangeSpinBox* seBatOptAmount = nullptr;
};

// The controls of the page tsBat "Мочильня".
struct BatPage {
  QWidget* tsBat = nullptr;
  BatSidePanel left;   // gbBatLeft over mdBat1
  BatSidePanel right;  // gbBatRiht over mdBat2
  PanelBox* grBatRes = nullptr;
  ResultMemo* mmBatRes = nullptr;
  PanelBox* gbBatCon = nullptr;
  QPushButton* btBatRes = nullptr;
  QPushButton* btPersPrint = nullptr;
};

// Builds the controls of the window's page tsBat over its duel lists: layout,
// captions, bindings and the Tab order from the page tabs on. Keeps the
// controls in the window for its handlers and wires the two buttons to them.
// REQUIRES: the page exists and has no controls yet.
void BuildBatPage(TfMain& window);
