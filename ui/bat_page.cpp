#include "ui/bat_page.h"

#include <algorithm>

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <vector>

#include "ui/check_group.h"
#include "ui/range_spin_box.h"
#include "ui/mouse_enter_focus.h"
#include "ui/panel_box.h"
#include "ui/pers_grid.h"
#include "ui/result_memo.h"
#include "ui/ufMain.h"

namespace {

constexpr int kSideWidth = 350;
constexpr int kOptionsHeight = 150;
constexpr int kCheckGroupWidth = 150;
constexpr QPoint kBonusLabelAt(155, 40);
constexpr QPoint kAmountLabelAt(155, 67);
constexpr QRect kBonusEditorRect(290, 40, 50, 21);
constexpr QRect kAmountEditorRect(290, 63, 50, 21);
constexpr int kBonusLimit = 100;
constexpr int kBonusLargeStep = 10;
constexpr int kMaxOpponents = 4;
constexpr int kOpponentsLargeStep = 1;
constexpr int kCommandHeight = 150;
constexpr QMargins kCommandMargins(5, 10, 5, 0);
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 6;  // the second button stands at y = 41

// Both lists show the roster's columns; only the beauty column's caption is
// spelt differently here, and only the first four are shown.
std::vector<GridColumn> ListColumns() {
  return {
      {QStringLiteral("Игрок"), "Login", 100},
      {QStringLiteral("Персонаж"), "Name", 100},
      {QStringLiteral("БЭ"), "E", 50},
      {QStringLiteral("РЭ"), "RE", -1},
      {QStringLiteral("Стоим."), "C", 50, false},
      {QStringLiteral("Сила"), "S", 50, false},
      {QStringLiteral("Ловк."), "L", 50, false},
      {QStringLiteral("Кросота"), "K", 50, false},
      {QStringLiteral("Фехт."), "M", 50, false},
      {QStringLiteral("РБ"), "R", 50, false},
      {QStringLiteral("Бег"), "B", 50, false},
  };
}

QStringList OptionCaptions() {
  return {QStringLiteral("Без оружия"), QStringLiteral("Попытка обезоружить"), QStringLiteral("Не убивать"),
          QStringLiteral("Не калечить")};
}

// The objectNames of one side's controls, in BatSidePanel's order.
struct SideNames {
  const char* gbBat;
  const char* grBat;
  const char* gbBatOpt;
  const char* cgBatOpt;
  const char* lbBatOpt1;
  const char* seBatOptBonus;
  const char* lbBatOpt2;
  const char* seBatOptAmount;
};

constexpr SideNames kLeftNames{"gbBatLeft",     "grBatLeft",         "gbBatOptLeft",  "cgBatOptLeft",
                               "lbBatOptLeft1", "seBatOptBonusLeft", "lbBatOptLeft2", "seBatOptAmountLeft"};
constexpr SideNames kRightNames{"gbBatRiht",      "grBatRight",         "gbBatOptRight",  "cgBatOptRight",
                                "lbBatOptRight1", "seBatOptBonusRight", "lbBatOptRight2", "seBatOptAmountRight"};

PanelBox* NewPanel(const char* name, const QString& caption, QMargins margins, QWidget* parent) {
  auto* box = new PanelBox(caption, margins, parent);
  box->setObjectName(name);
  return box;
}

QLabel* NewLabel(const char* name, const QString& caption, QPoint at, QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(name);
  label->setAccessibleName(caption);
  label->adjustSize();
  label->move(at);
  return label;
}

RangeSpinBox* NewSpinEditor(const char* name, int minimum, int maximum, int largeStep, QRect rect, QLabel* label,
                            QWidget* parent) {
  auto* editor = new RangeSpinBox(parent);
  editor->setRange(minimum, maximum);
  editor->setSingleStep(1);
  editor->SetLargeStep(largeStep);
  // An emptied entry becomes 0 brought into the range.
  editor->SetEmptyEntry(RangeSpinBox::EmptyEntry::Zero);
  // The value follows an entry only once it is finished.
  editor->setKeyboardTracking(false);
  editor->setValue(std::clamp(0, minimum, maximum));
  editor->setObjectName(name);
  editor->setAccessibleName(label->text());
  editor->setGeometry(rect);
  label->setBuddy(editor);
  return editor;
}

QPushButton* NewButton(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setAccessibleName(caption);
  button->setFixedHeight(kButtonHeight);
  button->setAutoDefault(false);
  FollowHoverRule(button);
  return button;
}

BatSidePanel BuildSide(tolvaro::PersTable& list, const SideNames& names, const QString& caption, QWidget* parent) {
  BatSidePanel side;
  side.gbBat = NewPanel(names.gbBat, caption, PanelBox::kCaptionedMargins, parent);
  side.gbBat->setFixedWidth(kSideWidth);
  auto* layout = new QVBoxLayout(side.gbBat);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  side.grBat = new PersGrid(list, ListColumns(), side.gbBat);
  side.grBat->setObjectName(names.grBat);
  side.grBat->setAccessibleName(side.gbBat->accessibleName());
  layout->addWidget(side.grBat, 1);

  side.gbBatOpt = NewPanel(names.gbBatOpt, QStringLiteral(" Опции "), PanelBox::kCaptionedMargins, side.gbBat);
  side.gbBatOpt->setFixedHeight(kOptionsHeight);
  layout->addWidget(side.gbBatOpt, 0);

  // The options box keeps its height, so its content has fixed places.
  const QMargins inner = PanelBox::kCaptionedMargins;
  side.cgBatOpt = new CheckGroup(OptionCaptions(), side.gbBatOpt);
  side.cgBatOpt->setObjectName(names.cgBatOpt);
  side.cgBatOpt->setAccessibleName(side.gbBatOpt->accessibleName());
  side.cgBatOpt->setGeometry(inner.left(), inner.top(), kCheckGroupWidth,
                             kOptionsHeight - inner.top() - inner.bottom());

  side.lbBatOpt1 = NewLabel(names.lbBatOpt1, QStringLiteral("Суммарный бонус, %"), kBonusLabelAt, side.gbBatOpt);
  side.seBatOptBonus = NewSpinEditor(names.seBatOptBonus, -kBonusLimit, kBonusLimit, kBonusLargeStep, kBonusEditorRect,
                                     side.lbBatOpt1, side.gbBatOpt);
  side.lbBatOpt2 = NewLabel(names.lbBatOpt2, QStringLiteral("Количество противников"), kAmountLabelAt, side.gbBatOpt);
  side.seBatOptAmount = NewSpinEditor(names.seBatOptAmount, 1, kMaxOpponents, kOpponentsLargeStep, kAmountEditorRect,
                                      side.lbBatOpt2, side.gbBatOpt);
  return side;
}

// The side's stops in Tab order: its list, its check group, bonus, opponents.
std::vector<QWidget*> TabStops(const BatSidePanel& side) {
  std::vector<QWidget*> stops{side.grBat};
  for (int item = 0; item < side.cgBatOpt->Count(); ++item) stops.push_back(side.cgBatOpt->Item(item));
  stops.push_back(side.seBatOptBonus);
  stops.push_back(side.seBatOptAmount);
  return stops;
}

}  // namespace

void BuildBatPage(TfMain& window) {
  BatPage& page = window.batPage;
  auto* layout = new QHBoxLayout(page.tsBat);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  page.left = BuildSide(window.Bat1(), kLeftNames, QStringLiteral(" 1й персонаж "), page.tsBat);
  page.right = BuildSide(window.Bat2(), kRightNames, QStringLiteral(" 2й персонаж "), page.tsBat);
  layout->addWidget(page.left.gbBat, 0);
  layout->addWidget(page.right.gbBat, 0);

  page.grBatRes = NewPanel("grBatRes", QStringLiteral(" Результат "), PanelBox::kCaptionedMargins, page.tsBat);
  layout->addWidget(page.grBatRes, 1);
  auto* resultLayout = new QVBoxLayout(page.grBatRes);
  resultLayout->setContentsMargins(0, 0, 0, 0);
  resultLayout->setSpacing(0);
  page.mmBatRes = new ResultMemo(page.grBatRes);
  page.mmBatRes->setObjectName("mmBatRes");
  page.mmBatRes->setAccessibleName(page.grBatRes->accessibleName());
  resultLayout->addWidget(page.mmBatRes, 1);

  page.gbBatCon = NewPanel("gbBatCon", QString(), QMargins(), page.grBatRes);
  page.gbBatCon->setFixedHeight(kCommandHeight);
  resultLayout->addWidget(page.gbBatCon, 0);
  auto* commandLayout = new QVBoxLayout(page.gbBatCon);
  commandLayout->setContentsMargins(kCommandMargins);
  commandLayout->setSpacing(kButtonGap);
  page.btBatRes = NewButton("btBatRes", QStringLiteral("Результат боя"), page.gbBatCon);
  page.btPersPrint = NewButton("btPersPrint", QStringLiteral("Таблица 1го персонажа"), page.gbBatCon);
  commandLayout->addWidget(page.btBatRes);
  commandLayout->addWidget(page.btPersPrint);
  commandLayout->addStretch(1);

  QObject::connect(page.btBatRes, &QPushButton::clicked, &window, &TfMain::btBatResClick);
  QObject::connect(page.btPersPrint, &QPushButton::clicked, &window, &TfMain::btPersPrintClick);

  // From the page tabs through the left side, the right side, the two
  // buttons and the memo.
  std::vector<QWidget*> order{window.pcMain->tabBar()};
  for (QWidget* stop : TabStops(page.left)) order.push_back(stop);
  for (QWidget* stop : TabStops(page.right)) order.push_back(stop);
  order.insert(order.end(), {page.btBatRes, page.btPersPrint, page.mmBatRes});
  for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}
