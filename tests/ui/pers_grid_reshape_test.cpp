// A grid whose shown rows change under an edit of the current record (the
// edited row sorts elsewhere or leaves a filter) keeps the table's cursor
// where it is: the edit stays pending and the change rule finishes its work.

#include <QtTest>
#include <memory>

#include "roster/pers_record.h"
#include "roster/pers_roster.h"
#include "roster/pers_table.h"
#include "tests/ui/ui_test_support.h"
#include "ui/grid_filter_proxy.h"
#include "ui/pers_grid.h"

namespace {

enum Column { kNameColumn, kEColumn, kSColumn };

std::vector<GridColumn> Columns() {
  return {
      {QStringLiteral("Персонаж"), "Name", 100}, {QStringLiteral("БЭ"), "E", 50}, {QStringLiteral("Сила"), "S", 50}};
}

}  // namespace

class PersGridReshapeTest : public QObject {
  Q_OBJECT

 private slots:
  void editedRowMovingInTheDisplayLeavesTheCursorAlone_data() {
    QTest::addColumn<bool>("filtered");
    QTest::newRow("sorted elsewhere") << false;
    QTest::newRow("filtered out") << true;
  }
  void editedRowMovingInTheDisplayLeavesTheCursorAlone() {
    QFETCH(bool, filtered);
    tolvaro::PersTable pers("mdPers");
    tolvaro::AddPersFields(pers);
    tolvaro::PersRoster roster(pers);
    PersGrid grid(pers, Columns());
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    for (const char* name : {"a", "b", "c"}) {
      roster.NewPers();
      pers.Edit();
      pers.FieldByName("Name").SetAsString(name);
      pers.Post();
    }
    // c, b, a: "c" is current, shown first.
    if (filtered) {
      grid.Proxy()->SetColumnFilter(kSColumn, QStringLiteral("1"));
    } else {
      grid.sortByColumn(kSColumn, Qt::AscendingOrder);
    }
    QCOMPARE(pers.CurrentRow(), std::optional<std::size_t>(0));

    pers.Edit();
    pers.FieldByName("S").SetAsFloat(5);  // sorts last, or leaves the filter

    QCOMPARE(pers.State(), tolvaro::TableState::Edit);
    QCOMPARE(pers.FieldByName("Name").AsString(), "c");
    QCOMPARE(QString::fromStdString(pers.FieldByName("E").AsString()), QStringLiteral("359"));  // for S 5
    pers.Post();
    QCOMPARE(pers.FieldByName("Name").AsString(), "c");
    QCOMPARE(grid.model()->rowCount(), filtered ? 2 : 3);
    if (!filtered) QCOMPARE(grid.currentIndex().siblingAtColumn(kNameColumn).data().toString(), QStringLiteral("c"));
  }
};

TOLVARO_UI_TEST_MAIN(PersGridReshapeTest)

#include "pers_grid_reshape_test.moc"
