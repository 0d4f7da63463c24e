#include "ui/gen_page.h"

#include <QGroupBox>
#include <QVBoxLayout>
#include <vector>

#include "roster/pers_record.h"
#include "ui/field_memo.h"
#include "ui/hot_zone_splitter.h"
#include "ui/mouse_enter_focus.h"
#include "ui/pers_grid.h"
#include "ui/pers_property_grid.h"

namespace {

constexpr int kBottomBarHeight = 40;
constexpr int kPersWidth = 250;
constexpr int kDescrHeight = 190;
constexpr int kSplitterWidth = 8;
constexpr QSize kButtonSize(100, 25);
constexpr int kButtonTop = 10;
constexpr int kButtonLefts[] = {5, 110, 215, 320};
constexpr int kCaptionWidth = 130;
constexpr QMargins kPageMargins(2, 1, 2, 1);

std::vector<PropertyCategory> PersProperties() {
  using Editor = PropertyRow::Editor;
  using namespace tolvaro;
  return {
      {QStringLiteral("Главное"),
       {{QStringLiteral("Игрок"), kLogin, Editor::Text},
        {QStringLiteral("Персонаж"), kName, Editor::Text}}},
      {QStringLiteral("Атрибуты"),
       {{QStringLiteral("Сила"), kS, Editor::Spin, 1, 5, 1, 1},
        {QStringLiteral("Ловкость"), kL, Editor::Spin, 1, 5, 1, 1},
        {QStringLiteral("Красота"), kK, Editor::Spin, 1, 5, 1, 1}}},
      {QStringLiteral("Навыки"),
       {{QStringLiteral("Фехтование"), kM, Editor::Spin, 100, 1000, 10, 100},
        {QStringLiteral("Рукопашный бой"), kR, Editor::Spin, 100, 1000, 10, 100},
        {QStringLiteral("Бег"), kB, Editor::Spin, 100, 1000, 10, 100}}},
      {QStringLiteral("Суммарно"),
       {{QStringLiteral("Стоимость"), kC},
        {QStringLiteral("Боевая эфф."), kE},
        {QStringLiteral("Рукопашная эфф."), kRE}}},
  };
}

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
  // The page control's frame leaves a page area of 976 x 534 at the start size.
  pageLayout->setContentsMargins(kPageMargins);
  pageLayout->setSpacing(0);

  gen.spMain = new HotZoneSplitter(gen.page);
  gen.spMain->setObjectName("spMain");
  gen.spMain->setHandleWidth(kSplitterWidth);

  gen.gbPers = NewGroupBox("gbPers", QStringLiteral(" Персонаж "), gen.spMain);
  auto* persLayout = new QVBoxLayout(gen.gbPers);
  persLayout->setContentsMargins(2, 2, 2, 2);
  persLayout->setSpacing(0);
  gen.vgGen = new PersPropertyGrid(pers, PersProperties(), kCaptionWidth, gen.gbPers);
  gen.vgGen->setObjectName("vgGen");
  gen.vgGen->setAccessibleName(gen.gbPers->accessibleName());
  persLayout->addWidget(gen.vgGen, 1);
  gen.gbPersDescr = NewGroupBox("gbPersDescr", QStringLiteral(" Описание "), gen.gbPers);
  gen.gbPersDescr->setFixedHeight(kDescrHeight);
  persLayout->addWidget(gen.gbPersDescr, 0);
  auto* descrLayout = new QVBoxLayout(gen.gbPersDescr);
  descrLayout->setContentsMargins(2, 2, 2, 2);
  gen.mmDescr = new FieldMemo(pers, tolvaro::kD, gen.gbPersDescr);
  gen.mmDescr->setObjectName("mmDescr");
  gen.mmDescr->setAccessibleName(gen.gbPersDescr->accessibleName());
  descrLayout->addWidget(gen.mmDescr);

  gen.grGen = new PersGrid(pers, RosterColumns(), gen.spMain);
  gen.grGen->setObjectName("grGen");

  gen.spMain->addWidget(gen.gbPers);
  gen.spMain->addWidget(gen.grGen);
  gen.spMain->setCollapsible(1, false);
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
