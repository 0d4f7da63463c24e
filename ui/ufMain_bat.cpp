// The handlers of the duel page tsBat "Мочильня".

#include <QTabWidget>

#include "duel/duel_report.h"
#include "duel/duel_resolution.h"
#include "sheet/pers_sheet.h"
#include "ui/check_group.h"
#include "ui/range_spin_box.h"
#include "ui/result_memo.h"
#include "ui/ufMain.h"

namespace {

// One side of the duel as its panel's controls set it up; list is the side's
// duel list, whose current record is the character.
tolvaro::DuelSide DuelSideOf(const BatSidePanel& panel, tolvaro::PersTable& list) {
  const CheckGroup& options = *panel.cgBatOpt;
  return tolvaro::DuelSide{
      .List = list,
      .NoWeapon = options.IsChecked(kNoWeaponOption),
      .Disarm = options.IsChecked(kDisarmOption),
      .NoKill = options.IsChecked(kNoKillOption),
      .NoCripple = options.IsChecked(kNoCrippleOption),
      .Bonus = panel.seBatOptBonus->value(),
      .Amount = panel.seBatOptAmount->value(),
  };
}

}  // namespace

void TfMain::pcMainChange() {
  if (pcMain->currentWidget() != batPage.tsBat) return;
  EnsureBatPage();
  if (!mdPers.IsOpen()) return;
  // Each copy settles a pending roster change first and walks the roster to
  // its last record.
  mdBat1.CopyFrom(mdPers);
  mdBat2.CopyFrom(mdPers);
}

void TfMain::btBatResClick() {
  const tolvaro::DuelSide first = DuelSideOf(batPage.left, mdBat1);
  const tolvaro::DuelSide second = DuelSideOf(batPage.right, mdBat2);
  // A failure leaves the memo as it was; the draws it took stay used.
  const tolvaro::DuelOutcome outcome = tolvaro::ResolveDuel(first, second, random);
  const std::string name1 = mdBat1.FieldByName("Name").AsString();
  const std::string name2 = mdBat2.FieldByName("Name").AsString();
  batPage.mmBatRes->ShowLines(tolvaro::DuelReport(outcome, name1, name2));
}

void TfMain::btPersPrintClick() {
  // Emptied first: a list without the character fields leaves it empty.
  batPage.mmBatRes->clear();
  batPage.mmBatRes->ShowLines(tolvaro::PersSheetLines(mdBat1));
}
