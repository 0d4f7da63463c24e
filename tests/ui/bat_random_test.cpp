// Seeded random user actions on the real window, with invariants checked
// after every action: every failure reached the failure box and no other
// box showed, RecIds are unique in every table, every roster record's derived
// values follow the formulas, the duel lists equal the roster after each
// refill and stay as they are between refills, the duel page's controls hold
// what the user entered (corrected), and the result memo holds exactly what
// the last button or the user's typing left there. The generator page's
// property grid and description memo are driven as a user drives them, and
// each finished entry must have left in its record what the editor showed:
// a number corrected into its range, text in the code page cut at the
// field's size.
//
// TOLVARO_RANDOM_STEPS sets the number of actions (a short run by default)
// and TOLVARO_RANDOM_SEED the seed. A run longer than five minutes needs Qt
// Test's watchdog moved too, e.g. QTEST_FUNCTION_TIMEOUT=7200000 (ms).

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <sstream>

#include "duel/duel_report.h"
#include "duel/duel_resolution.h"
#include "roster/error.h"
#include "roster/pers_formulas.h"
#include "roster/pers_record.h"
#include "sheet/memo_text.h"
#include "sheet/pers_sheet.h"
#include "tests/ui/bat_test_support.h"
#include "tests/ui/ui_test_support.h"
#include "ui/grid_headers.h"
#include "ui/text_codec.h"
#include "ui/tolvaro_application.h"

using namespace tolvaro::testing;
using tolvaro::PersRecord;
using tolvaro::PersTable;

namespace {

constexpr int kDefaultSteps = 5000;
constexpr unsigned kDefaultSeed = 20240611;
constexpr std::size_t kRosterSoftLimit = 40;  // above it, deleting is likelier than adding

// The whole-number rows of the property grid, as the user meets them.
struct SpinRow {
  int field;
  int minimum;
  int maximum;
  int step;       // arrow keys
  int largeStep;  // Page Up, Page Down
};
constexpr SpinRow kSpinRows[] = {
    {tolvaro::kS, 1, 5, 1, 1},         {tolvaro::kL, 1, 5, 1, 1},         {tolvaro::kK, 1, 5, 1, 1},
    {tolvaro::kM, 100, 1000, 10, 100}, {tolvaro::kR, 100, 1000, 10, 100}, {tolvaro::kB, 100, 1000, 10, 100},
};

int EnvInt(const char* name, int fallback) {
  bool ok = false;
  const int value = qEnvironmentVariableIntValue(name, &ok);
  return ok ? value : fallback;
}

// Answers whatever the window opens during one action, from a zero-interval
// timer that also runs inside the nested loops of modal windows: a message box
// is recorded and closed, a file dialog chooses the planned file or is
// cancelled, a header's value list chooses one of its entries.
class ModalResponder : public QObject {
 public:
  explicit ModalResponder(std::mt19937& random) : random_(random) {
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &ModalResponder::Answer);
    timer_.start();
  }

  QStringList boxes;
  int dialogs = 0;
  int menus = 0;
  std::optional<QString> fileAnswer;  // none cancels

 private:
  void Answer() {
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      ++menus;
      QList<QAction*> choices;
      for (QAction* action : menu->actions()) {
        if (!action->isSeparator() && action->isEnabled()) choices << action;
      }
      if (choices.isEmpty()) {
        menu->close();
        return;
      }
      menu->setActiveAction(choices[int(random_() % choices.size())]);
      QTest::keyClick(menu, Qt::Key_Return);
      return;
    }
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || !modal->isVisible()) return;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      boxes << box->text();
      box->done(QMessageBox::Ok);
    } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
      ++dialogs;
      if (fileAnswer) {
        dialog->selectFile(*fileAnswer);
        static_cast<QDialog*>(dialog)->accept();  // the file dialog's own checks run
      }
      if (dialog->isVisible()) dialog->reject();
    } else {
      modal->close();
    }
  }

  std::mt19937& random_;
  QTimer timer_;
};

// What the duel page's controls should hold, kept apart from the widgets.
struct SideModel {
  bool options[kBatOptionCount] = {};
  int bonus = 0;
  int amount = 1;
};

// The committed records of a table without their RecIds, in order.
std::vector<PersRecord> RecordsWithoutRecId(const PersTable& table) {
  std::vector<PersRecord> records;
  for (std::size_t row = 0; row < table.RowCount(); ++row) {
    PersRecord record = table.Row(row);
    record.erase(record.begin());
    records.push_back(std::move(record));
  }
  return records;
}

std::int32_t Stat(const PersRecord& record, int field) {
  return record[std::size_t(field)].isNull ? 0 : record[std::size_t(field)].number;
}

tolvaro::FieldValue NumberValue(int number) { return {.isNull = false, .number = number, .text = {}}; }
tolvaro::FieldValue TextValue(std::string text) { return {.isNull = false, .number = 0, .text = std::move(text)}; }

// A field's value as a report shows it.
std::string Described(const tolvaro::FieldValue& value, bool text) {
  if (value.isNull) return "(none)";
  return text ? "\"" + FromCp1251(value.text).toStdString() + "\"" : std::to_string(value.number);
}

}  // namespace

class BatRandomTest : public QObject {
  Q_OBJECT

 private:
  std::mt19937 random_;
  std::unique_ptr<QTemporaryDir> folder_;
  std::unique_ptr<TfMain> window_;
  std::unique_ptr<WindowControls> c_;
  std::unique_ptr<ModalResponder> responder_;

  SideModel sides_[2];
  std::string memo_;                               // expected memo bytes
  std::optional<std::vector<PersRecord>> copied_;  // the roster at the last refill
  tolvaro::DuelRandom duelRandom_;                 // walks in step with the window's
  QStringList expectedBoxes_;
  std::string entryViolation_;  // what the last finished entry left wrongly
  bool refilled_ = false;
  std::map<QString, int> actionCounts_;

  int Pick(int count) { return int(random_() % unsigned(count)); }
  bool Chance(int percent) { return Pick(100) < percent; }

  std::string RandomText(int maxLength, bool lineBreaks) {
    static const QString pool =
        QStringLiteral("abcxyzABC0123456789 ,.-[]абвгдеёжзийклмнопрстуфхцчшщъыьэюяАБВЁЖЯ\u00a0№");
    QString text;
    const int length = Pick(maxLength + 1);
    for (int i = 0; i < length; ++i) {
      if (lineBreaks && Chance(8)) {
        text += QStringLiteral("\r\n");
      } else {
        text += pool[Pick(int(pool.size()))];
      }
    }
    return ToCp1251(text);
  }

  CheckGroup* Group(int side) const { return side == 0 ? c_->cgBatOptLeft : c_->cgBatOptRight; }
  RangeSpinBox* Bonus(int side) const { return side == 0 ? c_->seBatOptBonusLeft : c_->seBatOptBonusRight; }
  RangeSpinBox* Amount(int side) const { return side == 0 ? c_->seBatOptAmountLeft : c_->seBatOptAmountRight; }
  PersGrid* List(int side) const { return side == 0 ? c_->grBatLeft : c_->grBatRight; }

  // The action of the current step, for the report of a violation.
  QString action_;

  void Count(const QString& action) {
    ++actionCounts_[action];
    action_ = action;
  }

  // ---- actions on either page ----------------------------------------------

  void ChangePage() {
    QTabBar* tabs = c_->pcMain->tabBar();
    const int other = 1 - c_->pcMain->currentIndex();
    if (Chance(70)) {
      Count("page by click");
      QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(other).center());
    } else {
      Count("page by keys");
      tabs->setFocus(Qt::TabFocusReason);
      QTest::keyClick(tabs, other == 1 ? Qt::Key_Right : Qt::Key_Left);
    }
  }

  void ChooseRandomRow(PersGrid* grid) {
    const int rows = grid->model()->rowCount();
    if (rows == 0) return;
    const QModelIndex cell = grid->model()->index(Pick(rows), 1);
    grid->scrollTo(cell);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(cell).center());
  }

  void ClickHeader(PersGrid* grid) {
    auto* header = static_cast<FilterHeaderView*>(grid->horizontalHeader());
    QList<int> shown;
    for (int column = 0; column < header->count(); ++column) {
      if (!header->isSectionHidden(column) && header->sectionViewportPosition(column) >= 0 &&
          header->sectionViewportPosition(column) + 20 < header->width()) {
        shown << column;
      }
    }
    if (shown.isEmpty()) return;
    const int column = shown[Pick(int(shown.size()))];
    if (Chance(40)) {
      Count("header filter");
      QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, header->DropDownRect(column).center());
    } else {
      Count("header sort");
      QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                        QPoint(header->sectionViewportPosition(column) + 4, header->height() / 2));
    }
  }

  // ---- the generator page ----------------------------------------------------

  void SaveRoster() {
    const char* names[] = {"one.sav", "two.sav", "three"};
    responder_->fileAnswer.reset();
    if (!Chance(15)) responder_->fileAnswer = folder_->filePath(QString::fromLatin1(names[Pick(3)]));
    Press(c_->btSave);
  }

  void LoadRoster() {
    const QStringList files = QDir(folder_->path()).entryList({QStringLiteral("*.sav")}, QDir::Files);
    responder_->fileAnswer.reset();
    if (!files.isEmpty() && !Chance(15)) responder_->fileAnswer = folder_->filePath(files[Pick(int(files.size()))]);
    Press(c_->btLoad);
  }

  // Text as the user types it: Cyrillic, the markup's brackets, and letters
  // Windows-1251 lacks (one of them outside the Basic Multilingual Plane).
  QString RandomTyping(int maxLength) {
    static const QList<uint> pool =
        QStringLiteral("abcxyzABC0123456789 ,.-[]<>/абвгдеёжзийклмнопрстуфхцчшщъыьэюяАБВЁЖЯ\u00a0№€ÄΩ中😀").toUcs4();
    QString text;
    for (int length = Pick(maxLength + 1); length > 0; --length) {
      const char32_t letter = pool[Pick(int(pool.size()))];
      text += QString::fromUcs4(&letter, 1);
    }
    return text;
  }

  // The record an entry started on, found again after the entry is finished
  // (choosing another row of the roster grid finishes it too).
  struct EditedRecord {
    std::int32_t recId;
    tolvaro::FieldValue before;
  };

  EditedRecord StartOfEntry(int field) {
    PersTable& pers = window_->Pers();
    return {pers.Field(tolvaro::kRecId).Value().number, pers.Field(field).Value()};
  }

  const PersRecord* RecordWithRecId(std::int32_t recId) const {
    const PersTable& pers = window_->Pers();
    for (std::size_t row = 0; row < pers.RowCount(); ++row) {
      const tolvaro::FieldValue& id = pers.Row(row)[tolvaro::kRecId];
      if (!id.isNull && id.number == recId) return &pers.Row(row);
    }
    return nullptr;
  }

  // Records what the finished entry left in its record against what it
  // should have left.
  void CheckEntry(const EditedRecord& edited, int field, const tolvaro::FieldValue& expected, bool text) {
    QCoreApplication::processEvents();  // Enter finishes once the key has been handled
    const PersRecord* record = RecordWithRecId(edited.recId);
    if (record == nullptr) {
      entryViolation_ += "the edited record is gone; ";
      return;
    }
    const tolvaro::FieldValue& stored = (*record)[std::size_t(field)];
    if (stored != expected) {
      entryViolation_ += std::string(tolvaro::PersFieldName(tolvaro::PersField(field))) + " holds " +
                         Described(stored, text) + ", the entry showed " + Described(expected, text) + " (before " +
                         Described(edited.before, text) + "); ";
    }
  }

  // Opens the editor of a field's row as a user does: a click on the value,
  // a click into the editor already open there, or F2 on the row that is
  // current already (a click there would wait for a double click).
  QWidget* OpenFieldEditor(int field) {
    PersPropertyGrid* grid = c_->vgGen;
    const QModelIndex index = grid->RecordModel()->IndexOfField(field);
    if (QWidget* open = grid->indexWidget(index)) {
      QTest::mouseClick(open, Qt::LeftButton);
      return open;
    }
    if (grid->currentIndex() == index) {
      grid->setFocus(Qt::MouseFocusReason);
      KeyIntoFocus(Qt::Key_F2);
      return grid->indexWidget(index);
    }
    return OpenPropertyEditor(grid, field);
  }

  // Moves the focus away from an entry of the generator page in one of the
  // ways that finish it.
  void LeaveEntry(int field, bool enterFinishes) {
    QPushButton* buttons[] = {c_->btNew, c_->btDel, c_->btSave, c_->btLoad};
    const int how = Pick(enterFinishes ? 5 : 4);
    switch (how) {
      case 0:
        action_ += QStringLiteral(", finished by Tab");
        KeyIntoFocus(Qt::Key_Tab);
        break;
      case 1:
        action_ += QStringLiteral(", finished by the pointer on a button");
        Hover(buttons[Pick(4)]);
        break;
      case 2: {
        int other = field;
        while (other == field) other = Pick(2) == 0 ? tolvaro::kLogin + Pick(2) : kSpinRows[Pick(6)].field;
        action_ += QStringLiteral(", finished by the row of %1").arg(tolvaro::PersFieldName(tolvaro::PersField(other)));
        OpenFieldEditor(other);
        break;
      }
      case 3:
        if (c_->grGen->model()->rowCount() > 0) {
          action_ += QStringLiteral(", finished by a roster row");
          ChooseRandomRow(c_->grGen);
        } else if (field != tolvaro::kD) {
          action_ += QStringLiteral(", finished by a click into the description");
          QTest::mouseClick(c_->mmDescr->viewport(), Qt::LeftButton);
        } else {
          action_ += QStringLiteral(", finished by Tab");
          KeyIntoFocus(Qt::Key_Tab);
        }
        break;
      default:
        action_ += QStringLiteral(", finished by Enter");
        KeyIntoFocus(Qt::Key_Return);
        break;
    }
  }

  void EditText(int field) {
    auto* editor = qobject_cast<QLineEdit*>(OpenFieldEditor(field));
    if (editor == nullptr) {
      entryViolation_ += "no text editor opened; ";
      return;
    }
    const EditedRecord edited = StartOfEntry(field);
    switch (Pick(3)) {
      case 0:
        KeyIntoFocus(Qt::Key_A, Qt::ControlModifier);
        break;
      case 1:
        KeyIntoFocus(Qt::Key_End);
        break;
      default:
        for (int keys = Pick(4); keys >= 0; --keys) KeyIntoFocus(Qt::Key_Backspace);
        break;
    }
    const QString typed = RandomTyping(Chance(10) ? 70 : 12);
    action_ += QStringLiteral(" \"%1\"").arg(typed);
    TypeIntoFocus(typed);
    // What the editor shows now is what the record is to hold, in the code
    // page and cut at the field's size; untouched, the record keeps its text.
    tolvaro::FieldValue expected = edited.before;
    if (editor->isModified()) {
      const int size = field == tolvaro::kLogin ? tolvaro::kLoginSize : tolvaro::kNameSize;
      expected = TextValue(ToCp1251(editor->text()).substr(0, std::size_t(size)));
    }
    LeaveEntry(field, true);
    CheckEntry(edited, field, expected, true);
  }

  // The value a spin entry corrects to, or none when it is given up (emptied,
  // a lone sign) and the record keeps its value.
  static std::optional<int> CorrectedPropertyEntry(const QString& entry, int minimum, int maximum) {
    const QString digits = entry.trimmed().remove(QRegularExpression(QStringLiteral("^[+-]")));
    if (digits.isEmpty()) return std::nullopt;
    return CorrectedEntry(entry, minimum, maximum);
  }

  void EditNumber(const SpinRow& row) {
    auto* editor = qobject_cast<RangeSpinBox*>(OpenFieldEditor(row.field));
    if (editor == nullptr) {
      entryViolation_ += "no spin editor opened; ";
      return;
    }
    const EditedRecord edited = StartOfEntry(row.field);
    tolvaro::FieldValue expected = edited.before;
    if (Chance(60)) {
      const QString typed = RandomEntry(row.minimum, row.maximum);
      action_ += QStringLiteral(" typed \"%1\"").arg(typed);
      const QString shown = editor->text();
      TypeEntry(editor, typed);
      if (const std::optional<int> value =
              CorrectedPropertyEntry(AcceptedKeystrokes(shown, typed), row.minimum, row.maximum)) {
        expected = NumberValue(*value);
      }
    } else {
      const Qt::Key keys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown};
      // A stored value beyond the range (or none) is brought into it by the
      // first key, without a step.
      bool inRange = !expected.isNull && expected.number >= row.minimum && expected.number <= row.maximum;
      for (int presses = 1 + Pick(4); presses > 0; --presses) {
        const Qt::Key key = keys[Pick(4)];
        action_ += QStringLiteral(" %1").arg(QKeySequence(key).toString());
        KeyIntoFocus(key);
        const int step = (key == Qt::Key_PageUp || key == Qt::Key_PageDown) ? row.largeStep : row.step;
        const int sign = (key == Qt::Key_Up || key == Qt::Key_PageUp) ? 1 : -1;
        const int from = expected.isNull ? row.minimum : expected.number;
        expected = NumberValue(std::clamp(inRange ? from + sign * step : from, row.minimum, row.maximum));
        inRange = true;
      }
    }
    LeaveEntry(row.field, true);
    CheckEntry(edited, row.field, expected, false);
  }

  // Types lines into the description memo, then leaves it.
  void EditDescription() {
    FieldMemo* memo = c_->mmDescr;
    const QRect area = memo->viewport()->rect();
    QTest::mouseClick(memo->viewport(), Qt::LeftButton, {},
                      QPoint(Pick(area.width()), Pick(qMax(1, area.height() / 3))));
    const EditedRecord edited = StartOfEntry(tolvaro::kD);
    bool changed = false;
    const QMetaObject::Connection watch =
        connect(memo, &QPlainTextEdit::textChanged, this, [&changed] { changed = true; });
    for (int keys = 1 + Pick(8); keys > 0; --keys) {
      const int roll = Pick(10);
      if (roll < 2) {
        KeyIntoFocus(Qt::Key_Return);
      } else if (roll == 2) {
        KeyIntoFocus(Qt::Key_Backspace);
      } else if (roll == 3) {
        KeyIntoFocus(Qt::Key_Delete);
      } else {
        TypeIntoFocus(RandomTyping(Chance(5) ? 200 : 8));
      }
    }
    disconnect(watch);
    // Lines are stored with CR LF, in the code page, cut at the field's size.
    tolvaro::FieldValue expected = edited.before;
    if (changed) {
      QString text = memo->toPlainText();
      text.replace(u'\n', QStringLiteral("\r\n"));
      expected = TextValue(ToCp1251(text).substr(0, std::size_t(tolvaro::kDescrSize)));
    }
    LeaveEntry(tolvaro::kD, false);
    CheckEntry(edited, tolvaro::kD, expected, true);
  }

  // A finished entry of the property grid or the description memo.
  void EditCurrentCharacter() {
    PersTable& pers = window_->Pers();
    if (!pers.IsOpen() || pers.RecordCount() == 0) return;
    const int roll = Pick(10);
    if (roll < 3) {
      const int field = Chance(50) ? tolvaro::kLogin : tolvaro::kName;
      Count(field == tolvaro::kLogin ? "login entry" : "name entry");
      EditText(field);
    } else if (roll < 5) {
      Count("description entry");
      EditDescription();
    } else {
      const SpinRow& row = kSpinRows[Pick(6)];
      Count(row.minimum == 1 ? "attribute entry" : "skill entry");
      action_ += QStringLiteral(" of %1").arg(tolvaro::PersFieldName(tolvaro::PersField(row.field)));
      EditNumber(row);
    }
  }

  void GeneratorAction() {
    const std::size_t records = window_->Pers().RecordCount();
    const int roll = Pick(100);
    if (roll < (records > kRosterSoftLimit ? 4 : 14)) {
      Count("new");
      Press(c_->btNew);
    } else if (roll < 22) {
      Count("delete");
      Press(c_->btDel);
    } else if (roll < 27) {
      Count("save");
      SaveRoster();
    } else if (roll < 31) {
      Count("load");
      LoadRoster();
    } else if (roll < 65) {
      EditCurrentCharacter();
    } else if (roll < 73) {
      Count("roster row");
      ChooseRandomRow(c_->grGen);
    } else if (roll < 77) {
      ClickHeader(c_->grGen);
    } else if (roll < 86) {
      Count("hover");
      QPushButton* buttons[] = {c_->btNew, c_->btDel, c_->btSave, c_->btLoad};
      Hover(buttons[Pick(4)]);
    } else {
      ChangePage();
    }
  }

  // ---- the duel page ---------------------------------------------------------

  // The entry as the editor keeps it keystroke by keystroke: its whole text
  // selected at first, then only a sign and digits taken, blanks around them
  // allowed (TypeEntry).
  static QString AcceptedKeystrokes(const QString& shown, const QString& typed) {
    static const QRegularExpression pattern(QStringLiteral("^[+-]?[0-9]*$"));
    if (typed.isEmpty()) return QString();  // deleted
    QString text = shown;
    bool selected = true;
    for (const QChar character : typed) {
      const QString candidate = selected ? QString(character) : text + character;
      if (!pattern.match(candidate.trimmed()).hasMatch()) continue;
      text = candidate;
      selected = false;
    }
    return text;
  }

  // The corrected value of a finished entry.
  static int CorrectedEntry(const QString& entry, int minimum, int maximum) {
    const QString text = entry.trimmed();
    const QStringView digits = QStringView(text).mid(text.startsWith(u'-') || text.startsWith(u'+') ? 1 : 0);
    if (digits.isEmpty()) return std::clamp(0, minimum, maximum);
    const bool negative = text.startsWith(u'-');
    if (digits.size() > 12) return negative ? minimum : maximum;
    const qlonglong value = digits.toLongLong() * (negative ? -1 : 1);
    return int(std::clamp<qlonglong>(value, minimum, maximum));
  }

  QString RandomEntry(int minimum, int maximum) {
    switch (Pick(6)) {
      case 0:
        return QString();
      case 1:
        return QStringLiteral("-");
      case 2:
        return QString::number(minimum + Pick(maximum - minimum + 1));
      case 3:
        return QString::number(Pick(2001) - 1000);
      case 4:
        return QStringLiteral("99999999999999999999");
      default: {
        const QString pool = QStringLiteral("0123456789-+ax ,");
        QString text;
        for (int i = Pick(6); i >= 0; --i) text += pool[Pick(int(pool.size()))];
        return text;
      }
    }
  }

  void FinishEntry(RangeSpinBox* editor) {
    const int how = Pick(4);
    action_ += QStringLiteral(", finished by %1").arg(how);
    switch (how) {
      case 0:
        QTest::keyClick(editor, Qt::Key_Return);
        break;
      case 1:
        QTest::keyClick(editor, Qt::Key_Tab);
        break;
      case 2:
        Hover(Chance(50) ? c_->btBatRes : c_->btPersPrint);
        break;
      default:
        QTest::mouseClick(c_->mmBatRes->viewport(), Qt::LeftButton);
        break;
    }
  }

  void SpinEntry(int side) {
    const bool bonus = Chance(50);
    RangeSpinBox* editor = bonus ? Bonus(side) : Amount(side);
    int& model = bonus ? sides_[side].bonus : sides_[side].amount;
    if (Chance(70)) {
      Count("spin typing");
      const QString typed = RandomEntry(editor->minimum(), editor->maximum());
      action_ += QStringLiteral(" \"%1\" into %2").arg(typed, editor->objectName());
      const QString shown = editor->text();
      TypeEntry(editor, typed);
      model = CorrectedEntry(AcceptedKeystrokes(shown, typed), editor->minimum(), editor->maximum());
    } else {
      Count("spin keys");
      editor->setFocus(Qt::TabFocusReason);
      const Qt::Key keys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown};
      for (int presses = 1 + Pick(3); presses > 0; --presses) {
        const Qt::Key key = keys[Pick(4)];
        QTest::keyClick(editor, key);
        const int step = (key == Qt::Key_PageUp || key == Qt::Key_PageDown) ? editor->LargeStep() : 1;
        const int sign = (key == Qt::Key_Up || key == Qt::Key_PageUp) ? 1 : -1;
        model = std::clamp(model + sign * step, editor->minimum(), editor->maximum());
      }
    }
    FinishEntry(editor);
  }

  void TickOption(int side) {
    const int item = Pick(kBatOptionCount);
    if (Chance(70)) {
      Count("option click");
      QTest::mouseClick(Group(side)->Item(item), Qt::LeftButton);
    } else {
      Count("option key");
      Group(side)->Item(item)->setFocus(Qt::TabFocusReason);
      QTest::keyClick(Group(side)->Item(item), Qt::Key_Space);
    }
    sides_[side].options[item] = !sides_[side].options[item];
  }

  tolvaro::DuelSide ExpectedSide(int side) {
    const SideModel& model = sides_[side];
    return tolvaro::DuelSide{.List = side == 0 ? window_->Bat1() : window_->Bat2(),
                             .NoWeapon = model.options[kNoWeaponOption],
                             .Disarm = model.options[kDisarmOption],
                             .NoKill = model.options[kNoKillOption],
                             .NoCripple = model.options[kNoCrippleOption],
                             .Bonus = model.bonus,
                             .Amount = model.amount};
  }

  void PressDuel() {
    Press(c_->btBatRes);
    try {
      const tolvaro::DuelOutcome outcome = tolvaro::ResolveDuel(ExpectedSide(0), ExpectedSide(1), duelRandom_);
      memo_ = tolvaro::MemoText(tolvaro::DuelReport(outcome, window_->Bat1().FieldByName("Name").AsString(),
                                                    window_->Bat2().FieldByName("Name").AsString()));
      Count("duel");
    } catch (const tolvaro::Error& failure) {
      expectedBoxes_ << FailureText(failure.what());
      Count("failed duel");
    }
  }

  void PressSheet() {
    Press(c_->btPersPrint);
    memo_.clear();
    try {
      memo_ = tolvaro::MemoText(tolvaro::PersSheetLines(window_->Bat1()));
      Count("sheet");
    } catch (const tolvaro::Error& failure) {
      expectedBoxes_ << FailureText(failure.what());
      Count("failed sheet");
    }
  }

  void TypeIntoResult() {
    Count("result memo typing");
    ResultMemo* memo = c_->mmBatRes;
    memo->setFocus(Qt::MouseFocusReason);
    QTextCursor cursor = memo->textCursor();
    cursor.setPosition(Pick(int(memo->document()->characterCount())));
    memo->setTextCursor(cursor);
    for (int keys = 1 + Pick(8); keys > 0; --keys) {
      const int roll = Pick(10);
      if (roll == 0) {
        QTest::keyClick(memo, Qt::Key_Return);
      } else if (roll == 1) {
        QTest::keyClick(memo, Qt::Key_Backspace);
      } else if (roll == 2) {
        QTest::keyClick(memo, Qt::Key_Delete);
      } else {
        TypeText(memo, FromCp1251(RandomText(3, false)));
      }
    }
    memo_ = MemoBytes(memo);
  }

  void DuelPageAction() {
    const int roll = Pick(100);
    const int side = Pick(2);
    if (roll < 15) {
      Count("list row");
      ChooseRandomRow(List(side));
    } else if (roll < 18) {
      ClickHeader(List(side));
    } else if (roll < 32) {
      TickOption(side);
    } else if (roll < 52) {
      SpinEntry(side);
    } else if (roll < 67) {
      PressDuel();
    } else if (roll < 75) {
      PressSheet();
    } else if (roll < 81) {
      TypeIntoResult();
    } else if (roll < 85) {
      Count("hover");
      Hover(Chance(50) ? c_->btBatRes : c_->btPersPrint);
    } else {
      ChangePage();
    }
  }

  // ---- invariants --------------------------------------------------------------

  static std::string UniqueRecIds(const PersTable& table) {
    std::set<std::int32_t> seen;
    for (std::size_t row = 0; row < table.RowCount(); ++row) {
      const tolvaro::FieldValue& recId = table.Row(row).at(0);
      if (recId.isNull) continue;
      if (!seen.insert(recId.number).second) return table.Name() + ": RecId " + std::to_string(recId.number) + " twice";
    }
    return {};
  }

  std::string Violation() {
    std::ostringstream out;
    out << entryViolation_;
    if (QApplication::activeModalWidget() != nullptr || QApplication::activePopupWidget() != nullptr) {
      out << "a window is still open; ";
    }
    if (responder_->boxes != expectedBoxes_) {
      out << "boxes [" << responder_->boxes.join(" | ").toStdString() << "] expected ["
          << expectedBoxes_.join(" | ").toStdString() << "]; ";
    }
    PersTable& pers = window_->Pers();
    for (const PersTable* table : {&pers, &window_->Bat1(), &window_->Bat2()}) out << UniqueRecIds(*table);
    for (std::size_t row = 0; row < pers.RowCount(); ++row) {
      const PersRecord& record = pers.Row(row);
      const tolvaro::PersStats stats{Stat(record, tolvaro::kS), Stat(record, tolvaro::kL), Stat(record, tolvaro::kK),
                                     Stat(record, tolvaro::kM), Stat(record, tolvaro::kR), Stat(record, tolvaro::kB)};
      if (Stat(record, tolvaro::kE) != tolvaro::CalcE(stats) || Stat(record, tolvaro::kRE) != tolvaro::CalcRE(stats)) {
        out << "row " << row << " of the roster has efficiencies off the formulas; ";
      }
      std::optional<std::int32_t> cost;
      try {
        cost = tolvaro::CalcC(stats);
      } catch (const tolvaro::Error&) {
        // a skill below its floor: the cost cannot be computed
      }
      if (cost && Stat(record, tolvaro::kC) != *cost)
        out << "row " << row << " of the roster has a cost off the formula; ";
    }
    if (refilled_) {
      copied_ = RecordsWithoutRecId(pers);
      if (pers.RecordCount() > 0 && pers.CurrentRow() != std::optional<std::size_t>(pers.RecordCount() - 1)) {
        out << "the roster's current record is not its last after a refill; ";
      }
      for (const PersTable* list : {&window_->Bat1(), &window_->Bat2()}) {
        if (list->RecordCount() > 0 && list->CurrentRow() != std::optional<std::size_t>(list->RecordCount() - 1)) {
          out << list->Name() << "'s current record is not its last after a refill; ";
        }
      }
    }
    for (PersTable* list : {&window_->Bat1(), &window_->Bat2()}) {
      if (!copied_) {
        if (list->FindField("Login")) out << list->Name() << " has fields before any refill; ";
      } else if (list->State() != tolvaro::TableState::Browse || RecordsWithoutRecId(*list) != *copied_) {
        out << list->Name() << " differs from the roster at the last refill; ";
      }
    }
    if (MemoBytes(c_->mmBatRes) != memo_) out << "the memo holds other text than expected; ";
    for (int side = 0; side < 2; ++side) {
      for (int item = 0; item < kBatOptionCount; ++item) {
        if (Group(side)->IsChecked(item) != sides_[side].options[item])
          out << "option " << item << " of side " << side << "; ";
      }
      if (Bonus(side)->value() != sides_[side].bonus) {
        out << "bonus of side " << side << " is " << Bonus(side)->value() << ", expected " << sides_[side].bonus
            << "; ";
      }
      if (Amount(side)->value() != sides_[side].amount) {
        out << "opponents of side " << side << " is " << Amount(side)->value() << ", expected " << sides_[side].amount
            << "; ";
      }
    }
    return out.str();
  }

 private slots:
  void randomUserActionsKeepTheInvariants() {
    const int steps = EnvInt("TOLVARO_RANDOM_STEPS", kDefaultSteps);
    const unsigned seed = unsigned(EnvInt("TOLVARO_RANDOM_SEED", int(kDefaultSeed)));
    qInfo("seed %u, %d actions", seed, steps);
    random_.seed(seed);
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
    window_ = std::make_unique<TfMain>();
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    c_ = std::make_unique<WindowControls>(*window_);
    responder_ = std::make_unique<ModalResponder>(random_);
    // After the window's own handler: a refill has happened when this runs.
    connect(c_->pcMain, &QTabWidget::currentChanged, this, [this](int index) {
      if (c_->pcMain->widget(index) == c_->tsBat && window_->Pers().IsOpen()) refilled_ = true;
    });

    QElapsedTimer clock;
    clock.start();
    for (int step = 1; step <= steps; ++step) {
      responder_->boxes.clear();
      expectedBoxes_.clear();
      refilled_ = false;
      entryViolation_.clear();
      action_.clear();
      // The headless platform does not hand the activation back to the
      // window when a modal window closes, as a desktop does.
      if (QApplication::activeWindow() != window_.get()) {
        window_->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), window_.get());
      }
      // Every failure of the window's handlers goes to the failure box; one
      // that reaches this far went past it.
      std::string escaped;
      try {
        if (c_->pcMain->currentWidget() == c_->tsBat) {
          DuelPageAction();
        } else {
          GeneratorAction();
        }
      } catch (const std::exception& failure) {
        escaped = failure.what();
      }
      QVERIFY2(escaped.empty(), qPrintable(QStringLiteral("seed %1, action %2 (%3): failure outside the box: %4")
                                               .arg(seed)
                                               .arg(step)
                                               .arg(action_, FromCp1251(escaped))));
      const std::string violation = Violation();
      QVERIFY2(violation.empty(), qPrintable(QStringLiteral("seed %1, action %2 (%3): %4")
                                                 .arg(seed)
                                                 .arg(step)
                                                 .arg(action_, QString::fromStdString(violation))));
    }
    QStringList counts;
    for (const auto& [action, count] : actionCounts_) counts << QStringLiteral("%1 %2").arg(action).arg(count);
    qInfo("%d actions in %lld ms; %d file dialogs, %d value lists; %s", steps, clock.elapsed(), responder_->dialogs,
          responder_->menus, qPrintable(counts.join(", ")));
  }

  void cleanupTestCase() {
    responder_.reset();
    c_.reset();
    window_.reset();
  }
};

TOLVARO_UI_TEST_MAIN(BatRandomTest)

#include "bat_random_test.moc"
