#include "gui/cases/case_cell_delegate.h"

#include <QComboBox>

#include "core/cases/case_input.h"
#include "core/cases/case_units.h"

namespace rivulet {
namespace {

QStringList Texts(std::initializer_list<UnitList> lists) {
  QStringList out{QString()};
  for (UnitList l : lists)
    for (const std::string& t : UnitTexts(l)) out << QString::fromStdString(t);
  return out;
}

QStringList Words(const std::vector<std::string>& words) {
  QStringList out;
  for (const std::string& w : words) out << QString::fromStdString(w);
  return out;
}

QString ColumnOf(const QModelIndex& index) {
  return index.model()->headerData(index.column(), Qt::Horizontal, Qt::DisplayRole).toString();
}

}  // namespace

QStringList CaseColumnChoices(const QString& c) {
  if (c == "section") return Words(CaseSectionWords());
  if (c == "solveFor") return Words(CaseUnknownWords());
  if (c == "runningFull") return {QString(), "true", "false"};
  if (c == "flowUnit" || c == "otherFlowUnit" || c == "altFlowUnit")
    return Texts({UnitList::Velocity, UnitList::Discharge});
  if (c == "depthUnit" || c == "widthUnit") return Texts({UnitList::Length});
  if (c == "sideSlopeUnit") return Texts({UnitList::SideSlope});
  if (c == "slopeUnit") return Texts({UnitList::Slope});
  if (c == "areaUnit" || c == "altAreaUnit") return Texts({UnitList::Area});
  if (c == "altValueUnit") return Texts({UnitList::Length, UnitList::SideSlope});
  return {};
}

QWidget* CaseCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const {
  const QStringList choices = CaseColumnChoices(ColumnOf(index));
  if (choices.isEmpty()) return QStyledItemDelegate::createEditor(parent, option, index);
  auto* box = new QComboBox(parent);
  box->setObjectName("cellChooser");
  box->addItems(choices);
  return box;
}

void CaseCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  auto* box = qobject_cast<QComboBox*>(editor);
  if (!box) {
    QStyledItemDelegate::setEditorData(editor, index);
    return;
  }
  const QString current = index.data(Qt::EditRole).toString();
  int at = box->findText(current);
  // An ASCII spelling (cfs, ft) stays what it is until another entry is chosen.
  if (at < 0) {
    box->addItem(current);
    at = box->count() - 1;
  }
  box->setCurrentIndex(at);
}

void CaseCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                    const QModelIndex& index) const {
  if (auto* box = qobject_cast<QComboBox*>(editor))
    model->setData(index, box->currentText(), Qt::EditRole);
  else
    QStyledItemDelegate::setModelData(editor, model, index);
}

}  // namespace rivulet
