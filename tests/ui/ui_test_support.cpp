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
  auto* timer = new QTimer(qApp);
  auto clock = std::make_shared<QElapsedTimer>();
  clock->start();
  if (found != nullptr) *found = false;
  QObject::connect(timer, &QTimer::timeout, timer, [timer, clock, &type, objectName, action, found] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (!widget->isVisible() || !type.cast(widget)) continue;
      if (!objectName.isEmpty() && widget->objectName() != objectName) continue;
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
