#include "gui/cases/case_table_model.h"

#include <QBrush>
#include <QColor>
#include <set>

#include "core/shell/number_text.h"
#include "core/shell/rounded_number.h"
#include "core/window/flow_details_table.h"
#include "core/window/frm_rivulet.h"
#include "gui/shell/display_precision.h"
#include "gui/shell/qt_text.h"

namespace rivulet {
namespace {

QColor FromColour(Colour c) { return QColor(c.r, c.g, c.b); }

// The sheet's own status colours: green done, amber done at a surcharged pipe's capacity,
// orange no solution, pink for the rest.
QColor MarkColour(CaseRowMark mark) {
  switch (mark) {
    case CaseRowMark::Solved:
      return FromColour(kStatusGreen);
    case CaseRowMark::Surcharged:
      return FromColour(kSurchargeAmber);
    case CaseRowMark::Unsolved:
      return FromColour(kStatusOrange);
    case CaseRowMark::Rejected:
      return FromColour(kStatusPink);
    case CaseRowMark::Pending:
      break;
  }
  return QColor(255, 255, 208);
}

}  // namespace

CaseTableModel::CaseTableModel(CaseDocument& document, QObject* parent)
    : QAbstractTableModel(parent), doc_(document) {}

QString CaseTableModel::StatusWords(const CaseDocumentRow& row, const std::string& status) {
  if (row.mark != CaseRowMark::Pending) return ToQt(status);
  return status.empty() ? QString("New: not calculated yet") : QString(kStatusModified);
}

void CaseTableModel::RowsChanged(int first, int last) {
  if (first > last) return;
  emit dataChanged(index(first, 0), index(last, columnCount() - 1));
}

void CaseTableModel::Restructure(const std::function<void()>& change) {
  beginResetModel();
  change();
  endResetModel();
}

int CaseTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(doc_.RowCount());
}

int CaseTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(doc_.Header().size());
}

QString CaseTableModel::ShownCell(const std::string& column, const std::string& cell) {
  static const std::set<std::string> kFigures{
      "flow", "depth", "width", "sideSlope", "slope", "manningsN", "area", "otherFlow", "altValue"};
  if (!kFigures.count(column) || !IsNumericText(cell)) return ToQt(cell);
  const int digits = DisplayPrecision::Instance().Digits();
  return ToQt(RoundedNumber(ReadNumber(cell), digits > 0 ? digits : 6));
}

QVariant CaseTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const CaseDocumentRow& row = doc_.Row(static_cast<size_t>(index.row()));
  const size_t column = static_cast<size_t>(index.column());
  const std::string& cell = row.cells[column];
  const bool isStatus = doc_.Header()[column] == "status";
  switch (role) {
    case Qt::DisplayRole:
      return isStatus ? StatusWords(row, cell) : ShownCell(doc_.Header()[column], cell);
    case Qt::EditRole:
      return ToQt(cell);
    case kSortRole:
      if (isStatus) return static_cast<int>(row.mark);
      if (IsNumericText(cell)) return ReadNumber(cell);
      return ToQt(cell);
    case kMarkRole:
      return static_cast<int>(row.mark);
    case Qt::BackgroundRole:
      if (isStatus || column == 0) return QBrush(MarkColour(row.mark));
      if (doc_.IsResultColumn(column) && row.mark == CaseRowMark::Pending && !cell.empty())
        return QBrush(QColor(236, 236, 236));  // a result of inputs since changed
      return {};
    case Qt::ToolTipRole: {
      const auto message = doc_.Column("message");
      if (isStatus && message && !row.cells[*message].empty()) return ToQt(row.cells[*message]);
      return {};
    }
    case Qt::TextAlignmentRole:
      return IsNumericText(cell) ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    default:
      return {};
  }
}

bool CaseTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::EditRole) return false;
  const size_t column = static_cast<size_t>(index.column());
  if (doc_.IsResultColumn(column)) return false;
  const std::string text = value.toString().toStdString();
  const size_t row = static_cast<size_t>(index.row());
  if (doc_.Row(row).cells[column] == text) return false;
  doc_.SetCell(row, column, text);
  RowsChanged(index.row(), index.row());
  emit Edited();
  return true;
}

Qt::ItemFlags CaseTableModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (!doc_.IsResultColumn(static_cast<size_t>(index.column()))) f |= Qt::ItemIsEditable;
  return f;
}

QVariant CaseTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  if (section < 0 || section >= columnCount()) return {};
  return ToQt(doc_.Header()[static_cast<size_t>(section)]);
}

void CaseFilterModel::SetMark(int mark) {
  mark_ = mark;
  invalidateFilter();
}

void CaseFilterModel::SetText(const QString& text) {
  text_ = text;
  invalidateFilter();
}

bool CaseFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex& parent) const {
  const QAbstractItemModel* m = sourceModel();
  if (mark_ >= 0 && m->index(sourceRow, 0, parent).data(CaseTableModel::kMarkRole).toInt() != mark_)
    return false;
  if (text_.isEmpty()) return true;
  for (int c = 0; c < m->columnCount(parent); ++c)
    if (m->index(sourceRow, c, parent)
            .data(Qt::DisplayRole)
            .toString()
            .contains(text_, Qt::CaseInsensitive))
      return true;
  return false;
}

bool CaseFilterModel::lessThan(const QModelIndex& left, const QModelIndex& right) const {
  const QVariant a = left.data(CaseTableModel::kSortRole);
  const QVariant b = right.data(CaseTableModel::kSortRole);
  const bool an = a.typeId() == QMetaType::Double || a.typeId() == QMetaType::Int;
  const bool bn = b.typeId() == QMetaType::Double || b.typeId() == QMetaType::Int;
  // Numbers before words, empty cells last.
  if (an && bn) return a.toDouble() < b.toDouble();
  if (an != bn) return an;
  const QString as = a.toString(), bs = b.toString();
  if (as.isEmpty() != bs.isEmpty()) return !as.isEmpty();
  return QString::localeAwareCompare(as, bs) < 0;
}

}  // namespace rivulet
