#include "ui/pers_property_grid.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <utility>

#include "ui/range_spin_box.h"

namespace {

// Set on an editor once the user has changed its content.
constexpr const char* kUserChanged = "userChanged";

void MarkUserChanged(QWidget* editor, PersRecordModel* model) {
  if (!editor->property(kUserChanged).toBool()) {
    editor->setProperty(kUserChanged, true);
    model->BeginEdit();
  }
}

}  // namespace

QWidget* PropertyDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                        const QModelIndex& index) const {
  auto* model = const_cast<PersRecordModel*>(qobject_cast<const PersRecordModel*>(index.model()));
  const PropertyRow* row = model != nullptr ? model->RowAt(index) : nullptr;
  if (row == nullptr) return nullptr;
  switch (row->editor) {
    case PropertyRow::Editor::Text: {
      auto* edit = new QLineEdit(parent);
      edit->setFrame(false);
      connect(edit, &QLineEdit::textEdited, edit, [edit, model] { MarkUserChanged(edit, model); });
      return edit;
    }
    case PropertyRow::Editor::Spin: {
      auto* spin = new RangeSpinBox(parent);
      spin->setFrame(false);
      spin->setRange(row->minimum, row->maximum);
      spin->setSingleStep(row->step);
      spin->SetLargeStep(row->largeStep);
      connect(spin, &RangeSpinBox::UserChanged, spin, [spin, model] { MarkUserChanged(spin, model); });
      return spin;
    }
    case PropertyRow::Editor::Display:
      return nullptr;
  }
  return nullptr;
}

void PropertyDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  editor->setProperty(kUserChanged, false);
  if (auto* spin = qobject_cast<RangeSpinBox*>(editor)) {
    const QVariant value = index.data(Qt::EditRole);
    spin->ShowStored(value.isValid() ? std::optional<int>(value.toInt()) : std::nullopt);
  } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
    edit->setText(index.data(Qt::EditRole).toString());
  }
}

void PropertyDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
  if (!editor->property(kUserChanged).toBool()) return;
  if (auto* spin = qobject_cast<RangeSpinBox*>(editor)) {
    const std::optional<int> entry = spin->Entry();
    if (!entry) {
      setEditorData(editor, index);
      return;
    }
    model->setData(index, *entry);
  } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
    model->setData(index, edit->text());
  }
}

void PropertyDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                            const QModelIndex&) const {
  editor->setGeometry(option.rect.adjusted(0, 0, 0, -1));
}

QSize PropertyDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QSize size = QStyledItemDelegate::sizeHint(option, index);
  size.setHeight(qMax(size.height(), option.fontMetrics.height() + 5));
  return size;
}

void PropertyDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
  QStyledItemDelegate::initStyleOption(option, index);
  if (index.column() == PersRecordModel::CaptionColumn || !index.parent().isValid()) {
    option->backgroundBrush = option->palette.button();
  }
}

PersPropertyGrid::PersPropertyGrid(tolvaro::PersTable& table, std::vector<PropertyCategory> categories,
                                   int captionWidth, QWidget* parent)
    : QTreeView(parent), model_(new PersRecordModel(table, std::move(categories), this)) {
  setModel(model_);
  setItemDelegate(new PropertyDelegate(this));
  header()->hide();
  header()->setStretchLastSection(true);
  header()->setMinimumSectionSize(0);
  header()->resizeSection(PersRecordModel::CaptionColumn, captionWidth);
  setIndentation(12);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(false);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setTabKeyNavigation(false);
  setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::SelectedClicked |
                  QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  for (int category = 0; category < model_->rowCount(); ++category) {
    setFirstColumnSpanned(category, {}, true);
  }
  expandAll();
  setItemsExpandable(true);
}

QWidget* PersPropertyGrid::OpenEditor() const {
  const QModelIndex current = currentIndex();
  return current.isValid() ? indexWidget(current) : nullptr;
}

void PersPropertyGrid::drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  QTreeView::drawRow(painter, option, index);
  painter->save();
  painter->setPen(palette().color(QPalette::Mid));
  painter->drawLine(option.rect.left(), option.rect.bottom(), option.rect.right(), option.rect.bottom());
  if (index.parent().isValid()) {
    const int split = columnViewportPosition(PersRecordModel::ValueColumn) - 1;
    painter->drawLine(split, option.rect.top(), split, option.rect.bottom());
  }
  painter->restore();
}

void PersPropertyGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  // A field row is always entered at its value.
  if (current.isValid() && current.parent().isValid() && current.column() == PersRecordModel::CaptionColumn) {
    setCurrentIndex(current.siblingAtColumn(PersRecordModel::ValueColumn));
    return;
  }
  QTreeView::currentChanged(current, previous);
}

void PersPropertyGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
  // Tab leaves the grid for the next control instead of walking its rows.
  if (hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem) {
    QTreeView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    focusNextPrevChild(hint == QAbstractItemDelegate::EditNextItem);
    return;
  }
  QTreeView::closeEditor(editor, hint);
}
