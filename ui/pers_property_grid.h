#pragma once

#include <QStyledItemDelegate>
#include <QTreeView>
#include <vector>

#include "roster/pers_table.h"
#include "ui/pers_record_model.h"

// Creates the in-place editors of a property grid and decides what a finished
// entry writes: nothing unless the user changed something; a spin entry that
// is given up (emptied, not a number) writes nothing and the field's value
// shows again.
class PropertyDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
  void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const override;
  // Rows tall enough for an in-place editor.
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

// A vertical property grid over the current record of a PersTable: categories
// (all expanded) with their rows, a caption column of fixed width and a value
// column with in-place editors. The value of a row is written when its entry
// is finished: the focus leaves the editor, or Enter.
class PersPropertyGrid : public QTreeView {
  Q_OBJECT

 public:
  PersPropertyGrid(tolvaro::PersTable& table, std::vector<PropertyCategory> categories, int captionWidth,
                   QWidget* parent = nullptr);

  PersRecordModel* RecordModel() const { return model_; }

  // The open in-place editor, if any.
  QWidget* OpenEditor() const;

 protected:
  void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

 private:
  PersRecordModel* model_;
};
