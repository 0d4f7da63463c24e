#include "tests/ui/ui_test_support.h"

#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <memory>

namespace tolvaro::testing {

void PrepareHeadlessRun() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  qputenv("QT_FONT_DPI", "96");
  qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
}

void WhenShown(const QMetaObject& type, const QString& objectName, std::function<void(QWidget*)> action,
               bool* found) {
  constexpr int kGiveUpMs = 5000;
  // A window is acted on once the platform has made it active, or after this
  // long visible where the platform never does.
  constexpr int kSettleMs = 300;
  auto* timer = new QTimer(qApp);
  auto clock = std::make_shared<QElapsedTimer>();
  auto visibleSince = std::make_shared<QElapsedTimer>();
  clock->start();
  if (found != nullptr) *found = false;
  QObject::connect(timer, &QTimer::timeout, timer, [timer, clock, visibleSince, &type, objectName, action, found] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (!widget->isVisible() || !type.cast(widget)) continue;
      if (!objectName.isEmpty() && widget->objectName() != objectName) continue;
      if (!visibleSince->isValid()) visibleSince->start();
      const bool active = widget->isActiveWindow() || QApplication::activePopupWidget() == widget;
      if (!active && visibleSince->elapsed() < kSettleMs) return;
      timer->stop();
      timer->deleteLater();
      if (found != nullptr) *found = true;
      action(widget);
      return;
    }
    if (clock->elapsed() > kGiveUpMs) {
      timer->stop();
      timer->deleteLater();
      if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    }
  });
  timer->start(10);
}

void TypeIntoFocus(const QString& text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    const qsizetype length = text[i].isHighSurrogate() ? 2 : 1;
    QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key_unknown, text.mid(i, length),
                        Qt::NoModifier);
    i += length - 1;
  }
}

void KeyIntoFocus(int key, Qt::KeyboardModifiers modifiers) {
  QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), modifiers);
}

QWidget* OpenPropertyEditor(PersPropertyGrid* grid, int field) {
  const QModelIndex index = grid->RecordModel()->IndexOfField(field);
  grid->scrollTo(index);
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(index).center());
  return grid->indexWidget(index);
}

void CloseNextMessageBox(ShownBox* seen) {
  WhenShown<QMessageBox>(QString(), [seen](QMessageBox* box) {
    seen->shown = true;
    seen->text = box->text();
    seen->title = box->windowTitle();
    seen->icon = box->icon();
    box->done(QMessageBox::Ok);
  });
}

}  // namespace tolvaro::testing
