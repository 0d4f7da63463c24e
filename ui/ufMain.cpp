#include "ui/ufMain.h"

TfMain::TfMain(QWidget* parent) : QMainWindow(parent) {
  setObjectName("fMain");
  setWindowTitle("Tolvaro");
  resize(984, 562);
}
