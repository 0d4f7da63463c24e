#include "ui/tolvaro_application.h"
#include "ui/ufMain.h"

int main(int argc, char* argv[]) {
  TolvaroApplication app(argc, argv);
  TfMain fMain;
  fMain.show();
  return app.exec();
}
