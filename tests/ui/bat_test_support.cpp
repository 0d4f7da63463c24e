#include "tests/ui/bat_test_support.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QTabBar>
#include <QtTest>

#include "roster/pers_table.h"
#include "tests/support/cp1251.h"
#include "ui/text_codec.h"

namespace tolvaro::testing {
namespace {

template <typename T>
T* Find(TfMain& window, const char* name) {
  T* found = window.findChild<T*>(QString::fromLatin1(name));
  if (found == nullptr) qFatal("no control %s", name);
  return found;
}

constexpr int kNameColumn = 1;

// The duel page's controls come with the window's first frame.
TfMain& WithBatPageBuilt(TfMain& window) {
  if (!QTest::qWaitFor([&] { return window.findChild<QWidget*>(QStringLiteral("mmBatRes")) != nullptr; })) {
    qFatal("the duel page was never built");
  }
  return window;
}

}  // namespace

WindowControls::WindowControls(TfMain& w)
    : window(WithBatPageBuilt(w)),
      pcMain(Find<QTabWidget>(w, "pcMain")),
      tsGen(Find<QWidget>(w, "tsGen")),
      tsBat(Find<QWidget>(w, "tsBat")),
      btNew(Find<QPushButton>(w, "btNew")),
      btDel(Find<QPushButton>(w, "btDel")),
      btSave(Find<QPushButton>(w, "btSave")),
      btLoad(Find<QPushButton>(w, "btLoad")),
      grGen(Find<PersGrid>(w, "grGen")),
      vgGen(Find<PersPropertyGrid>(w, "vgGen")),
      mmDescr(Find<FieldMemo>(w, "mmDescr")),
      grBatLeft(Find<PersGrid>(w, "grBatLeft")),
      grBatRight(Find<PersGrid>(w, "grBatRight")),
      cgBatOptLeft(Find<CheckGroup>(w, "cgBatOptLeft")),
      cgBatOptRight(Find<CheckGroup>(w, "cgBatOptRight")),
      seBatOptBonusLeft(Find<RangeSpinBox>(w, "seBatOptBonusLeft")),
      seBatOptAmountLeft(Find<RangeSpinBox>(w, "seBatOptAmountLeft")),
      seBatOptBonusRight(Find<RangeSpinBox>(w, "seBatOptBonusRight")),
      seBatOptAmountRight(Find<RangeSpinBox>(w, "seBatOptAmountRight")),
      mmBatRes(Find<ResultMemo>(w, "mmBatRes")),
      btBatRes(Find<QPushButton>(w, "btBatRes")),
      btPersPrint(Find<QPushButton>(w, "btPersPrint")) {}

void ShowPage(const WindowControls& controls, QWidget* page) {
  QTabBar* tabs = controls.pcMain->tabBar();
  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(controls.pcMain->indexOf(page)).center());
}

void Hover(QPushButton* button) {
  QTest::mouseMove(button->window(), QPoint(1, 1));
  QTest::mouseMove(button);
}

void Press(QPushButton* button) {
  Hover(button);
  QTest::mouseClick(button, Qt::LeftButton);
}

namespace {

TableField EditedField(TfMain& window, const char* field) {
  PersTable& pers = window.Pers();
  if (pers.State() == TableState::Browse) pers.Edit();
  return pers.FieldByName(field);
}

}  // namespace

void WriteField(TfMain& window, const char* field, const std::string& text) {
  EditedField(window, field).SetAsString(text);
}

void WriteField(TfMain& window, const char* field, int value) { EditedField(window, field).SetAsFloat(value); }

void AddCharacter(const WindowControls& controls, const Character& character) {
  Press(controls.btNew);
  TfMain& window = controls.window;
  WriteField(window, "Login", Cp1251(character.login));
  WriteField(window, "Name", Cp1251(character.name));
  const std::pair<const char*, int> values[] = {{"S", character.S}, {"L", character.L}, {"K", character.K},
                                                {"M", character.M}, {"R", character.R}, {"B", character.B}};
  for (const auto& [field, value] : values) WriteField(window, field, value);
  WriteField(window, "D", Cp1251(character.description));
}

void ChooseRow(PersGrid* grid, const QString& name) {
  const QAbstractItemModel* shown = grid->model();
  for (int row = 0; row < shown->rowCount(); ++row) {
    const QModelIndex cell = shown->index(row, kNameColumn);
    if (cell.data().toString() != name) continue;
    grid->scrollTo(cell);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
    return;
  }
  QFAIL(qPrintable(QStringLiteral("no row shows %1").arg(name)));
}

QStringList ShownNames(const PersGrid* grid) {
  QStringList names;
  const QAbstractItemModel* shown = grid->model();
  for (int row = 0; row < shown->rowCount(); ++row) names << shown->index(row, kNameColumn).data().toString();
  return names;
}

QString CurrentName(const PersGrid* grid) {
  const QModelIndex current = grid->currentIndex();
  return current.isValid() ? current.siblingAtColumn(kNameColumn).data().toString() : QString();
}

void SetOption(CheckGroup* group, int item, bool ticked) {
  QCheckBox* box = group->Item(item);
  if (box->isChecked() != ticked) QTest::mouseClick(box, Qt::LeftButton);
}

void TypeText(QWidget* widget, const QString& text) {
  for (const QChar character : text) {
    QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(character), Qt::NoModifier);
  }
}

void TypeEntry(RangeSpinBox* editor, const QString& text) {
  editor->setFocus(Qt::MouseFocusReason);
  QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
  if (text.isEmpty()) {
    QTest::keyClick(editor, Qt::Key_Delete);
  } else {
    TypeText(editor, text);
  }
}

std::string CrLfLines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += Cp1251(line) + "\r\n";
  return text;
}

std::string MemoBytes(const ResultMemo* memo) { return ToCp1251(memo->Text()); }

}  // namespace tolvaro::testing
