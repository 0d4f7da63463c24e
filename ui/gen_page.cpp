#include "ui/gen_page.h"

#include <QGroupBox>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTreeView>
#include <QVBoxLayout>
#include <vector>

#include "ui/mouse_enter_focus.h"
#include "ui/pers_grid.h"

namespace {

constexpr int kBottomBarHeight = 40;
constexpr int kPersWidth = 250;
constexpr int kDescrHeight = 190;
constexpr int kSplitterWidth = 8;
constexpr QSize kButtonSize(100, 25);
constexpr int kButtonTop = 10;
constexpr int kButtonLefts[] = {5, 110, 215, 320};

std::vector<GridColumn> RosterColumns() {
  return {
      {QStringLiteral("Игрок"), "Login", 100},
      {QStringLiteral("Персонаж"), "Name", 100},
      {QStringLiteral("БЭ"), "E", 50},
      {QStringLiteral("РЭ"), "RE", -1},
      {QStringLiteral("Стоим."), "C", 50},
      {QStringLiteral("Сила"), "S", 50},
      {QStringLiteral("Ловк."), "L", 50},
      {QStringLiteral("Красота"), "K", 50},
      {QStringLiteral("Фехт."), "M", 50},
      {QStringLiteral("РБ"), "R", 50},
      {QStringLiteral("Бег"), "B", 50},
  };
}

QGroupBox* NewGroupBox(const char* name, const QString& caption, QWidget* parent) {
  auto* box = new QGroupBox(caption, parent);
  box->setObjectName(name);
  box->setAccessibleName(caption.trimmed());
  return box;
}

QPushButton* NewButton(const char* name, const QString& caption, int left, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setAccessibleName(caption);
  button->setGeometry(QRect(QPoint(left, kButtonTop), kButtonSize));
  button->setAutoDefault(false);
  FollowHoverRule(button);
  return button;
}

}  // namespace

GenPage BuildGenPage(tolvaro::PersTable& pers, QWidget* parent) {
  GenPage gen;
  gen.page = new QWidget(parent);
  gen.page->setObjectName("tsGen");
  gen.page->setAccessibleName(QStringLiteral("Генератор"));
  auto* pageLayout = new QVBoxLayout(gen.page);
  pageLayout->setContentsMargins(0, 0, 0, 0);
  pageLayout->setSpacing(0);

  gen.spMain = new QSplitter(Qt::Horizontal, gen.page);
  gen.spMain->setObjectName("spMain");
  gen.spMain->setHandleWidth(kSplitterWidth);

  gen.gbPers = NewGroupBox("gbPers", QStringLiteral(" Персонаж "), gen.spMain);
  auto* persLayout = new QVBoxLayout(gen.gbPers);
  persLayout->setContentsMargins(2, 2, 2, 2);
  persLayout->setSpacing(0);
  auto* vgGen = new QTreeView(gen.gbPers);
  vgGen->setObjectName("vgGen");
  gen.vgGen = vgGen;
  persLayout->addWidget(gen.vgGen, 1);
  gen.gbPersDescr = NewGroupBox("gbPersDescr", QStringLiteral(" Описание "), gen.gbPers);
  gen.gbPersDescr->setFixedHeight(kDescrHeight);
  persLayout->addWidget(gen.gbPersDescr, 0);
  auto* descrLayout = new QVBoxLayout(gen.gbPersDescr);
  descrLayout->setContentsMargins(2, 2, 2, 2);
  auto* mmDescr = new QPlainTextEdit(gen.gbPersDescr);
  mmDescr->setObjectName("mmDescr");
  gen.mmDescr = mmDescr;
  descrLayout->addWidget(gen.mmDescr);

  gen.grGen = new PersGrid(pers, RosterColumns(), gen.spMain);
  gen.grGen->setObjectName("grGen");

  gen.spMain->addWidget(gen.gbPers);
  gen.spMain->addWidget(gen.grGen);
  gen.spMain->setStretchFactor(0, 0);
  gen.spMain->setStretchFactor(1, 1);
  gen.spMain->setSizes({kPersWidth, 1});
  pageLayout->addWidget(gen.spMain, 1);

  gen.gbGenBot = NewGroupBox("gbGenBot", QString(), gen.page);
  gen.gbGenBot->setFixedHeight(kBottomBarHeight);
  pageLayout->addWidget(gen.gbGenBot, 0);
  gen.btNew = NewButton("btNew", QStringLiteral("Новый"), kButtonLefts[0], gen.gbGenBot);
  gen.btDel = NewButton("btDel", QStringLiteral("Удалить"), kButtonLefts[1], gen.gbGenBot);
  gen.btSave = NewButton("btSave", QStringLiteral("Сохранить"), kButtonLefts[2], gen.gbGenBot);
  gen.btLoad = NewButton("btLoad", QStringLiteral("Загрузить"), kButtonLefts[3], gen.gbGenBot);
  return gen;
}
