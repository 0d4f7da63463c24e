// The whole-number spin editor on its own, as a standalone control uses it:
// the entry is corrected when the focus leaves or Enter is pressed.

#include <QLineEdit>
#include <QVBoxLayout>
#include <QtTest>

#include "tests/ui/ui_test_support.h"
#include "ui/range_spin_box.h"

class RangeSpinBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void finishedEntryIsBroughtIntoTheRange_data() {
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<bool>("emptyIsZero");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("byEnter");
    QTest::addColumn<int>("value");  // every editor starts at 3
    QTest::newRow("bonus above") << -100 << 100 << true << "150" << false << 100;
    QTest::newRow("bonus below") << -100 << 100 << true << "-250" << true << -100;
    QTest::newRow("bonus emptied") << -100 << 100 << true << "" << false << 0;
    QTest::newRow("opponents emptied") << 1 << 4 << true << "" << true << 1;
    QTest::newRow("opponents zero") << 1 << 4 << true << "0" << false << 1;
    QTest::newRow("lone sign counts as emptied") << -100 << 100 << true << "-" << false << 0;
    QTest::newRow("lone sign restores") << 1 << 5 << false << "+" << true << 3;
    QTest::newRow("emptied restores") << 1 << 5 << false << "" << true << 3;
    QTest::newRow("within") << -100 << 100 << true << "-42" << false << -42;
    QTest::newRow("blanks around") << -100 << 100 << true << " 12 " << true << 12;
  }
  void finishedEntryIsBroughtIntoTheRange() {
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(bool, emptyIsZero);
    QFETCH(QString, typed);
    QFETCH(bool, byEnter);
    QFETCH(int, value);
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* spin = new RangeSpinBox(&window);
    auto* next = new QLineEdit(&window);
    layout->addWidget(spin);
    layout->addWidget(next);
    spin->setRange(minimum, maximum);
    spin->setValue(3);
    spin->SetEmptyEntry(emptyIsZero ? RangeSpinBox::EmptyEntry::Zero : RangeSpinBox::EmptyEntry::Restore);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    spin->setFocus();
    QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(spin, Qt::Key_Delete);
    QTest::keyClicks(spin, typed);
    if (byEnter) {
      QTest::keyClick(spin, Qt::Key_Return);
    } else {
      next->setFocus();
    }
    QCOMPARE(spin->value(), value);
    QCOMPARE(spin->text(), QString::number(value));
  }

  void largeStepAndBounds_data() {
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("largeStep");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("presses");
    QTest::addColumn<int>("value");
    QTest::newRow("page up by ten") << 1 << 10 << int(Qt::Key_PageUp) << 1 << 10;
    QTest::newRow("page down stops at bound") << 1 << 10 << int(Qt::Key_PageDown) << 12 << -100;
    QTest::newRow("up stops at bound") << 1 << 10 << int(Qt::Key_Up) << 150 << 100;
    QTest::newRow("large step one") << 1 << 1 << int(Qt::Key_PageUp) << 2 << 2;
  }
  void largeStepAndBounds() {
    QFETCH(int, step);
    QFETCH(int, largeStep);
    QFETCH(int, key);
    QFETCH(int, presses);
    QFETCH(int, value);
    RangeSpinBox spin;
    spin.setRange(-100, 100);
    spin.setSingleStep(step);
    spin.SetLargeStep(largeStep);
    spin.setValue(0);
    QSignalSpy changed(&spin, &RangeSpinBox::UserChanged);
    for (int i = 0; i < presses; ++i) QTest::keyClick(&spin, Qt::Key(key));
    QCOMPARE(spin.value(), value);
    QVERIFY(changed.count() > 0);
    spin.setValue(5);
    const int userChanges = changed.count();
    spin.setValue(6);
    QCOMPARE(changed.count(), userChanges);  // the program's own changes are not the user's
  }
};

TOLVARO_UI_TEST_MAIN(RangeSpinBoxTest)

#include "range_spin_box_test.moc"
