// The application object: the title, the failure box, and failures of event
// handlers shown by the event loop, which then goes on. Also the hover rule.

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtTest>

#include "roster/error.h"
#include "tests/support/cp1251.h"
#include "tests/ui/ui_test_support.h"
#include "ui/mouse_enter_focus.h"
#include "ui/text_codec.h"
#include "ui/tolvaro_application.h"
#include "ui/window_font.h"

using tolvaro::testing::Cp1251;
using tolvaro::testing::ShownBox;

namespace {

// A window with a line edit above a button.
struct EditAndButton {
  QWidget window;
  QLineEdit* edit = new QLineEdit(&window);
  QPushButton* button = new QPushButton("go", &window);

  EditAndButton() {
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(edit);
    layout->addWidget(button);
  }
};

}  // namespace

class TolvaroApplicationTest : public QObject {
  Q_OBJECT

 private slots:
  void titleComesFromTheExecutableName_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("title");
    QTest::newRow("plain") << "/usr/bin/Tolvaro" << "Tolvaro";
    QTest::newRow("capitals") << "/opt/TOLVARO" << "Tolvaro";
    QTest::newRow("extension") << "/opt/Tolvaro.exe" << "Tolvaro";
    QTest::newRow("cut at the first stop") << "/a.b/TolVaro.v2.bin" << "Tolvaro";
    QTest::newRow("first letter kept") << "tolVARO" << "tolvaro";
    QTest::newRow("nothing before the stop") << "/x/.hidden" << "";
  }
  void titleComesFromTheExecutableName() {
    QFETCH(QString, path);
    QFETCH(QString, title);
    QCOMPARE(ApplicationTitle(path), title);
  }

  void failureTextEndsWithAStopWhereTheRuleSays_data() {
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QString>("text");
    QTest::newRow("letter") << QByteArray("Invalid floating point operation")
                            << "Invalid floating point operation.";
    QTest::newRow("quote stays") << QByteArray("'abc' is not a valid integer value for field 'S'")
                                 << "'abc' is not a valid integer value for field 'S'";
    QTest::newRow("stop stays") << QByteArray("Done.") << "Done.";
    QTest::newRow("slash gets one") << QByteArray("a/") << "a/.";
    QTest::newRow("blank stays") << QByteArray("a ") << "a ";
    QTest::newRow("empty") << QByteArray() << "";
    QTest::newRow("cyrillic") << QByteArray::fromStdString(Cp1251("Ошибка")) << QStringLiteral("Ошибка.");
  }
  void failureTextEndsWithAStopWhereTheRuleSays() {
    QFETCH(QByteArray, message);
    QFETCH(QString, text);
    QCOMPARE(FailureText(message.toStdString()), text);
  }

  void failureBoxHasErrorIconAndTitle() {
    std::unique_ptr<QMessageBox> box(NewFailureBox("mdBat1: Field 'E' not found"));
    QCOMPARE(box->icon(), QMessageBox::Critical);
    QCOMPARE(box->text(), QStringLiteral("mdBat1: Field 'E' not found."));
    QCOMPARE(box->windowTitle(), ApplicationTitle(QCoreApplication::applicationFilePath()));
    QCOMPARE(box->standardButtons(), QMessageBox::Ok);
  }

  void windowFontFamilyIsTheFirstInstalledOfItsList_data() {
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("family");
    QTest::newRow("Tahoma before its twins") << QStringList{"DejaVu Sans", "Liberation Sans", "Tahoma"} << "Tahoma";
    QTest::newRow("metric twin") << QStringList{"DejaVu Sans", "Liberation Sans"} << "Liberation Sans";
    QTest::newRow("any case") << QStringList{"arimo", "DejaVu Sans"} << "Arimo";
    QTest::newRow("last resort") << QStringList{"Noto Serif", "DejaVu Sans"} << "DejaVu Sans";
    QTest::newRow("none: the toolkit's sans-serif") << QStringList{"Noto Serif"} << QString();
  }
  void windowFontFamilyIsTheFirstInstalledOfItsList() {
    QFETCH(QStringList, installed);
    QFETCH(QString, family);
    QCOMPARE(WindowFontFamily(installed), family);
  }

  void everyWindowSpeaksInTheWindowFont() {
    const QFont windowFont = WindowFont(QGuiApplication::primaryScreen());
    QCOMPARE(QApplication::font(), windowFont);
    std::unique_ptr<QMessageBox> box(NewFailureBox("x"));
    QCOMPARE(QFontInfo(box->font()).family(), QFontInfo(windowFont).family());
    QCOMPARE(QFontInfo(box->font()).pixelSize(), 11);
  }

  void handlerFailureIsShownAndTheLoopGoesOn() {
    QWidget window;
    auto* button = new QPushButton("x", &window);
    int presses = 0;
    connect(button, &QPushButton::clicked, [&presses] {
      ++presses;
      throw tolvaro::Error(Cp1251("Ошибка номер ") + std::to_string(presses));
    });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    for (int press = 1; press <= 2; ++press) {
      ShownBox seen;
      tolvaro::testing::CloseNextMessageBox(&seen);
      QTest::mouseClick(button, Qt::LeftButton);
      QVERIFY(seen.shown);
      QCOMPARE(seen.text, QStringLiteral("Ошибка номер %1.").arg(press));
      QCOMPARE(seen.title, ApplicationTitle(QCoreApplication::applicationFilePath()));
      QCOMPARE(seen.icon, int(QMessageBox::Critical));
      QCOMPARE(presses, press);
    }
  }

  void failureInANestedDeliveryWaitsForTheOuterOne() {
    // The edit's writer fails on losing the focus to a pressed button: the
    // focus change completes, and only then does the box show.
    EditAndButton controls;
    QWidget& window = controls.window;
    QLineEdit* edit = controls.edit;
    QPushButton* button = controls.button;
    connect(edit, &QLineEdit::editingFinished, [] { throw tolvaro::Error("write failed"); });
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    edit->setFocus();
    QTest::keyClicks(edit, "abc");
    bool focusMovedFirst = false;
    QString text;
    tolvaro::testing::WhenShown<QMessageBox>(QString(), [&](QMessageBox* box) {
      focusMovedFirst = window.focusWidget() == button;
      text = box->text();
      box->done(QMessageBox::Ok);
    });
    QTest::mousePress(button, Qt::LeftButton);
    QCOMPARE(text, QStringLiteral("write failed."));
    QVERIFY(focusMovedFirst);
    QTest::mouseRelease(button, Qt::LeftButton);
  }

  void hoverGivesTheButtonFocusWithoutPressingIt() {
    EditAndButton controls;
    QWidget& window = controls.window;
    QLineEdit* edit = controls.edit;
    QPushButton* button = controls.button;
    FollowHoverRule(button);
    int finished = 0;
    connect(edit, &QLineEdit::editingFinished, [&finished] { ++finished; });
    bool clicked = false;
    connect(button, &QPushButton::clicked, [&clicked] { clicked = true; });
    window.resize(200, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    edit->setFocus();
    QTest::keyClicks(edit, "login");
    QTest::mouseMove(&window, QPoint(1, 1));
    QTest::mouseMove(button);
    QTRY_VERIFY(button->hasFocus());
    QCOMPARE(finished, 1);
    QVERIFY(!clicked);
  }

  void textCrossesTheWidgetBoundary_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << "Hero" << QByteArray("Hero");
    QTest::newRow("cyrillic") << QStringLiteral("Ёжик ёж") << QByteArray::fromStdString(Cp1251("Ёжик ёж"));
    QTest::newRow("euro sign") << QStringLiteral("5€") << QByteArray::fromStdString(Cp1251("5€"));
    QTest::newRow("lacking letter") << QStringLiteral("aäb") << QByteArray("a?b");
    QTest::newRow("chinese") << QStringLiteral("x中") << QByteArray("x?");
    QTest::newRow("outside the plane is one character") << QStringLiteral("a😀b") << QByteArray("a?b");
    QTest::newRow("control character kept") << QStringLiteral("a\x1A") << QByteArray("a\x1A");
  }
  void textCrossesTheWidgetBoundary() {
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(QByteArray::fromStdString(ToCp1251(text)), bytes);
  }

  void everyByteDecodesToOneCharacter() {
    std::string all;
    for (int byte = 0; byte < 256; ++byte) all.push_back(static_cast<char>(byte));
    const QString decoded = FromCp1251(all);
    QCOMPARE(decoded.size(), 256);
    QCOMPARE(decoded.mid(0xC0, 2), QStringLiteral("АБ"));
    QCOMPARE(decoded.at(0xB8), QChar(u'ё'));
  }
};

TOLVARO_UI_TEST_MAIN(TolvaroApplicationTest)

#include "tolvaro_application_test.moc"
