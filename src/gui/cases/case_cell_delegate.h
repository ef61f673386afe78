// Editors of the case table's cells: a list for the section, the unknown, the lock and
// every unit column, a line edit for the rest.
#pragma once

#include <QStringList>
#include <QStyledItemDelegate>

namespace rivulet {

/// The choices a column offers ("" first: the start sheet's unit); empty for free text.
QStringList CaseColumnChoices(const QString& column);

class CaseCellDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override;
};

}  // namespace rivulet
