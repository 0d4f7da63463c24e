// The duel page "Мочильня" on the real window: its controls, the refill of its
// lists, the duel report and the character sheet in its memo, the spin
// editors' corrections and the failures shown by the application.

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QTabBar>
#include <QTextBlock>
#include <QtTest>
#include <memory>

#include "roster/pers_table.h"
#include "tests/support/cp1251.h"
#include "tests/ui/bat_test_support.h"
#include "tests/ui/ui_test_support.h"
#include "ui/panel_box.h"
#include "ui/pers_table_model.h"
#include "ui/text_codec.h"
#include "ui/ufMain.h"

using namespace tolvaro::testing;

namespace {

// Both worked duels pit these two against each other.
const Character kGuard{.login = "страж", .name = "Страж"};
const Character kMercenary{.login = "наёмник", .name = "Наёмник"};

const Character kElsa{.login = "player1",
                      .name = "Эльза",
                      .S = 2,
                      .L = 3,
                      .K = 1,
                      .M = 300,
                      .R = 200,
                      .B = 150,
                      .description = "Наёмница с севера."};

const std::string kElsaSheetHead = CrLfLines({
    "[priv=player1][more=Эльза][table id=oknt align=center]",
    "[tr][td id=oknt_bt align=center]Сила[/td][td id=oknt_bt align=center]2[/td][/tr]",
    "[tr][td id=oknt_bt align=center]Ловкость[/td][td id=oknt_bt align=center]3[/td][/tr]",
    "[tr][td id=oknt_bt align=center]Красота[/td][td id=oknt_bt align=center]1[/td][/tr]",
    "[tr][td id=oknt_bt align=center]Фехтование[/td][td id=oknt_bt align=center]300[/td][/tr]",
    "[tr][td id=oknt_bt align=center]Рукопашный бой[/td][td id=oknt_bt align=center]200[/td][/tr]",
    "[tr][td id=oknt_bt align=center]Бег[/td][td id=oknt_bt align=center]150[/td][/tr]",
    "[tr][td id=oknt_bt align=center]БЭ[/td][td id=oknt_bt align=center]937[/td][/tr]",
    "[tr][td id=oknt_bt align=center]РЭ[/td][td id=oknt_bt align=center]134[/td][/tr]",
    "[/table]",
});

const std::string kEmptySheet = CrLfLines({
    "[priv=][more=][table id=oknt align=center]",
    "[tr][td id=oknt_bt align=center]Сила[/td][td id=oknt_bt align=center][/td][/tr]",
    "[tr][td id=oknt_bt align=center]Ловкость[/td][td id=oknt_bt align=center][/td][/tr]",
    "[tr][td id=oknt_bt align=center]Красота[/td][td id=oknt_bt align=center][/td][/tr]",
    "[tr][td id=oknt_bt align=center]Фехтование[/td][td id=oknt_bt align=center][/td][/tr]",
    "[tr][td id=oknt_bt align=center]Рукопашный бой[/td][td id=oknt_bt align=center][/td][/tr]",
    "[tr][td id=oknt_bt align=center]Бег[/td][td id=oknt_bt align=center][/td][/tr]",
    "[tr][td id=oknt_bt align=center]БЭ[/td][td id=oknt_bt align=center][/td][/tr]",
    "[tr][td id=oknt_bt align=center]РЭ[/td][td id=oknt_bt align=center][/td][/tr]",
    "[/table]",
    "",
    "[/more][/priv]",
});

// The first duel after start: "Страж" with two opponents against "Наёмник"
// with "Не убивать" and a bonus of 100.
const std::string kFirstDuelReport = CrLfLines({
    "====================",
    "Наёмник не получил ранений",
    "====================",
    "Страж получил ранение",
    "Место попадания: голова",
    "Тяжесть ранения: тяжелое",
    "====================",
});

// The second duel after start: "Страж" with E 1000, "Попытка обезоружить"
// and a bonus of 100 against "Наёмник" bare-handed.
const std::string kSecondDuelReport = CrLfLines({
    "====================",
    "Наёмник обезоружен",
    "====================",
    "Страж не получил ранений",
    "====================",
});

QByteArray Bytes(const std::string& text) { return QByteArray::fromStdString(text); }

// Presses a button whose handler is to fail; what the failure box showed.
ShownBox PressFailing(QPushButton* button) {
  ShownBox seen;
  CloseNextMessageBox(&seen);
  Press(button);
  return seen;
}

// Types text into the memo at its end, as the user does.
void TypeIntoMemo(ResultMemo* memo, const QString& text) {
  memo->setFocus(Qt::MouseFocusReason);
  memo->moveCursor(QTextCursor::End);
  TypeText(memo, text);
}

}  // namespace

class BatPageTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TfMain> window_;
  std::unique_ptr<WindowControls> c_;

  // A new window, not yet shown, with a fresh random source.
  void NewWindow() {
    c_.reset();
    window_ = std::make_unique<TfMain>();
  }

  template <typename T = QWidget>
  T* Control(const char* name) const {
    return window_->findChild<T*>(QString::fromLatin1(name));
  }

  // The window as the user finds it after start.
  void StartWindow() {
    NewWindow();
    window_->show();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    c_ = std::make_unique<WindowControls>(*window_);
  }

  void AddCharacters(std::initializer_list<Character> characters) {
    for (const Character& character : characters) AddCharacter(*c_, character);
  }

  // Sets one side's options, bonus and opponents through the controls, each
  // entry finished by moving on.
  void SetSide(CheckGroup* options, RangeSpinBox* bonus, RangeSpinBox* amount, std::initializer_list<int> ticked,
               int bonusValue, int amountValue) {
    for (int item = 0; item < options->Count(); ++item)
      SetOption(options, item, std::count(ticked.begin(), ticked.end(), item) > 0);
    TypeEntry(bonus, QString::number(bonusValue));
    TypeEntry(amount, QString::number(amountValue));
    QTest::keyClick(amount, Qt::Key_Return);
  }

 private slots:
  void init() { StartWindow(); }

  void cleanup() {
    c_.reset();
    window_.reset();
  }

  // ---- the page ------------------------------------------------------------

  void controlsCarryTheirNamesAndCaptions_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("accessibleName");
    const auto row = [](const char* name, const char* className, const QString& caption, const QString& accessible) {
      QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(className) << caption << accessible;
    };
    const QString left = QStringLiteral("1й персонаж");
    const QString right = QStringLiteral("2й персонаж");
    const QString options = QStringLiteral("Опции");
    const QString bonus = QStringLiteral("Суммарный бонус, %");
    const QString amount = QStringLiteral("Количество противников");
    row("gbBatLeft", "PanelBox", QStringLiteral(" 1й персонаж "), left);
    row("grBatLeft", "PersGrid", QString(), left);
    row("gbBatOptLeft", "PanelBox", QStringLiteral(" Опции "), options);
    row("cgBatOptLeft", "CheckGroup", QString(), options);
    row("lbBatOptLeft1", "QLabel", bonus, bonus);
    row("seBatOptBonusLeft", "RangeSpinBox", QString(), bonus);
    row("lbBatOptLeft2", "QLabel", amount, amount);
    row("seBatOptAmountLeft", "RangeSpinBox", QString(), amount);
    row("gbBatRiht", "PanelBox", QStringLiteral(" 2й персонаж "), right);
    row("grBatRight", "PersGrid", QString(), right);
    row("gbBatOptRight", "PanelBox", QStringLiteral(" Опции "), options);
    row("cgBatOptRight", "CheckGroup", QString(), options);
    row("lbBatOptRight1", "QLabel", bonus, bonus);
    row("seBatOptBonusRight", "RangeSpinBox", QString(), bonus);
    row("lbBatOptRight2", "QLabel", amount, amount);
    row("seBatOptAmountRight", "RangeSpinBox", QString(), amount);
    row("grBatRes", "PanelBox", QStringLiteral(" Результат "), QStringLiteral("Результат"));
    row("mmBatRes", "ResultMemo", QString(), QStringLiteral("Результат"));
    row("gbBatCon", "PanelBox", QString(), QString());
    row("btBatRes", "QPushButton", QStringLiteral("Результат боя"), QStringLiteral("Результат боя"));
    row("btPersPrint", "QPushButton", QStringLiteral("Таблица 1го персонажа"), QStringLiteral("Таблица 1го персонажа"));
  }
  void controlsCarryTheirNamesAndCaptions() {
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, caption);
    QFETCH(QString, accessibleName);
    const QList<QWidget*> found = c_->tsBat->findChildren<QWidget*>(name);
    QCOMPARE(found.size(), 1);
    QWidget* control = found.first();
    QCOMPARE(QString::fromLatin1(control->metaObject()->className()), className);
    if (auto* box = qobject_cast<QGroupBox*>(control)) QCOMPARE(box->title(), caption);
    if (auto* label = qobject_cast<QLabel*>(control)) QCOMPARE(label->text(), caption);
    if (auto* button = qobject_cast<QPushButton*>(control)) QCOMPARE(button->text(), caption);
    QCOMPARE(control->accessibleName(), accessibleName);
    QCOMPARE(c_->pcMain->tabText(c_->pcMain->indexOf(c_->tsBat)), QStringLiteral("Мочильня"));
  }

  // The page's controls are built after the window's first frame; a page
  // brought up before that is whole the moment it shows.
  void pageShownBeforeTheFirstFrameIsWhole_data() {
    QTest::addColumn<bool>("switchBeforeShow");
    QTest::newRow("chosen before the window shows") << true;
    QTest::newRow("chosen as the window shows") << false;
  }
  void pageShownBeforeTheFirstFrameIsWhole() {
    QFETCH(bool, switchBeforeShow);
    NewWindow();
    auto* pages = Control<QTabWidget>("pcMain");
    QWidget* page = Control("tsBat");
    if (switchBeforeShow) pages->setCurrentWidget(page);
    window_->show();
    if (!switchBeforeShow) pages->setCurrentWidget(page);
    // Shown at once, not a pass of the event loop later.
    for (const char* name : {"gbBatLeft", "grBatLeft", "cgBatOptLeft", "seBatOptAmountLeft", "gbBatRiht",
                             "grBatRight", "lbBatOptRight1", "grBatRes", "mmBatRes", "btBatRes", "btPersPrint"}) {
      QWidget* control = Control(name);
      QVERIFY2(control != nullptr && control->isVisible(), name);
    }
    const qsizetype count = page->findChildren<QWidget*>().size();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    QCOMPARE(page->findChildren<QWidget*>().size(), count);
  }

  void pageLeftAloneIsBuiltOnceTheWindowIsUp() {
    NewWindow();
    auto* pages = Control<QTabWidget>("pcMain");
    QWidget* page = Control("tsBat");
    window_->show();
    QTRY_VERIFY(Control<QPushButton>("btBatRes") != nullptr);
    QCOMPARE(pages->currentIndex(), 0);
    QVERIFY(!page->isVisible());
    // Built once: a visit leaves the very same controls.
    QPushButton* button = Control<QPushButton>("btBatRes");
    const qsizetype count = page->findChildren<QWidget*>().size();
    pages->setCurrentWidget(page);
    QCOMPARE(Control<QPushButton>("btBatRes"), button);
    QCOMPARE(page->findChildren<QWidget*>().size(), count);
    QVERIFY(button->isVisible());
  }

  void layoutFollowsTheWindowSize_data() {
    QTest::addColumn<QSize>("growth");
    QTest::newRow("start size") << QSize(0, 0);
    QTest::newRow("wider and higher") << QSize(240, 130);
  }
  void layoutFollowsTheWindowSize() {
    QFETCH(QSize, growth);
    window_->resize(window_->size() + growth);
    ShowPage(*c_, c_->tsBat);
    QTRY_COMPARE(c_->tsBat->size(), c_->pcMain->currentWidget()->size());
    QApplication::processEvents();
    const QSize page = c_->tsBat->size();
    const auto geometry = [this](const char* name) {
      QWidget* control = c_->tsBat->findChild<QWidget*>(QString::fromLatin1(name));
      return QRect(control->mapTo(c_->tsBat, QPoint(0, 0)), control->size());
    };
    const auto within = [this](const char* name, const char* parent) {
      QWidget* control = c_->tsBat->findChild<QWidget*>(QString::fromLatin1(name));
      return QRect(control->mapTo(c_->tsBat->findChild<QWidget*>(QString::fromLatin1(parent)), QPoint(0, 0)),
                   control->size());
    };
    // Both character panels keep 350 and the full height; the result panel
    // takes the rest.
    QCOMPARE(geometry("gbBatLeft"), QRect(0, 0, 350, page.height()));
    QCOMPARE(geometry("gbBatRiht"), QRect(350, 0, 350, page.height()));
    QCOMPARE(geometry("grBatRes"), QRect(700, 0, page.width() - 700, page.height()));
    for (const char* side : {"Left", "Right"}) {
      const QByteArray panel = side == QByteArrayView("Left") ? "gbBatLeft" : "gbBatRiht";
      const QByteArray options = QByteArray("gbBatOpt") + side;
      // The grid takes the extra height, the options box keeps 150.
      QCOMPARE(within(QByteArray("grBat") + side, panel), QRect(2, 16, 346, page.height() - 168));
      QCOMPARE(within(options, panel), QRect(2, page.height() - 152, 346, 150));
      QCOMPARE(within(QByteArray("cgBatOpt") + side, options), QRect(2, 16, 150, 132));
      QCOMPARE(within(QByteArray("lbBatOpt") + side + "1", options).topLeft(), QPoint(155, 40));
      QCOMPARE(within(QByteArray("lbBatOpt") + side + "2", options).topLeft(), QPoint(155, 67));
      QCOMPARE(within(QByteArray("seBatOptBonus") + side, options), QRect(290, 40, 50, 21));
      QCOMPARE(within(QByteArray("seBatOptAmount") + side, options), QRect(290, 63, 50, 21));
    }
    const int resultWidth = page.width() - 700;
    QCOMPARE(within("mmBatRes", "grBatRes"), QRect(2, 16, resultWidth - 4, page.height() - 168));
    QCOMPARE(within("gbBatCon", "grBatRes"), QRect(2, page.height() - 152, resultWidth - 4, 150));
    // The buttons keep a margin of 5 on both sides as the frame widens.
    QCOMPARE(within("btBatRes", "gbBatCon"), QRect(5, 10, resultWidth - 14, 25));
    QCOMPARE(within("btPersPrint", "gbBatCon"), QRect(5, 41, resultWidth - 14, 25));
    if (growth.isEmpty()) {
      // The start size: a result panel 276 wide in a page area of 976, give
      // or take the page control's frame.
      QVERIFY2(qAbs(resultWidth - 276) <= 4, qPrintable(QString::number(resultWidth)));
    }
  }

  void listGridsShowTheRosterColumns_data() {
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QString>("list");
    QTest::newRow("left") << "grBatLeft"
                          << "mdBat1";
    QTest::newRow("right") << "grBatRight"
                           << "mdBat2";
  }
  void listGridsShowTheRosterColumns() {
    QFETCH(QString, grid);
    QFETCH(QString, list);
    ShowPage(*c_, c_->tsBat);
    auto* view = c_->tsBat->findChild<PersGrid*>(grid);
    QVERIFY(view != nullptr);
    QCOMPARE(QString::fromStdString(view->TableModel()->Table().Name()), list);
    struct Expected {
      const char* caption;
      const char* field;
      int width;
      bool shown;
    };
    const Expected columns[] = {
        {"Игрок", "Login", 100, true}, {"Персонаж", "Name", 100, true}, {"БЭ", "E", 50, true},
        {"РЭ", "RE", 64, true},        {"Стоим.", "C", 50, false},      {"Сила", "S", 50, false},
        {"Ловк.", "L", 50, false},     {"Кросота", "K", 50, false},     {"Фехт.", "M", 50, false},
        {"РБ", "R", 50, false},        {"Бег", "B", 50, false},
    };
    QHeaderView* header = view->horizontalHeader();
    QCOMPARE(view->model()->columnCount(), int(std::size(columns)));
    for (int column = 0; column < int(std::size(columns)); ++column) {
      const Expected& expected = columns[column];
      QCOMPARE(view->model()->headerData(column, Qt::Horizontal).toString(), QString::fromUtf8(expected.caption));
      QCOMPARE(view->TableModel()->Columns()[std::size_t(column)].field, std::string(expected.field));
      QCOMPARE(view->model()->headerData(column, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
               Qt::Alignment(Qt::AlignCenter));
      QCOMPARE(view->isColumnHidden(column), !expected.shown);
      if (expected.shown) {
        QCOMPARE(header->sectionSize(column), expected.width);
      }
    }
    // The four shown columns fit beside the indicator column.
    QVERIFY(!view->verticalHeader()->isHidden());
    QVERIFY(view->verticalHeader()->width() > 0 && view->verticalHeader()->width() < 20);
    QVERIFY(header->length() <= view->viewport()->width());
    QCOMPARE(view->editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(view->isSortingEnabled());
  }

  void optionsStartClearedWithTheirRanges() {
    const QStringList captions{QStringLiteral("Без оружия"), QStringLiteral("Попытка обезоружить"),
                               QStringLiteral("Не убивать"), QStringLiteral("Не калечить")};
    for (CheckGroup* group : {c_->cgBatOptLeft, c_->cgBatOptRight}) {
      QCOMPARE(group->Count(), 4);
      for (int item = 0; item < 4; ++item) {
        QCOMPARE(group->Item(item)->text(), captions[item]);
        QVERIFY(!group->Item(item)->isChecked());
        QVERIFY(!group->Item(item)->isTristate());
      }
    }
    struct Range {
      RangeSpinBox* editor;
      int minimum, maximum, largeStep, start;
    };
    for (const Range& range :
         {Range{c_->seBatOptBonusLeft, -100, 100, 10, 0}, Range{c_->seBatOptBonusRight, -100, 100, 10, 0},
          Range{c_->seBatOptAmountLeft, 1, 4, 1, 1}, Range{c_->seBatOptAmountRight, 1, 4, 1, 1}}) {
      QCOMPARE(range.editor->minimum(), range.minimum);
      QCOMPARE(range.editor->maximum(), range.maximum);
      QCOMPARE(range.editor->singleStep(), 1);
      QCOMPARE(range.editor->LargeStep(), range.largeStep);
      QCOMPARE(range.editor->value(), range.start);
      QCOMPARE(range.editor->width(), 50);
    }
  }

  void tabRunsFromThePageTabsThroughThePage() {
    ShowPage(*c_, c_->tsBat);
    c_->pcMain->tabBar()->setFocus(Qt::TabFocusReason);
    const QStringList expected{
        "grBatLeft",     "cgBatOptLeft",       "seBatOptBonusLeft",   "seBatOptAmountLeft", "grBatRight",
        "cgBatOptRight", "seBatOptBonusRight", "seBatOptAmountRight", "btBatRes",           "btPersPrint",
        "mmBatRes"};
    // Where the focus is, named by the page's control that holds it.
    const auto focused = [this] {
      for (QWidget* w = QApplication::focusWidget(); w != nullptr; w = w->parentWidget()) {
        if (w->parentWidget() == nullptr || w == c_->tsBat) break;
        const QString name = w->objectName();
        if (name.startsWith("gr") || name.startsWith("cg") || name.startsWith("se") || name.startsWith("bt") ||
            name.startsWith("mm")) {
          return name;
        }
      }
      return QString();
    };
    QStringList visited;
    for (int i = 0; i < expected.size(); ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      visited << focused();
    }
    QCOMPARE(visited, expected);

    // A check group is one stop: the arrow keys move within it, and Tab
    // leaves from whichever item holds the focus.
    c_->cgBatOptLeft->Item(0)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), c_->cgBatOptLeft->Item(2));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QVERIFY(c_->cgBatOptLeft->IsChecked(2));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(focused(), QStringLiteral("seBatOptBonusLeft"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), c_->cgBatOptLeft->Item(2));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(focused(), QStringLiteral("grBatLeft"));
  }

  void memoWrapsWithoutScrollBarsAndTakesEnter() {
    ShowPage(*c_, c_->tsBat);
    ResultMemo* memo = c_->mmBatRes;
    QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QVERIFY(!memo->isReadOnly());
    TypeIntoMemo(memo, QStringLiteral("первая"));
    QTest::keyClick(memo, Qt::Key_Return);
    TypeText(memo, QStringLiteral("вторая"));
    QCOMPARE(Bytes(MemoBytes(memo)), Bytes(Cp1251("первая\r\nвторая")));
    QVERIFY(memo->hasFocus());
  }

  // ---- the refill ----------------------------------------------------------

  void enteringRightAfterStartLeavesTheListsUnfilled_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("bareHanded");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("memoAfter");
    const QByteArray typed = Bytes(Cp1251("своё"));
    QTest::newRow("sheet") << "btPersPrint" << false << "mdBat1: Field 'Login' not found." << QByteArray();
    QTest::newRow("duel") << "btBatRes" << false << "mdBat1: Field 'E' not found." << typed;
    QTest::newRow("duel bare-handed") << "btBatRes" << true << "mdBat1: Field 'RE' not found." << typed;
  }
  void enteringRightAfterStartLeavesTheListsUnfilled() {
    QFETCH(QString, button);
    QFETCH(bool, bareHanded);
    QFETCH(QString, message);
    QFETCH(QByteArray, memoAfter);
    ShowPage(*c_, c_->tsBat);
    QCOMPARE(c_->pcMain->currentWidget(), c_->tsBat);
    for (tolvaro::PersTable* list : {&window_->Bat1(), &window_->Bat2()}) {
      QVERIFY(!list->IsOpen());
      QVERIFY(!list->FindField("Login"));
    }
    QCOMPARE(c_->grBatLeft->model()->rowCount(), 0);
    TypeIntoMemo(c_->mmBatRes, QStringLiteral("своё"));
    SetOption(c_->cgBatOptLeft, kNoWeaponOption, bareHanded);

    const ShownBox seen = PressFailing(c_->tsBat->findChild<QPushButton*>(button));
    QVERIFY(seen.shown);
    QCOMPARE(seen.text, message);
    QCOMPARE(seen.icon, int(QMessageBox::Critical));
    QCOMPARE(Bytes(MemoBytes(c_->mmBatRes)), memoAfter);
    QVERIFY(!window_->Bat1().FindField("Login"));
  }

  void threeCharactersFillBothListsInRosterOrder() {
    AddCharacters({{.name = "Первый"}, {.name = "Второй"}, {.name = "Третий"}});
    // Each new character stands before the current one.
    const QStringList rosterOrder{QStringLiteral("Третий"), QStringLiteral("Второй"), QStringLiteral("Первый")};
    window_->Pers().First();  // the current record is not the last one before the visit
    QCOMPARE(CurrentName(c_->grGen), rosterOrder.first());

    ShowPage(*c_, c_->tsBat);
    for (PersGrid* grid : {c_->grBatLeft, c_->grBatRight}) {
      QCOMPARE(ShownNames(grid), rosterOrder);
      QCOMPARE(CurrentName(grid), rosterOrder.last());
    }
    for (tolvaro::PersTable* list : {&window_->Bat1(), &window_->Bat2()}) {
      QCOMPARE(list->RecordCount(), 3u);
      QCOMPARE(list->CurrentRow(), std::optional<std::size_t>(2));
    }
    // At once the last character fights itself.
    Press(c_->btBatRes);
    QVERIFY(MemoBytes(c_->mmBatRes).find(Cp1251("Первый не получил ранений")) != std::string::npos);

    // The copy walked the roster to its end.
    ShowPage(*c_, c_->tsGen);
    QCOMPARE(window_->Pers().CurrentRow(), std::optional<std::size_t>(2));
    QCOMPARE(CurrentName(c_->grGen), rosterOrder.last());
  }

  void aChoiceTouchesOnlyItsListAndIsLostOnTheNextVisit() {
    AddCharacters({{.name = "Первый"}, {.name = "Второй"}, {.name = "Третий"}});
    ShowPage(*c_, c_->tsBat);
    ChooseRow(c_->grBatLeft, QStringLiteral("Третий"));
    QCOMPARE(window_->Bat1().FieldByName("Name").AsString(), Cp1251("Третий"));
    QCOMPARE(window_->Bat2().FieldByName("Name").AsString(), Cp1251("Первый"));
    QCOMPARE(window_->Pers().FieldByName("Name").AsString(), Cp1251("Первый"));
    ChooseRow(c_->grBatRight, QStringLiteral("Второй"));
    QCOMPARE(window_->Bat1().FieldByName("Name").AsString(), Cp1251("Третий"));
    QCOMPARE(window_->Bat2().FieldByName("Name").AsString(), Cp1251("Второй"));

    ShowPage(*c_, c_->tsGen);
    ShowPage(*c_, c_->tsBat);
    QCOMPARE(CurrentName(c_->grBatLeft), QStringLiteral("Первый"));
    QCOMPARE(CurrentName(c_->grBatRight), QStringLiteral("Первый"));
  }

  void aCharacterAddedLaterComesWithTheNextVisit() {
    AddCharacters({{.name = "Первый"}});
    ShowPage(*c_, c_->tsBat);
    ShowPage(*c_, c_->tsGen);
    AddCharacters({{.name = "Новенький"}});
    QCOMPARE(ShownNames(c_->grBatLeft), QStringList{QStringLiteral("Первый")});
    QCOMPARE(window_->Bat2().RecordCount(), 1u);
    // The keyboard changes the page as well as a click.
    c_->pcMain->tabBar()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(c_->pcMain->tabBar(), Qt::Key_Right);
    QCOMPARE(c_->pcMain->currentWidget(), c_->tsBat);
    const QStringList both{QStringLiteral("Новенький"), QStringLiteral("Первый")};
    QCOMPARE(ShownNames(c_->grBatLeft), both);
    QCOMPARE(ShownNames(c_->grBatRight), both);
  }

  void aPendingRosterEditIsInTheCopy() {
    AddCharacters({{.name = "Первый"}});
    WriteField(*window_, "Name", Cp1251("Переименованный"));
    QCOMPARE(window_->Pers().State(), tolvaro::TableState::Edit);
    ShowPage(*c_, c_->tsBat);
    QCOMPARE(window_->Pers().State(), tolvaro::TableState::Browse);
    QCOMPARE(ShownNames(c_->grBatLeft), QStringList{QStringLiteral("Переименованный")});
    QCOMPARE(ShownNames(c_->grBatRight), QStringList{QStringLiteral("Переименованный")});
  }

  void anEmptiedRosterGivesFilledEmptyLists() {
    AddCharacters({{.name = "Первый"}});
    ShowPage(*c_, c_->tsBat);
    ShowPage(*c_, c_->tsGen);
    Press(c_->btDel);
    ShowPage(*c_, c_->tsBat);
    for (tolvaro::PersTable* list : {&window_->Bat1(), &window_->Bat2()}) {
      QVERIFY(list->IsOpen());
      QCOMPARE(list->RecordCount(), 0u);
      QVERIFY(list->FindField("Login").has_value());
    }
    QCOMPARE(c_->grBatLeft->model()->rowCount(), 0);
  }

  // ---- the duel --------------------------------------------------------------

  void workedDuelsAsTheFirstPressesAfterStart_data() {
    QTest::addColumn<bool>("firstPressFails");
    QTest::newRow("two duels") << false;
    QTest::newRow("a failed press, then a duel") << true;
  }
  void workedDuelsAsTheFirstPressesAfterStart() {
    QFETCH(bool, firstPressFails);
    if (firstPressFails) {
      // The lists are not filled yet: the press fails, and its four draws
      // are used all the same.
      ShowPage(*c_, c_->tsBat);
      TypeIntoMemo(c_->mmBatRes, QStringLiteral("прежнее"));
      const ShownBox seen = PressFailing(c_->btBatRes);
      QCOMPARE(seen.text, QStringLiteral("mdBat1: Field 'E' not found."));
      QCOMPARE(Bytes(MemoBytes(c_->mmBatRes)), Bytes(Cp1251("прежнее")));
      ShowPage(*c_, c_->tsGen);
      AddCharacters({kMercenary, kGuard});
    } else {
      AddCharacters({kMercenary, kGuard});
      ShowPage(*c_, c_->tsBat);
      ChooseRow(c_->grBatLeft, QStringLiteral("Страж"));
      ChooseRow(c_->grBatRight, QStringLiteral("Наёмник"));
      SetSide(c_->cgBatOptLeft, c_->seBatOptBonusLeft, c_->seBatOptAmountLeft, {}, 0, 2);
      SetSide(c_->cgBatOptRight, c_->seBatOptBonusRight, c_->seBatOptAmountRight, {kNoKillOption}, 100, 1);
      Press(c_->btBatRes);
      QCOMPARE(Bytes(MemoBytes(c_->mmBatRes)), Bytes(kFirstDuelReport));
      ShowPage(*c_, c_->tsGen);
    }

    // "Страж" trains up to E 1000 on the generator page.
    ChooseRow(c_->grGen, QStringLiteral("Страж"));
    WriteField(*window_, "M", 380);
    WriteField(*window_, "R", 990);
    QCOMPARE(window_->Pers().FieldByName("E").AsString(), "1000");
    ShowPage(*c_, c_->tsBat);
    ChooseRow(c_->grBatLeft, QStringLiteral("Страж"));
    ChooseRow(c_->grBatRight, QStringLiteral("Наёмник"));
    SetSide(c_->cgBatOptLeft, c_->seBatOptBonusLeft, c_->seBatOptAmountLeft, {kDisarmOption}, 100, 1);
    SetSide(c_->cgBatOptRight, c_->seBatOptBonusRight, c_->seBatOptAmountRight, {kNoWeaponOption}, 0, 1);
    Press(c_->btBatRes);
    QCOMPARE(Bytes(MemoBytes(c_->mmBatRes)), Bytes(kSecondDuelReport));
  }

  void bothValuesZeroFailsAndKeepsTheReport() {
    AddCharacters({kGuard});
    ShowPage(*c_, c_->tsBat);
    Press(c_->btBatRes);
    const std::string report = MemoBytes(c_->mmBatRes);
    QVERIFY(!report.empty());
    // Both bonuses typed as -250: each becomes -100, which leaves nothing of
    // either value.
    TypeEntry(c_->seBatOptBonusLeft, QStringLiteral("-250"));
    TypeEntry(c_->seBatOptBonusRight, QStringLiteral("-250"));
    const ShownBox seen = PressFailing(c_->btBatRes);
    QCOMPARE(seen.text, QStringLiteral("Invalid floating point operation."));
    QCOMPARE(MemoBytes(c_->mmBatRes), report);
    QCOMPARE(c_->seBatOptBonusRight->value(), -100);
  }

  void aBonusBeyondTheRangeIsReadAsItsBound() {
    // "Наёмник" against itself, the right side with a bonus of 100: a chance
    // of 66.67 and, against the first press's attack draw of 20, a heavy
    // wound; 150 taken as it was typed would make it fatal.
    AddCharacters({kMercenary, kGuard});
    ShowPage(*c_, c_->tsBat);
    TypeEntry(c_->seBatOptBonusRight, QStringLiteral("150"));
    Press(c_->btBatRes);
    QCOMPARE(c_->seBatOptBonusRight->value(), 100);
    QCOMPARE(Bytes(MemoBytes(c_->mmBatRes)), Bytes(CrLfLines({
                                                 "====================",
                                                 "Наёмник не получил ранений",
                                                 "====================",
                                                 "Наёмник получил ранение",
                                                 "Место попадания: голова",
                                                 "Тяжесть ранения: тяжелое",
                                                 "====================",
                                             })));
  }

  // ---- the sheet -----------------------------------------------------------

  void sheetOfTheLeftListsCharacter_data() {
    QTest::addColumn<QString>("description");
    QTest::addColumn<QByteArray>("sheet");
    QTest::newRow("one line") << QStringLiteral("Наёмница с севера.")
                              << Bytes(kElsaSheetHead + CrLfLines({"Наёмница с севера.", "[/more][/priv]"}));
    QTest::newRow("two lines") << QStringLiteral("Наёмница\r\nс севера.")
                               << Bytes(kElsaSheetHead + CrLfLines({"Наёмница", "с севера.", "[/more][/priv]"}));
    QTest::newRow("ends with a break") << QStringLiteral("Наёмница\r\n")
                                       << Bytes(kElsaSheetHead + CrLfLines({"Наёмница", "", "[/more][/priv]"}));
  }
  void sheetOfTheLeftListsCharacter() {
    QFETCH(QString, description);
    QFETCH(QByteArray, sheet);
    Character elsa = kElsa;
    const QByteArray descriptionText = description.toUtf8();
    elsa.description = descriptionText.constData();
    AddCharacters({elsa, kGuard});
    ShowPage(*c_, c_->tsBat);
    ChooseRow(c_->grBatLeft, QStringLiteral("Эльза"));
    QCOMPARE(CurrentName(c_->grBatRight), QStringLiteral("Эльза"));
    ChooseRow(c_->grBatRight, QStringLiteral("Страж"));  // never the right one
    TypeIntoMemo(c_->mmBatRes, QStringLiteral("своё"));
    Press(c_->btPersPrint);
    QCOMPARE(Bytes(MemoBytes(c_->mmBatRes)), sheet);
  }

  void sheetOfAnEmptyListHasEmptyValues() {
    AddCharacters({kGuard});
    Press(c_->btDel);
    ShowPage(*c_, c_->tsBat);
    Press(c_->btPersPrint);
    QCOMPARE(Bytes(MemoBytes(c_->mmBatRes)), Bytes(kEmptySheet));
  }

  // ---- the spin editors ------------------------------------------------------

  void spinEditorsCorrectAFinishedEntry_data() {
    QTest::addColumn<QString>("editor");
    QTest::addColumn<int>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("finish");
    QTest::addColumn<int>("value");
    QTest::newRow("bonus above the range") << "seBatOptBonusLeft" << 0 << "150"
                                           << "enter" << 100;
    QTest::newRow("bonus below the range") << "seBatOptBonusRight" << 0 << "-250"
                                           << "tab" << -100;
    QTest::newRow("bonus emptied") << "seBatOptBonusLeft" << 30 << ""
                                   << "hover btBatRes" << 0;
    QTest::newRow("bonus a lone sign") << "seBatOptBonusRight" << 30 << "-"
                                       << "hover btPersPrint" << 0;
    QTest::newRow("bonus within") << "seBatOptBonusLeft" << 0 << "-55"
                                  << "click memo" << -55;
    QTest::newRow("bonus with a plus") << "seBatOptBonusLeft" << 0 << "+7"
                                       << "enter" << 7;
    QTest::newRow("bonus far beyond") << "seBatOptBonusLeft" << 0 << "99999999999999999999"
                                      << "enter" << 100;
    QTest::newRow("bonus letters refused") << "seBatOptBonusLeft" << 0 << "1x2"
                                           << "enter" << 12;
    QTest::newRow("opponents emptied") << "seBatOptAmountLeft" << 3 << ""
                                       << "hover btBatRes" << 1;
    QTest::newRow("opponents above") << "seBatOptAmountRight" << 1 << "5"
                                     << "enter" << 4;
    QTest::newRow("opponents far above") << "seBatOptAmountLeft" << 1 << "669"
                                         << "hover btBatRes" << 4;
    QTest::newRow("opponents a lone sign") << "seBatOptAmountRight" << 4 << "-"
                                           << "tab" << 1;
    QTest::newRow("opponents zero") << "seBatOptAmountRight" << 2 << "0"
                                    << "tab" << 1;
    QTest::newRow("opponents below") << "seBatOptAmountLeft" << 2 << "-3"
                                     << "hover btPersPrint" << 1;
  }
  void spinEditorsCorrectAFinishedEntry() {
    QFETCH(QString, editor);
    QFETCH(int, before);
    QFETCH(QString, typed);
    QFETCH(QString, finish);
    QFETCH(int, value);
    ShowPage(*c_, c_->tsBat);
    auto* spin = c_->tsBat->findChild<RangeSpinBox*>(editor);
    spin->setValue(before);
    TypeEntry(spin, typed);
    QCOMPARE(spin->value(), before);  // not yet finished
    TypeIntoMemo(c_->mmBatRes, QString());
    c_->mmBatRes->setPlainText(QStringLiteral("как было"));
    spin->setFocus(Qt::MouseFocusReason);
    if (finish == "enter") {
      QTest::keyClick(spin, Qt::Key_Return);
    } else if (finish == "tab") {
      QTest::keyClick(spin, Qt::Key_Tab);
      QVERIFY(!spin->hasFocus());
    } else if (finish == "click memo") {
      QTest::mouseClick(c_->mmBatRes->viewport(), Qt::LeftButton);
    } else {
      // The hover rule: the button takes the focus and is not pressed.
      auto* button = c_->tsBat->findChild<QPushButton*>(finish.section(' ', 1));
      Hover(button);
      QTRY_VERIFY(button->hasFocus());
      QCOMPARE(c_->mmBatRes->toPlainText(), QStringLiteral("как было"));
    }
    QCOMPARE(spin->value(), value);
    QCOMPARE(spin->text(), QString::number(value));
  }

  void spinEditorsStepWithinTheirRange_data() {
    QTest::addColumn<QString>("editor");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("presses");
    QTest::addColumn<int>("value");
    QTest::newRow("bonus up") << "seBatOptBonusLeft" << 0 << int(Qt::Key_Up) << 3 << 3;
    QTest::newRow("bonus page up") << "seBatOptBonusLeft" << 0 << int(Qt::Key_PageUp) << 2 << 20;
    QTest::newRow("bonus page down stops") << "seBatOptBonusRight" << -85 << int(Qt::Key_PageDown) << 3 << -100;
    QTest::newRow("opponents page up") << "seBatOptAmountLeft" << 1 << int(Qt::Key_PageUp) << 2 << 3;
    QTest::newRow("opponents up stops") << "seBatOptAmountRight" << 3 << int(Qt::Key_Up) << 4 << 4;
    QTest::newRow("opponents down stops") << "seBatOptAmountRight" << 2 << int(Qt::Key_Down) << 4 << 1;
  }
  void spinEditorsStepWithinTheirRange() {
    QFETCH(QString, editor);
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, presses);
    QFETCH(int, value);
    ShowPage(*c_, c_->tsBat);
    auto* spin = c_->tsBat->findChild<RangeSpinBox*>(editor);
    spin->setValue(start);
    spin->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < presses; ++i) QTest::keyClick(spin, Qt::Key(key));
    QCOMPARE(spin->value(), value);
  }

  // ---- the memo --------------------------------------------------------------

  void eitherButtonReplacesTheUsersText_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("duel") << "btBatRes" << Bytes(kFirstDuelReport);
    QTest::newRow("sheet") << "btPersPrint"
                           << Bytes(kElsaSheetHead + CrLfLines({"Наёмница с севера.", "[/more][/priv]"}));
  }
  void eitherButtonReplacesTheUsersText() {
    QFETCH(QString, button);
    QFETCH(QByteArray, text);
    AddCharacters({kElsa, kMercenary, kGuard});
    ShowPage(*c_, c_->tsBat);
    ChooseRow(c_->grBatLeft, QStringLiteral("Страж"));
    ChooseRow(c_->grBatRight, QStringLiteral("Наёмник"));
    SetSide(c_->cgBatOptLeft, c_->seBatOptBonusLeft, c_->seBatOptAmountLeft, {}, 0, 2);
    SetSide(c_->cgBatOptRight, c_->seBatOptBonusRight, c_->seBatOptAmountRight, {kNoKillOption}, 100, 1);
    if (button == "btPersPrint") ChooseRow(c_->grBatLeft, QStringLiteral("Эльза"));
    TypeIntoMemo(c_->mmBatRes, QStringLiteral("мой текст"));
    QTest::keyClick(c_->mmBatRes, Qt::Key_Return);
    TypeText(c_->mmBatRes, QStringLiteral("ещё"));
    // Between presses the user's text stays, page changes and refills
    // included.
    ShowPage(*c_, c_->tsGen);
    ShowPage(*c_, c_->tsBat);
    QCOMPARE(Bytes(MemoBytes(c_->mmBatRes)), Bytes(Cp1251("мой текст\r\nещё")));
    if (button == "btPersPrint") ChooseRow(c_->grBatLeft, QStringLiteral("Эльза"));
    if (button == "btBatRes") {
      ChooseRow(c_->grBatLeft, QStringLiteral("Страж"));
      ChooseRow(c_->grBatRight, QStringLiteral("Наёмник"));
    }
    Press(c_->tsBat->findChild<QPushButton*>(button));
    QCOMPARE(Bytes(MemoBytes(c_->mmBatRes)), text);
  }

  void copiedTextHasCrLfLineEnds() {
    AddCharacters({{.name = "Ночной\u00a0Страж"}});
    ShowPage(*c_, c_->tsBat);
    Press(c_->btBatRes);
    const std::string report = MemoBytes(c_->mmBatRes);
    // A no-break space in a name comes back as the same byte.
    QVERIFY(report.find(Cp1251("Ночной\u00a0Страж не получил ранений\r\n")) != std::string::npos);
    c_->mmBatRes->selectAll();
    c_->mmBatRes->copy();
    QCOMPARE(Bytes(ToCp1251(QApplication::clipboard()->text())), Bytes(report));
    // Two lines from the middle.
    QTextCursor cursor(c_->mmBatRes->document()->findBlockByNumber(1));
    cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, 2);
    c_->mmBatRes->setTextCursor(cursor);
    c_->mmBatRes->copy();
    QCOMPARE(Bytes(ToCp1251(QApplication::clipboard()->text())),
             Bytes(Cp1251("Ночной\u00a0Страж не получил ранений\r\n====================\r\n")));
  }
};

TOLVARO_UI_TEST_MAIN(BatPageTest)

#include "bat_page_test.moc"
