// The grid adapter over a PersTable, its display proxy and the grid view,
// each under QAbstractItemModelTester.

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QtTest>
#include <memory>
#include <vector>

#include "roster/pers_record.h"
#include "roster/pers_roster.h"
#include "roster/pers_table.h"
#include "tests/support/cp1251.h"
#include "tests/ui/ui_test_support.h"
#include "ui/grid_filter_proxy.h"
#include "ui/pers_grid.h"
#include "ui/pers_table_model.h"

using tolvaro::PersTable;
using tolvaro::testing::Cp1251;

namespace {

std::vector<GridColumn> Columns() {
  return {
      {QStringLiteral("Игрок"), "Login", 100},  {QStringLiteral("БЭ"), "E", 50},
      {QStringLiteral("РЭ"), "RE", -1},          {QStringLiteral("Сила"), "S", 50, false},
      {QStringLiteral("Фехт."), "M", 50, false},
  };
}

enum Column { kLoginColumn, kEColumn, kREColumn, kSColumn, kMColumn };

// A roster with its rules, and the model and proxy over it under the tester.
struct Fixture {
  PersTable pers{"mdPers"};
  std::unique_ptr<tolvaro::PersRoster> roster;
  std::unique_ptr<PersTableModel> model;
  std::unique_ptr<GridFilterProxy> proxy;
  std::unique_ptr<QAbstractItemModelTester> modelTester;
  std::unique_ptr<QAbstractItemModelTester> proxyTester;

  Fixture() {
    tolvaro::AddPersFields(pers);
    roster = std::make_unique<tolvaro::PersRoster>(pers);
    model = std::make_unique<PersTableModel>(pers, Columns());
    proxy = std::make_unique<GridFilterProxy>();
    proxy->setSourceModel(model.get());
    modelTester = std::make_unique<QAbstractItemModelTester>(model.get());
    proxyTester = std::make_unique<QAbstractItemModelTester>(proxy.get());
  }

  // Adds characters with "Новый", each with a login and a fencing value, so
  // that they stand in the table in the order given; the first is current.
  void Fill(const std::vector<std::pair<const char*, int>>& rows) {
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
      roster->NewPers();
      pers.Edit();
      pers.Field(tolvaro::kLogin).SetAsString(Cp1251(it->first));
      pers.Field(tolvaro::kM).SetAsFloat(it->second);
      pers.Post();
    }
  }

  QString Shown(int row, int column) const { return model->index(row, column).data().toString(); }
  QVariant RecId(int row) const { return model->index(row, 0).data(PersTableModel::RecIdRole); }
};

}  // namespace

class PersTableModelTest : public QObject {
  Q_OBJECT

 private slots:
  void closedTableHasColumnsAndNoRows() {
    Fixture f;
    QCOMPARE(f.model->rowCount(), 0);
    QCOMPARE(f.model->columnCount(), 5);
    QCOMPARE(f.model->headerData(kEColumn, Qt::Horizontal).toString(), QStringLiteral("БЭ"));
    QCOMPARE(f.model->headerData(kEColumn, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
             Qt::Alignment(Qt::AlignCenter));
    QVERIFY(!(f.model->flags(f.model->index(0, 0)) & Qt::ItemIsEditable));
  }

  void newCharactersShowNewestFirstWithDerivedValues() {
    Fixture f;
    for (int i = 0; i < 3; ++i) f.roster->NewPers();
    QCOMPARE(f.model->rowCount(), 3);
    QCOMPARE(f.RecId(0).toInt(), 3);
    QCOMPARE(f.RecId(1).toInt(), 2);
    QCOMPARE(f.RecId(2).toInt(), 1);
    QCOMPARE(f.Shown(0, kLoginColumn), QString());
    QCOMPARE(f.Shown(0, kEColumn), QStringLiteral("199"));
    QCOMPARE(f.Shown(0, kREColumn), QStringLiteral("40"));
    QCOMPARE(f.model->CurrentRow(), std::optional<int>(0));
    QVERIFY(f.model->headerData(0, Qt::Vertical, PersTableModel::CurrentRole).toBool());
    QVERIFY(!f.model->headerData(1, Qt::Vertical, PersTableModel::CurrentRole).toBool());
  }

  void textIsShownFromWindows1251() {
    Fixture f;
    f.Fill({{"Вася Пупкин", 100}});
    QCOMPARE(f.Shown(0, kLoginColumn), QStringLiteral("Вася Пупкин"));
  }

  void writesOfTheCurrentRecordReachTheRowAtOnce() {
    Fixture f;
    f.roster->NewPers();
    QSignalSpy changed(f.model.get(), &QAbstractItemModel::dataChanged);
    f.pers.Edit();
    f.pers.Field(tolvaro::kM).SetAsFloat(110);
    QVERIFY(changed.count() > 0);
    QCOMPARE(f.Shown(0, kEColumn), QStringLiteral("215"));
    QCOMPARE(f.Shown(0, kMColumn), QStringLiteral("110"));
  }

  void deletesAndPendingRecordsKeepRowsInStep_data() {
    QTest::addColumn<int>("deleteAt");
    QTest::addColumn<QList<int>>("recIdsAfter");
    QTest::addColumn<int>("currentAfter");
    QTest::newRow("first") << 0 << QList<int>{2, 1} << 0;
    QTest::newRow("middle") << 1 << QList<int>{3, 1} << 1;
    QTest::newRow("last") << 2 << QList<int>{3, 2} << 1;
  }
  void deletesAndPendingRecordsKeepRowsInStep() {
    QFETCH(int, deleteAt);
    QFETCH(QList<int>, recIdsAfter);
    QFETCH(int, currentAfter);
    Fixture f;
    f.Fill({{"c", 100}, {"b", 100}, {"a", 100}});
    f.pers.First();
    for (int i = 0; i < deleteAt; ++i) f.pers.Next();
    f.roster->DeletePers();
    QCOMPARE(f.model->rowCount(), recIdsAfter.size());
    for (int row = 0; row < recIdsAfter.size(); ++row) QCOMPARE(f.RecId(row).toInt(), recIdsAfter[row]);
    QCOMPARE(f.model->CurrentRow(), std::optional<int>(currentAfter));
  }

  void untouchedPendingRecordComesAndGoes() {
    Fixture f;
    f.Fill({{"b", 100}, {"a", 200}});
    f.pers.First();
    f.pers.Next();
    f.pers.Insert();  // shown between the two, current
    QCOMPARE(f.model->rowCount(), 3);
    QCOMPARE(f.model->CurrentRow(), std::optional<int>(1));
    QCOMPARE(f.Shown(1, kLoginColumn), QString());
    QCOMPARE(f.Shown(2, kLoginColumn), QStringLiteral("a"));
    f.pers.First();  // the cursor rule drops it
    QCOMPARE(f.model->rowCount(), 2);
    QCOMPARE(f.Shown(1, kLoginColumn), QStringLiteral("a"));
  }

  void bulkChangeResetsOnce() {
    Fixture f;
    QSignalSpy resets(f.model.get(), &QAbstractItemModel::modelReset);
    QSignalSpy inserts(f.model.get(), &QAbstractItemModel::rowsInserted);
    f.pers.HoldNotifications();
    for (int i = 0; i < 50; ++i) f.roster->NewPers();
    f.pers.ReleaseNotifications();
    QCOMPARE(resets.count(), 1);
    QCOMPARE(inserts.count(), 0);
    QCOMPARE(f.model->rowCount(), 50);
    QCOMPARE(f.model->CurrentRow(), std::optional<int>(0));
  }

  void copyGivesAListWithoutFieldsItsColumns() {
    Fixture f;
    PersTable list("mdBat1");
    PersTableModel model(list, Columns());
    QAbstractItemModelTester tester(&model);
    QCOMPARE(model.rowCount(), 0);
    f.Fill({{"x", 300}, {"y", 100}});
    list.CopyFrom(f.pers);
    QCOMPARE(model.rowCount(), 2);
    QCOMPARE(model.index(0, kLoginColumn).data().toString(), QStringLiteral("x"));
    QCOMPARE(model.index(1, kMColumn).data().toString(), QStringLiteral("100"));
    QCOMPARE(model.CurrentRow(), std::optional<int>(1));
  }

  void sortingAndFilteringLeaveTheTableAlone() {
    Fixture f;
    f.Fill({{"b", 300}, {"c", 100}, {"a", 200}});
    f.proxy->sort(kMColumn, Qt::AscendingOrder);
    QCOMPARE(f.proxy->index(0, kLoginColumn).data().toString(), QStringLiteral("c"));
    QCOMPARE(f.proxy->index(2, kLoginColumn).data().toString(), QStringLiteral("b"));
    // Numbers sort as numbers, not as text.
    f.Fill({{"d", 1000}});
    QCOMPARE(f.proxy->index(f.proxy->rowCount() - 1, kLoginColumn).data().toString(), QStringLiteral("d"));
    QCOMPARE(f.Shown(0, kLoginColumn), QStringLiteral("d"));
    QCOMPARE(f.Shown(1, kLoginColumn), QStringLiteral("b"));

    QCOMPARE(f.proxy->ColumnValues(kMColumn), (QStringList{"100", "200", "300", "1000"}));
    f.proxy->SetColumnFilter(kMColumn, QStringLiteral("200"));
    QCOMPARE(f.proxy->rowCount(), 1);
    QCOMPARE(f.proxy->index(0, kLoginColumn).data().toString(), QStringLiteral("a"));
    f.proxy->SetColumnFilter(kMColumn, std::nullopt);
    QCOMPARE(f.proxy->rowCount(), 4);
    QCOMPARE(f.pers.RecordCount(), 4u);
  }
};

// The grid view over the model: the current row follows the table and a
// chosen row, sorted or not, becomes the table's current record.
class PersGridTest : public QObject {
  Q_OBJECT

 private slots:
  void chosenSortedRowBecomesCurrentRecord() {
    PersTable pers("mdPers");
    tolvaro::AddPersFields(pers);
    tolvaro::PersRoster roster(pers);
    PersGrid grid(pers, Columns());
    QAbstractItemModelTester tester(grid.model());
    grid.resize(400, 300);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    for (int i = 0; i < 3; ++i) roster.NewPers();
    pers.First();
    for (int fencing : {300, 100, 200}) {
      pers.Edit();
      pers.Field(tolvaro::kM).SetAsFloat(fencing);
      pers.Post();
      pers.Next();
    }
    // The walk left the last record current; the grid shows it.
    QCOMPARE(grid.currentIndex().row(), 2);
    grid.sortByColumn(kMColumn, Qt::DescendingOrder);  // 300, 200, 100
    QCOMPARE(grid.currentIndex().row(), 1);            // still the same record
    const QRect row0 = grid.visualRect(grid.model()->index(0, kLoginColumn));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, row0.center());
    QCOMPARE(pers.Field(tolvaro::kM).AsString(), std::string("300"));
    QCOMPARE(pers.CurrentRow(), std::optional<std::size_t>(0));
    QTest::keyClick(&grid, Qt::Key_Down);
    QCOMPARE(pers.Field(tolvaro::kM).AsString(), std::string("200"));
    QCOMPARE(pers.CurrentRow(), std::optional<std::size_t>(2));
    // The table's order is what it was.
    pers.First();
    QCOMPARE(pers.Field(tolvaro::kM).AsString(), std::string("300"));
    QCOMPARE(grid.currentIndex().row(), 0);
  }
};

int main(int argc, char** argv) {
  tolvaro::testing::PrepareHeadlessRun();
  TolvaroApplication app(argc, argv);
  int failures = 0;
  {
    PersTableModelTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  {
    PersGridTest test;
    failures += QTest::qExec(&test, argc, argv);
  }
  return failures;
}

#include "pers_table_model_test.moc"
