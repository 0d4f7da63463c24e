#include <QApplication>

#include "ui/ufMain.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  TfMain window;
  window.show();
  return app.exec();
}
