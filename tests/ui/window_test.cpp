// The main window on the real widgets: start, the generator page's commands,
// editing through the property grid and the memo, the file dialogs, failures
// shown by the event loop, the roster grid's display functions, the layout.

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>
#include <optional>

#include "roster/pers_record.h"
#include "tests/support/cp1251.h"
#include "tests/ui/ui_test_support.h"
#include "ui/field_memo.h"
#include "ui/grid_filter_proxy.h"
#include "ui/grid_headers.h"
#include "ui/hot_zone_splitter.h"
#include "ui/pers_grid.h"
#include "ui/pers_property_grid.h"
#include "ui/range_spin_box.h"
#include "ui/ufMain.h"

using tolvaro::testing::Cp1251;
using tolvaro::testing::KeyIntoFocus;
using tolvaro::testing::TypeIntoFocus;
using tolvaro::testing::ShownBox;

namespace {

// What a file dialog offered when it showed up.
struct DialogSeen {
  bool shown = false;
  QString directory;
  QString offered;  // the file name in its name box
  QStringList filters;
  QString suffix;
  bool recalcSuppressed = false;
};

// A roster file with the given record texts, each as written by a save.
QByteArray RosterFile(const QList<QByteArray>& records) {
  QByteArray text;
  for (const QByteArray& record : records) text += "<R>" + record + "</R>";
  return text + "\r\n";
}

QByteArray Record(int recId, const char* login, int s, int m, int e, int re, int c) {
  return QStringLiteral(
             "<F>RecId</F><V>%1</V><F>Login</F><V>%2</V><F>Name</F><V></V><F>S</F><V>%3</V>"
             "<F>L</F><V>1</V><F>K</F><V>1</V><F>M</F><V>%4</V><F>R</F><V>100</V><F>B</F><V>100</V>"
             "<F>E</F><V>%5</V><F>RE</F><V>%6</V><F>C</F><V>%7</V><F>D</F><V></V>")
      .arg(recId)
      .arg(QString::fromLatin1(login))
      .arg(s)
      .arg(m)
      .arg(e)
      .arg(re)
      .arg(c)
      .toLatin1();
}

}  // namespace

class WindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TfMain> window;
  std::unique_ptr<QTemporaryDir> folder;
  PersGrid* grGen = nullptr;
  PersPropertyGrid* vgGen = nullptr;
  FieldMemo* mmDescr = nullptr;

  tolvaro::PersTable& Pers() { return window->Pers(); }
  template <typename T = QWidget>
  T* Find(const char* name) {
    T* found = window->findChild<T*>(name);
    if (found == nullptr) qFatal("no control %s", name);
    return found;
  }
  QPushButton* Button(const char* name) { return Find<QPushButton>(name); }
  QString FilePath(const char* name) const { return folder->filePath(QString::fromLatin1(name)); }

  // The offscreen platform leaves no window active when a dialog closes, and
  // may still deliver the closed dialog's activation afterwards.
  void Reactivate() {
    QTRY_VERIFY(QApplication::activeModalWidget() == nullptr);
    QTest::qWait(20);
    window->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), window.get());
  }

  void Click(const char* button) { QTest::mouseClick(Button(button), Qt::LeftButton); }

  // Enter finishes the entry of the open editor of the property grid; the
  // grid writes it once the key has been handled.
  void FinishWithEnter() {
    KeyIntoFocus(Qt::Key_Return);
    QTRY_VERIFY(vgGen->OpenEditor() == nullptr);
  }

  // The value the property grid shows for a field.
  QString Shown(int field) { return vgGen->RecordModel()->IndexOfField(field).data().toString(); }
  // The grid's cell for a display row and a column caption.
  QString Cell(int row, const QString& caption) {
    QAbstractItemModel* shown = grGen->model();
    for (int column = 0; column < shown->columnCount(); ++column) {
      if (shown->headerData(column, Qt::Horizontal).toString() == caption) {
        return shown->index(row, column).data().toString();
      }
    }
    qFatal("no column %s", qPrintable(caption));
  }
  QList<int> ShownRecIds() {
    QList<int> ids;
    for (int row = 0; row < grGen->model()->rowCount(); ++row) {
      ids.push_back(grGen->model()->index(row, 0).data(PersTableModel::RecIdRole).toInt());
    }
    return ids;
  }

  QWidget* OpenEditor(int field) { return tolvaro::testing::OpenPropertyEditor(vgGen, field); }

  // Answers the next file dialog: accepts file, or cancels when there is none.
  void AnswerFileDialog(const char* name, std::optional<QString> file, DialogSeen* seen) {
    tolvaro::PersRoster* roster = &window->Roster();
    tolvaro::testing::WhenShown<QFileDialog>(QString::fromLatin1(name), [=](QFileDialog* dialog) {
      seen->shown = true;
      seen->directory = dialog->directory().absolutePath();
      seen->offered = dialog->findChild<QLineEdit*>("fileNameEdit")->text();
      seen->filters = dialog->nameFilters();
      seen->suffix = dialog->defaultSuffix();
      seen->recalcSuppressed = roster->SuppressRecalc();
      if (file) {
        dialog->findChild<QLineEdit*>("fileNameEdit")->setText(*file);
        static_cast<QDialog*>(dialog)->accept();
      } else {
        dialog->reject();
      }
    });
  }

  void Save(const QString& file) {
    DialogSeen seen;
    AnswerFileDialog("sdMain", file, &seen);
    Click("btSave");
    QVERIFY(seen.shown);
    Reactivate();
  }

  void Load(const QString& file) {
    DialogSeen seen;
    AnswerFileDialog("odMain", file, &seen);
    Click("btLoad");
    QVERIFY(seen.shown);
    Reactivate();
  }

  void WriteFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
  }

  QByteArray ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
  }

 private slots:
  void init() {
    folder = std::make_unique<QTemporaryDir>();
    QVERIFY(folder->isValid());
    window = std::make_unique<TfMain>();
    grGen = Find<PersGrid>("grGen");
    vgGen = Find<PersPropertyGrid>("vgGen");
    mmDescr = Find<FieldMemo>("mmDescr");
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
  }

  void cleanup() {
    window.reset();
    folder.reset();
  }

  void freshStartShowsNothingAndWritesNothing() {
    QVERIFY(!Pers().IsOpen());
    QCOMPARE(grGen->model()->rowCount(), 0);
    for (int field = tolvaro::kLogin; field < tolvaro::kD; ++field) QCOMPARE(Shown(field), QString());
    QCOMPARE(mmDescr->toPlainText(), QString());
    QVERIFY(mmDescr->isReadOnly());
    QCOMPARE(OpenEditor(tolvaro::kS), nullptr);  // nothing to edit

    Click("btDel");
    QVERIFY(!Pers().IsOpen());

    Save(FilePath("empty.sav"));
    QVERIFY(!QFile::exists(FilePath("empty.sav")));
    QVERIFY(!window->Roster().SuppressRecalc());
  }

  void newCharactersStandNewestFirst_data() {
    QTest::addColumn<int>("presses");
    QTest::addColumn<QList<int>>("recIds");
    QTest::newRow("once") << 1 << QList<int>{1};
    QTest::newRow("three times") << 3 << QList<int>{3, 2, 1};
  }
  void newCharactersStandNewestFirst() {
    QFETCH(int, presses);
    QFETCH(QList<int>, recIds);
    for (int i = 0; i < presses; ++i) Click("btNew");
    QCOMPARE(ShownRecIds(), recIds);
    QCOMPARE(grGen->currentIndex().row(), 0);
    QVERIFY(grGen->model()->headerData(0, Qt::Vertical, PersTableModel::CurrentRole).toBool());
    QCOMPARE(Cell(0, QStringLiteral("Игрок")), QString());
    QCOMPARE(Cell(0, QStringLiteral("Сила")), QStringLiteral("1"));
    QCOMPARE(Cell(0, QStringLiteral("Фехт.")), QStringLiteral("100"));
    QCOMPARE(Cell(0, QStringLiteral("БЭ")), QStringLiteral("199"));
    QCOMPARE(Cell(0, QStringLiteral("РЭ")), QStringLiteral("40"));
    QCOMPARE(Cell(0, QStringLiteral("Стоим.")), QStringLiteral("0"));
    QCOMPARE(Shown(tolvaro::kM), QStringLiteral("100"));
    QCOMPARE(Shown(tolvaro::kE), QStringLiteral("199"));
    QCOMPARE(Shown(tolvaro::kLogin), QString());
    QVERIFY(!mmDescr->isReadOnly());
  }

  void fencingStepRecomputesWhenTheRowIsLeft() {
    Click("btNew");
    QWidget* editor = OpenEditor(tolvaro::kM);
    QVERIFY(qobject_cast<RangeSpinBox*>(editor));
    KeyIntoFocus(Qt::Key_Up);
    QCOMPARE(qobject_cast<RangeSpinBox*>(editor)->text(), QStringLiteral("110"));
    QCOMPARE(Pers().State(), tolvaro::TableState::Edit);  // started by itself
    QCOMPARE(Shown(tolvaro::kE), QStringLiteral("199"));  // not written yet

    OpenEditor(tolvaro::kS);  // leaves the row
    QCOMPARE(Shown(tolvaro::kM), QStringLiteral("110"));
    QCOMPARE(Shown(tolvaro::kE), QStringLiteral("215"));
    QCOMPARE(Shown(tolvaro::kC), QStringLiteral("13"));
    QCOMPARE(Shown(tolvaro::kRE), QStringLiteral("40"));
    QCOMPARE(Cell(0, QStringLiteral("БЭ")), QStringLiteral("215"));
    QCOMPARE(Cell(0, QStringLiteral("Стоим.")), QStringLiteral("13"));
  }

  void spinEditorsStepAndCorrectEntries_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");  // replaces the entry; empty: only keys
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<int>("wheel");      // notches, + up
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("written");  // whether the entry wrote its field
    using K = QList<int>;
    QTest::newRow("skill arrow down stops at bound") << int(tolvaro::kM) << "" << K{Qt::Key_Down} << 0 << "100" << false;
    QTest::newRow("skill page up") << int(tolvaro::kR) << "" << K{Qt::Key_PageUp} << 0 << "200" << true;
    QTest::newRow("skill page up twice, down once")
        << int(tolvaro::kB) << "" << K{Qt::Key_PageUp, Qt::Key_PageUp, Qt::Key_Down} << 0 << "290" << true;
    QTest::newRow("skill wheel") << int(tolvaro::kM) << "" << K{} << 2 << "120" << true;
    QTest::newRow("attribute page up is one") << int(tolvaro::kS) << "" << K{Qt::Key_PageUp} << 0 << "2" << true;
    QTest::newRow("attribute stops at 5")
        << int(tolvaro::kL) << "" << K(6, Qt::Key_Up) << 0 << "5" << true;
    QTest::newRow("attribute wheel") << int(tolvaro::kK) << "" << K{} << 1 << "2" << true;
    QTest::newRow("typed within range") << int(tolvaro::kM) << "345" << K{} << 0 << "345" << true;
    QTest::newRow("typed above range") << int(tolvaro::kM) << "5000" << K{} << 0 << "1000" << true;
    QTest::newRow("typed huge") << int(tolvaro::kR) << "99999999999" << K{} << 0 << "1000" << true;
    QTest::newRow("typed below range") << int(tolvaro::kB) << "50" << K{} << 0 << "100" << true;
    QTest::newRow("typed negative") << int(tolvaro::kS) << "-3" << K{} << 0 << "1" << true;
    QTest::newRow("typed attribute above") << int(tolvaro::kK) << "9" << K{} << 0 << "5" << true;
    QTest::newRow("emptied restores") << int(tolvaro::kM) << "" << K{Qt::Key_Backspace, Qt::Key_Backspace,
                                                                    Qt::Key_Backspace} << 0 << "100" << false;
    QTest::newRow("letters are not taken") << int(tolvaro::kS) << "x" << K{} << 0 << "1" << false;
  }
  void spinEditorsStepAndCorrectEntries() {
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(QList<int>, keys);
    QFETCH(int, wheel);
    QFETCH(QString, stored);
    QFETCH(bool, written);
    Click("btNew");
    QWidget* editor = OpenEditor(field);
    QVERIFY(editor != nullptr);
    KeyIntoFocus(Qt::Key_End);
    if (!typed.isEmpty()) {
      KeyIntoFocus(Qt::Key_A, Qt::ControlModifier);
      TypeIntoFocus(typed);
    }
    for (int key : keys) KeyIntoFocus(key);
    for (int notch = 0; notch < qAbs(wheel); ++notch) {
      const QPoint centre = editor->rect().center();
      QWheelEvent turn(centre, editor->mapToGlobal(centre), {}, QPoint(0, wheel > 0 ? 120 : -120), Qt::NoButton,
                       Qt::NoModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(editor, &turn);
    }
    FinishWithEnter();
    QCOMPARE(Pers().Modified(), written);
    QCOMPARE(QString::fromStdString(Pers().Field(field).AsString()), stored);
    QCOMPARE(Shown(field), stored);
  }

  void storedValueOutsideTheRangeIsShownAsItIs() {
    WriteFile(FilePath("wide.sav"), RosterFile({Record(1, "a", 9, 5000, 1, 1, 1)}));
    Load(FilePath("wide.sav"));
    QCOMPARE(Shown(tolvaro::kS), QStringLiteral("9"));
    auto* spin = qobject_cast<RangeSpinBox*>(OpenEditor(tolvaro::kM));
    QVERIFY(spin != nullptr);
    QCOMPARE(spin->text(), QStringLiteral("5000"));
    OpenEditor(tolvaro::kS);  // untouched: nothing is written
    QCOMPARE(Pers().Field(tolvaro::kM).AsString(), std::string("5000"));
    QCOMPARE(Pers().Modified(), false);
    KeyIntoFocus(Qt::Key_Down);  // into the range first
    FinishWithEnter();
    QCOMPARE(Pers().Field(tolvaro::kS).AsString(), std::string("5"));
  }

  void loginTypedThenPointerOnSaveIsInTheFile() {
    Click("btNew");
    QVERIFY(qobject_cast<QLineEdit*>(OpenEditor(tolvaro::kLogin)));
    TypeIntoFocus(QStringLiteral("Вася"));
    QCOMPARE(Pers().Field(tolvaro::kLogin).AsString(), std::string());

    QTest::mouseMove(window.get(), QPoint(1, 1));
    QTest::mouseMove(Button("btSave"));
    QTRY_VERIFY(Button("btSave")->hasFocus());
    QCOMPARE(Pers().Field(tolvaro::kLogin).AsString(), Cp1251("Вася"));

    Save(FilePath("roster"));  // completed with the default extension
    const QByteArray saved = ReadFile(FilePath("roster.sav"));
    QVERIFY(saved.contains(QByteArray::fromStdString("<F>Login</F><V>" + Cp1251("Вася") + "</V>")));
    QVERIFY(saved.endsWith("</R>\r\n"));
    QCOMPARE(Cell(0, QStringLiteral("Игрок")), QStringLiteral("Вася"));
  }

  void saveReplacesAnExistingFileWithoutAsking() {
    WriteFile(FilePath("old.sav"), "old content");
    Click("btNew");
    Save(FilePath("old.sav"));
    QVERIFY(ReadFile(FilePath("old.sav")).startsWith("<R><F>RecId</F><V>1</V>"));
  }

  void textBeyondTheCodePageAndTheLimitsIsCut() {
    Click("btNew");
    OpenEditor(tolvaro::kName);
    const QString typed = QStringLiteral("Ä€") + QString(60, u'я');
    TypeIntoFocus(typed);
    FinishWithEnter();
    const std::string name = Pers().Field(tolvaro::kName).AsString();
    QCOMPARE(name.size(), std::size_t{50});
    QCOMPARE(name.substr(0, 2), std::string("?").append(Cp1251("€")));
    QCOMPARE(Shown(tolvaro::kName), QStringLiteral("?€") + QString(48, u'я'));
  }

  void deleteRemovesTheCurrentCharacterEachTime() {
    for (int i = 0; i < 3; ++i) Click("btNew");  // 3, 2, 1 with 3 current
    QTest::mouseClick(grGen->viewport(), Qt::LeftButton, {},
                      grGen->visualRect(grGen->model()->index(1, 0)).center());
    QCOMPARE(Pers().Field(tolvaro::kRecId).AsString(), std::string("2"));
    Click("btDel");
    QCOMPARE(ShownRecIds(), (QList<int>{3, 1}));
    QCOMPARE(Pers().Field(tolvaro::kRecId).AsString(), std::string("1"));
    QCOMPARE(grGen->currentIndex().row(), 1);
    Click("btDel");
    Click("btDel");
    QCOMPARE(ShownRecIds(), QList<int>{});
    QCOMPARE(Shown(tolvaro::kE), QString());
    Click("btDel");  // nothing left: nothing happens
    QVERIFY(Pers().IsOpen());
  }

  void loadThroughTheDialogTakesTheFileAsItStands() {
    // Derived values that do not match: a load keeps them as read.
    WriteFile(FilePath("two.sav"),
              RosterFile({Record(1, "first", 1, 100, 7, 8, 9), Record(2, "second", 2, 300, 199, 40, 0)}));
    Click("btNew");
    QSignalSpy resets(grGen->TableModel(), &QAbstractItemModel::modelReset);
    QSignalSpy inserts(grGen->TableModel(), &QAbstractItemModel::rowsInserted);
    DialogSeen seen;
    AnswerFileDialog("odMain", FilePath("two.sav"), &seen);
    Click("btLoad");
    QVERIFY(seen.shown);
    QVERIFY(seen.recalcSuppressed);
    QVERIFY(!window->Roster().SuppressRecalc());
    QCOMPARE(resets.count(), 1);
    QCOMPARE(inserts.count(), 0);
    QCOMPARE(grGen->model()->rowCount(), 2);
    QCOMPARE(Cell(0, QStringLiteral("Игрок")), QStringLiteral("second"));
    QCOMPARE(Cell(1, QStringLiteral("БЭ")), QStringLiteral("7"));
    QCOMPARE(grGen->currentIndex().row(), 0);
    QCOMPARE(Shown(tolvaro::kLogin), QStringLiteral("second"));
    QCOMPARE(Shown(tolvaro::kC), QStringLiteral("0"));
  }

  void cancelledDialogsChangeNothing() {
    Click("btNew");
    DialogSeen seen;
    AnswerFileDialog("odMain", std::nullopt, &seen);
    Click("btLoad");
    QVERIFY(seen.shown);
    QCOMPARE(Pers().RecordCount(), std::size_t{1});
    QVERIFY(!window->Roster().SuppressRecalc());

    DialogSeen saveSeen;
    AnswerFileDialog("sdMain", std::nullopt, &saveSeen);
    Click("btSave");
    QVERIFY(saveSeen.shown);
    QCOMPARE(QDir(folder->path()).entryList(QDir::Files), QStringList());
    QCOMPARE(Pers().RecordCount(), std::size_t{1});
  }

  void openDialogRefusesAMissingFile() {
    ShownBox warning;
    bool stayedOpen = false;
    tolvaro::testing::WhenShown<QFileDialog>(QStringLiteral("odMain"), [&](QFileDialog* dialog) {
      dialog->findChild<QLineEdit*>("fileNameEdit")->setText(FilePath("missing.sav"));
      tolvaro::testing::CloseNextMessageBox(&warning);
      static_cast<QDialog*>(dialog)->accept();  // protected in QFileDialog
      stayedOpen = dialog->isVisible();
      dialog->reject();
    });
    Click("btLoad");
    QVERIFY(warning.shown);
    QVERIFY(stayedOpen);
    QVERIFY(!Pers().IsOpen());
  }

  void dialogsStartInTheProgramFolderThenOfferTheLastChoice_data() {
    QTest::addColumn<QByteArray>("dialog");
    QTest::addColumn<QByteArray>("button");
    QTest::newRow("open") << QByteArray("odMain") << QByteArray("btLoad");
    QTest::newRow("save") << QByteArray("sdMain") << QByteArray("btSave");
  }
  void dialogsStartInTheProgramFolderThenOfferTheLastChoice() {
    QFETCH(QByteArray, dialog);
    QFETCH(QByteArray, button);
    Click("btNew");
    WriteFile(FilePath("chosen.sav"), RosterFile({Record(1, "a", 1, 100, 199, 40, 0)}));
    DialogSeen first;
    AnswerFileDialog(dialog.constData(), FilePath("chosen.sav"), &first);
    Click(button.constData());
    QCOMPARE(first.directory, QCoreApplication::applicationDirPath());
    QCOMPARE(first.filters, QStringList{"*.sav"});
    QCOMPARE(first.suffix, QStringLiteral("sav"));
    QCOMPARE(first.offered, QString());

    DialogSeen second;
    AnswerFileDialog(dialog.constData(), std::nullopt, &second);
    Click(button.constData());
    QCOMPARE(second.offered, QStringLiteral("chosen.sav"));
    QCOMPARE(second.directory, folder->path());
  }

  void failuresAreShownByTheLoop_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("text");
    QTest::newRow("bad integer in a file")
        << RosterFile({Record(1, "a", 1, 100, 1, 1, 1), "<F>Login</F><V>b</V><F>S</F><V>abc</V>"})
        << "'abc' is not a valid integer value for field 'S'";
  }
  void failuresAreShownByTheLoop() {
    QFETCH(QByteArray, file);
    QFETCH(QString, text);
    WriteFile(FilePath("bad.sav"), file);
    Click("btNew");
    ShownBox box;
    tolvaro::testing::CloseNextMessageBox(&box);
    Load(FilePath("bad.sav"));
    QVERIFY(box.shown);
    QCOMPARE(box.text, text);
    QCOMPARE(box.title, ApplicationTitle(QCoreApplication::applicationFilePath()));
    QCOMPARE(box.icon, int(QMessageBox::Critical));
    QVERIFY(!window->Roster().SuppressRecalc());
    // A failed load loses nothing: the roster is exactly as it was.
    QCOMPARE(Pers().RecordCount(), std::size_t{1});
    QCOMPARE(grGen->model()->rowCount(), 1);
    QCOMPARE(Shown(tolvaro::kLogin), QString());
    QCOMPARE(Shown(tolvaro::kE), QStringLiteral("199"));
    // The window goes on.
    Click("btNew");
    QCOMPARE(Pers().RecordCount(), std::size_t{2});
  }

  void editOfAnAttributeWithoutASkillFails() {
    WriteFile(FilePath("nom.sav"), RosterFile({"<F>Login</F><V>x</V><F>S</F><V>1</V><F>E</F><V>5</V>"}));
    Load(FilePath("nom.sav"));
    QCOMPARE(Shown(tolvaro::kM), QString());
    OpenEditor(tolvaro::kS);
    KeyIntoFocus(Qt::Key_Up);
    ShownBox box;
    tolvaro::testing::CloseNextMessageBox(&box);
    KeyIntoFocus(Qt::Key_Return);
    QTRY_VERIFY(box.shown);
    QCOMPARE(box.text, QStringLiteral("Invalid floating point operation."));
    QCOMPARE(box.icon, int(QMessageBox::Critical));
    // S and the efficiencies hold their new values, the cost its old one.
    QCOMPARE(Shown(tolvaro::kS), QStringLiteral("2"));
    QCOMPARE(Shown(tolvaro::kE), QStringLiteral("0"));
    QCOMPARE(Shown(tolvaro::kRE), QStringLiteral("0"));
    QCOMPARE(Shown(tolvaro::kC), QString());
    QCOMPARE(Pers().State(), tolvaro::TableState::Edit);
  }

  void failedWriteOnLeavingForTheGridIsShownAndTheGridGoesOn() {
    WriteFile(FilePath("nom.sav"), RosterFile({"<F>Login</F><V>x</V><F>M</F><V>100</V>",
                                               "<F>Login</F><V>y</V><F>S</F><V>1</V>"}));
    Load(FilePath("nom.sav"));  // y (without M) first and current
    OpenEditor(tolvaro::kS);
    KeyIntoFocus(Qt::Key_Up);
    ShownBox box;
    tolvaro::testing::CloseNextMessageBox(&box);
    QTest::mouseClick(grGen->viewport(), Qt::LeftButton, {},
                      grGen->visualRect(grGen->model()->index(1, 0)).center());
    QTRY_VERIFY(box.shown);
    QCOMPARE(box.text, QStringLiteral("Invalid floating point operation."));
    Reactivate();
    // The failed entry stayed in the record, which the cursor rule committed
    // when the other row was chosen.
    QTest::mouseClick(grGen->viewport(), Qt::LeftButton, {},
                      grGen->visualRect(grGen->model()->index(1, 0)).center());
    QCOMPARE(Pers().Field(tolvaro::kLogin).AsString(), std::string("x"));
    QCOMPARE(Shown(tolvaro::kLogin), QStringLiteral("x"));
    QCOMPARE(Cell(0, QStringLiteral("Сила")), QStringLiteral("2"));
  }

  void descriptionMemoWritesWhenLeft() {
    Click("btNew");
    mmDescr->setFocus();
    TypeIntoFocus(QStringLiteral("Первая"));
    QCOMPARE(Pers().State(), tolvaro::TableState::Edit);
    QTest::keyClick(mmDescr, Qt::Key_Return);  // a new line, not the end
    TypeIntoFocus(QStringLiteral("вторая"));
    QCOMPARE(Pers().Field(tolvaro::kD).AsString(), std::string());
    QTest::keyClick(mmDescr, Qt::Key_Tab);  // leaves the memo
    QVERIFY(!mmDescr->hasFocus());
    QCOMPARE(Pers().Field(tolvaro::kD).AsString(), Cp1251("Первая\r\nвторая"));
    QCOMPARE(Pers().Field(tolvaro::kE).AsString(), std::string("199"));
    QCOMPARE(mmDescr->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(mmDescr->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(mmDescr->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  }

  void descriptionKeepsAThousandCharacters() {
    Click("btNew");
    mmDescr->setFocus();
    const QString line = QString(600, u'ж');
    TypeIntoFocus(line);
    QTest::keyClick(mmDescr, Qt::Key_Return);
    TypeIntoFocus(line);
    Click("btNew");  // the hover rule aside, a click moves the focus too
    QCOMPARE(Pers().RecordCount(), std::size_t{2});
    Pers().Next();  // the described one is second now
    const std::string stored = Pers().Field(tolvaro::kD).AsString();
    QCOMPARE(stored.size(), std::size_t{1000});
    QCOMPARE(stored.substr(598, 4), Cp1251("жж\r\nж").substr(0, 4));
    QCOMPARE(mmDescr->toPlainText().size(), 999);  // CR LF shows as one break
  }

  void sortingTheGridLeavesTheTableAndChoosesTheRecord() {
    WriteFile(FilePath("three.sav"), RosterFile({Record(1, "a", 1, 200, 1, 1, 1), Record(2, "b", 1, 300, 1, 1, 1),
                                                Record(3, "c", 1, 100, 1, 1, 1)}));
    Load(FilePath("three.sav"));  // table order c, b, a
    QAbstractItemModelTester tester(grGen->model());
    QHeaderView* header = grGen->horizontalHeader();
    const int fencing = 8;
    QCOMPARE(header->model()->headerData(fencing, Qt::Horizontal).toString(), QStringLiteral("Фехт."));
    const QPoint onCaption(header->sectionViewportPosition(fencing) + 5, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, onCaption);
    QCOMPARE(Cell(0, QStringLiteral("Игрок")), QStringLiteral("c"));
    QCOMPARE(Cell(1, QStringLiteral("Игрок")), QStringLiteral("a"));
    QCOMPARE(Cell(2, QStringLiteral("Игрок")), QStringLiteral("b"));
    QCOMPARE(grGen->currentIndex().row(), 0);  // c is still current

    QTest::mouseClick(grGen->viewport(), Qt::LeftButton, {},
                      grGen->visualRect(grGen->model()->index(1, 0)).center());
    QCOMPARE(Pers().Field(tolvaro::kLogin).AsString(), std::string("a"));
    QCOMPARE(Shown(tolvaro::kM), QStringLiteral("200"));
    QCOMPARE(Pers().CurrentRow(), std::optional<std::size_t>(2));
    Pers().First();
    QCOMPARE(Pers().Field(tolvaro::kLogin).AsString(), std::string("c"));
  }

  void headerDropDownFiltersTheShownRows() {
    WriteFile(FilePath("three.sav"), RosterFile({Record(1, "a", 2, 200, 1, 1, 1), Record(2, "b", 1, 300, 1, 1, 1),
                                                Record(3, "c", 2, 100, 1, 1, 1)}));
    Load(FilePath("three.sav"));
    auto* header = qobject_cast<FilterHeaderView*>(grGen->horizontalHeader());
    QVERIFY(header != nullptr);
    const int strength = 5;
    QStringList offered;
    tolvaro::testing::WhenShown<QMenu>(QStringLiteral("filterMenu"), [&](QMenu* menu) {
      for (QAction* action : menu->actions()) {
        if (!action->isSeparator()) offered << action->text();
      }
      menu->setActiveAction(menu->actions().at(3));
      QTest::keyClick(menu, Qt::Key_Return);
    });
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, header->DropDownRect(strength).center());
    QCOMPARE(offered, (QStringList{QStringLiteral("(Все)"), "1", "2"}));
    QCOMPARE(grGen->model()->rowCount(), 2);
    QCOMPARE(Cell(0, QStringLiteral("Игрок")), QStringLiteral("c"));
    QCOMPARE(Cell(1, QStringLiteral("Игрок")), QStringLiteral("a"));
    QCOMPARE(Pers().RecordCount(), std::size_t{3});
    grGen->Proxy()->SetColumnFilter(strength, std::nullopt);
    QCOMPARE(grGen->model()->rowCount(), 3);
  }

  void gridIsForChoosingOnly() {
    Click("btNew");
    QCOMPARE(grGen->editTriggers(), QAbstractItemView::NoEditTriggers);
    grGen->setFocus();
    for (int key : {int(Qt::Key_Delete), int(Qt::Key_Insert), int(Qt::Key_F2), int(Qt::Key_A)}) {
      QTest::keyClick(grGen, Qt::Key(key));
    }
    QCOMPARE(Pers().RecordCount(), std::size_t{1});
    QCOMPARE(Pers().Field(tolvaro::kLogin).AsString(), std::string());
  }

  void controlsCarryTheirNamesAndCaptions_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("btNew") << QByteArray("btNew") << QStringLiteral("Новый");
    QTest::newRow("btDel") << QByteArray("btDel") << QStringLiteral("Удалить");
    QTest::newRow("btSave") << QByteArray("btSave") << QStringLiteral("Сохранить");
    QTest::newRow("btLoad") << QByteArray("btLoad") << QStringLiteral("Загрузить");
    QTest::newRow("gbPers") << QByteArray("gbPers") << QStringLiteral(" Персонаж ");
    QTest::newRow("gbPersDescr") << QByteArray("gbPersDescr") << QStringLiteral(" Описание ");
    QTest::newRow("gbGenBot") << QByteArray("gbGenBot") << QString();
  }
  void controlsCarryTheirNamesAndCaptions() {
    QFETCH(QByteArray, name);
    QFETCH(QString, caption);
    QWidget* control = Find(name.constData());
    if (auto* button = qobject_cast<QPushButton*>(control)) QCOMPARE(button->text(), caption);
    if (auto* box = qobject_cast<QGroupBox*>(control)) QCOMPARE(box->title(), caption);
    QCOMPARE(control->accessibleName(), caption.trimmed());
  }

  void windowAndPages() {
    QCOMPARE(window->objectName(), QStringLiteral("fMain"));
    QCOMPARE(window->windowTitle(), QStringLiteral("Tolvaro"));
    auto* pcMain = Find<QTabWidget>("pcMain");
    QCOMPARE(pcMain->count(), 2);
    QCOMPARE(pcMain->tabText(0), QStringLiteral("Генератор"));
    QCOMPARE(pcMain->tabText(1), QStringLiteral("Мочильня"));
    QCOMPARE(pcMain->currentWidget()->objectName(), QStringLiteral("tsGen"));
    QCOMPARE(pcMain->widget(1)->objectName(), QStringLiteral("tsBat"));
    QCOMPARE(window->size(), QSize(984, 562));
    QCOMPARE(QFontInfo(window->font()).pixelSize(), 11);
  }

  void layoutAtTheStartSize() {
    auto geometry = [this](const char* name) {
      QWidget* control = Find(name);
      return QRect(control->mapTo(Find("tsGen"), QPoint(0, 0)), control->size());
    };
    const QRect page = geometry("spMain").united(geometry("gbGenBot"));
    QCOMPARE(page.size(), QSize(976, 534));
    QCOMPARE(geometry("gbGenBot").height(), 40);
    QCOMPARE(geometry("gbGenBot").bottom(), page.bottom());
    const char* buttons[] = {"btNew", "btDel", "btSave", "btLoad"};
    const int lefts[] = {5, 110, 215, 320};
    for (int i = 0; i < 4; ++i) {
      QCOMPARE(Button(buttons[i])->geometry(), QRect(lefts[i], 10, 100, 25));
    }
    QCOMPARE(geometry("gbPers").width(), 250);
    QCOMPARE(geometry("gbPers").left(), page.left());
    QCOMPARE(geometry("gbPersDescr").height(), 190);
    QCOMPARE(Find<HotZoneSplitter>("spMain")->Bar()->width(), 8);
    QCOMPARE(geometry("grGen").size(), QSize(718, 494));
    QCOMPARE(vgGen->columnWidth(0), 130);
    QCOMPARE(grGen->columnWidth(0), 100);
    QCOMPARE(grGen->columnWidth(2), 50);
    QCOMPARE(grGen->columnWidth(3), grGen->horizontalHeader()->defaultSectionSize());
  }

  void resizingGivesTheGridTheExtraRoom() {
    window->resize(1200, 700);
    QTRY_COMPARE(grGen->size(), QSize(718 + 216, 494 + 138));
    QCOMPARE(Find("gbPers")->width(), 250);
    QCOMPARE(Find("gbPers")->height(), 494 + 138);
    QCOMPARE(Find("gbPersDescr")->height(), 190);
    QCOMPARE(Find("gbGenBot")->height(), 40);
    QCOMPARE(Button("btLoad")->geometry(), QRect(320, 10, 100, 25));
  }

  void hotZoneCollapsesAndRestoresThePanel() {
    auto* splitter = Find<HotZoneSplitter>("spMain");
    auto* bar = qobject_cast<HotZoneHandle*>(splitter->Bar());
    QVERIFY(bar != nullptr);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->HotZone().center());
    QTRY_COMPARE(Find("gbPers")->width(), 0);
    QVERIFY(splitter->IsCollapsed());
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->HotZone().center());
    QTRY_COMPARE(Find("gbPers")->width(), 250);
    QCOMPARE(grGen->width(), 718);
  }

  void tabWalksThePageInOrder() {
    Click("btNew");
    auto* tabs = Find<QTabWidget>("pcMain")->tabBar();
    tabs->setFocus();
    const QList<QWidget*> expected = {Button("btNew"), Button("btDel"), Button("btSave"), Button("btLoad"),
                                      grGen,           vgGen,           mmDescr,          tabs};
    for (QWidget* next : expected) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QCOMPARE(QApplication::focusWidget(), next);
    }
  }

  void closingAsksNothing() {
    Click("btNew");
    QVERIFY(window->close());
    QVERIFY(!window->isVisible());
  }
};

TOLVARO_UI_TEST_MAIN(WindowTest)

#include "window_test.moc"
