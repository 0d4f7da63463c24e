#pragma once

#include <QApplication>
#include <QString>
#include <QWidget>
#include <QtTest>
#include <functional>

#include "ui/pers_property_grid.h"
#include "ui/tolvaro_application.h"

namespace tolvaro::testing {

// Headless by default, with a fixed DPI, before the application exists.
void PrepareHeadlessRun();

// Runs action once a visible top-level widget of type T (with the given
// objectName when one is given) shows up, polling from whatever event loop
// runs, a modal one included. Gives up after a few seconds, closing whatever
// modal window is open so the test cannot hang, and then reports false
// through *found when that is given.
void WhenShown(const QMetaObject& type, const QString& objectName, std::function<void(QWidget*)> action,
               bool* found = nullptr);

template <typename T>
void WhenShown(const QString& objectName, std::function<void(T*)> action, bool* found = nullptr) {
  WhenShown(T::staticMetaObject, objectName, [action](QWidget* w) { action(static_cast<T*>(w)); }, found);
}

// Types text into the focused control, one key press per character, any
// character included (a surrogate pair is one key press).
void TypeIntoFocus(const QString& text);

// One key press on the focused control.
void KeyIntoFocus(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Clicks the value cell of a field's row in the property grid, which opens
// its editor, and gives back the editor (none for a row without one).
QWidget* OpenPropertyEditor(PersPropertyGrid* grid, int field);

// What a closed failure box showed.
struct ShownBox {
  bool shown = false;
  QString text;
  QString title;
  int icon = -1;
};

// Closes the next message box that shows up and records what it showed.
void CloseNextMessageBox(ShownBox* seen);

}  // namespace tolvaro::testing

// A main() for a Qt Test class under the application object of the tool.
#define TOLVARO_UI_TEST_MAIN(TestClass)                   \
  int main(int argc, char** argv) {                       \
    tolvaro::testing::PrepareHeadlessRun();               \
    TolvaroApplication app(argc, argv);                   \
    TestClass test;                                       \
    QTEST_SET_MAIN_SOURCE_PATH                            \
    return QTest::qExec(&test, argc, argv);               \
  }
