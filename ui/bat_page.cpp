#include "ui/bat_page.h"

#include <QWidget>

#include "ui/ufMain.h"

QWidget* BuildBatPage(TfMain& window) {
  auto* page = new QWidget(&window);
  page->setObjectName("tsBat");
  return page;
}
