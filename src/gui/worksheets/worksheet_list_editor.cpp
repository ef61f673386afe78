#include "gui/worksheets/worksheet_list_editor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <set>

#include "core/shell/number_text.h"
#include "gui/shell/qt_text.h"

namespace rivulet {
namespace {

using Json = nlohmann::json;

constexpr int kIdColumn = 0;
constexpr int kShownRows = 6;  // rows in view before the table scrolls

// A typed number with either "." or "," as the decimal point (what a spreadsheet in a
// comma locale hands over), or nullopt.
std::optional<double> TypedNumber(QString text) {
  text = text.trimmed();
  if (!text.contains('.')) text.replace(',', '.');
  const std::string s = text.toStdString();
  if (!IsNumericText(s)) return std::nullopt;
  return ReadNumber(s);
}

}  // namespace

WorksheetListEditor::WorksheetListEditor(const InputField& field, std::function<void(Json)> changed,
                                         QWidget* parent)
    : QGroupBox(ToQt(field.label), parent), field_(field), changed_(std::move(changed)) {
  setObjectName("list_" + ToQt(field.name));
  auto* column = new QVBoxLayout(this);

  QStringList headers{"Id"};
  for (const ListColumn& c : field_.columns) headers << ToQt(c.label);
  table_ = new QTableWidget(0, static_cast<int>(headers.size()));
  table_->setObjectName("table_" + ToQt(field.name));
  table_->setHorizontalHeaderLabels(headers);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 10);
  table_->setMinimumHeight(table_->horizontalHeader()->sizeHint().height() +
                           kShownRows * table_->verticalHeader()->defaultSectionSize() + 4);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  connect(table_, &QTableWidget::cellChanged, this, &WorksheetListEditor::CellEdited);
  column->addWidget(table_);

  // One unit per quantity column: the whole column is shown, typed and converted in it.
  auto* bottom = new QHBoxLayout;
  auto* unitGrid = new QGridLayout;
  int at = 0;
  for (const ListColumn& c : field_.columns) {
    if (c.dimension == Dimension::None || !c.choices.empty()) continue;
    auto* box = new QComboBox;
    box->setObjectName("unit_" + ToQt(field.name) + "_" + ToQt(c.name));
    for (const FileUnit& u : FileUnits(c.dimension))
      box->addItem(ToQt(std::string(u.symbol)), ToQt(std::string(u.name)));
    connect(box, &QComboBox::activated, this,
            [this, &c, box] { UnitChosen(c, box->currentData().toString().toStdString()); });
    auto* label = new QLabel(ToQt(c.label) + ":");
    label->setBuddy(box);
    unitGrid->addWidget(label, at / 4, 2 * (at % 4));
    unitGrid->addWidget(box, at / 4, 2 * (at % 4) + 1);
    units_.emplace_back(&c, box);
    ++at;
  }
  bottom->addLayout(unitGrid);
  bottom->addStretch(1);
  auto* add = new QPushButton("A&dd Row");
  add->setObjectName("add_" + ToQt(field.name));
  connect(add, &QPushButton::clicked, this, &WorksheetListEditor::AddRow);
  auto* remove = new QPushButton("&Remove Row");
  remove->setObjectName("remove_" + ToQt(field.name));
  connect(remove, &QPushButton::clicked, this, &WorksheetListEditor::RemoveRows);
  bottom->addWidget(add, 0, Qt::AlignTop);
  bottom->addWidget(remove, 0, Qt::AlignTop);
  column->addLayout(bottom);
  Rebuild();
}

std::string WorksheetListEditor::ColumnUnit(const ListColumn& column) const {
  for (const auto& [c, box] : units_)
    if (c == &column && box->currentIndex() >= 0)
      return box->currentData().toString().toStdString();
  return "";
}

void WorksheetListEditor::ShowRows(const Json* rows) {
  const Json shown = rows && rows->is_array() ? *rows : Json::array();
  if (shown == rows_) return;
  rows_ = shown;
  Rebuild();
}

void WorksheetListEditor::Rebuild() {
  building_ = true;
  // Each quantity column takes the unit its first row is written in, else SI's.
  for (const auto& [c, box] : units_) {
    std::string unit;
    for (const Json& row : rows_) {
      if (!row.is_object() || !row.contains(c->name) || !row[c->name].is_object()) continue;
      const auto u = row[c->name].find("unit");
      if (u != row[c->name].end() && u->is_string() &&
          FindFileUnit(c->dimension, u->get<std::string>())) {
        unit = u->get<std::string>();
        break;
      }
    }
    if (unit.empty()) unit = std::string(SystemUnit(c->dimension, UnitSystem::SI)->name);
    box->setCurrentIndex(box->findData(ToQt(unit)));
  }
  table_->clearContents();
  table_->setRowCount(static_cast<int>(rows_.size()));
  for (int r = 0; r < table_->rowCount(); ++r) {
    const Json& row = rows_[static_cast<size_t>(r)];
    const bool object = row.is_object();
    const auto id = object ? row.find("id") : row.end();
    table_->setItem(r, kIdColumn,
                    new QTableWidgetItem(object && id != row.end() && id->is_string()
                                             ? ToQt(id->get<std::string>())
                                             : QString()));
    for (size_t c = 0; c < field_.columns.size(); ++c) {
      const ListColumn& column = field_.columns[c];
      const int at = static_cast<int>(c) + 1;
      const auto member = object ? row.find(column.name) : row.end();
      const bool has = object && member != row.end() && !member->is_null();
      if (!column.choices.empty()) {
        auto* box = new QComboBox;
        for (const Choice& choice : column.choices)
          box->addItem(ToQt(choice.label), ToQt(choice.name));
        const QString word = has && member->is_string() ? ToQt(member->get<std::string>())
                                                        : ToQt(column.choices.front().name);
        box->setCurrentIndex(std::max(0, box->findData(word)));
        connect(box, &QComboBox::activated, this, [this, box, name = column.name, table = table_] {
          for (int i = 0; i < table->rowCount(); ++i)
            for (int j = 0; j < table->columnCount(); ++j)
              if (table->cellWidget(i, j) == box) {
                rows_[static_cast<size_t>(i)][name] = box->currentData().toString().toStdString();
                Publish();
                return;
              }
        });
        table_->setCellWidget(r, at, box);
        continue;
      }
      QString text;
      if (has && member->is_object()) {
        const auto value = member->find("value");
        if (value != member->end() && value->is_number()) {
          double v = value->get<double>();
          // Shown in the column's unit: a row written in another unit is converted.
          const auto unit = member->find("unit");
          const FileUnit* from = unit != member->end() && unit->is_string()
                                     ? FindFileUnit(column.dimension, unit->get<std::string>())
                                     : nullptr;
          const FileUnit* to = FindFileUnit(column.dimension, ColumnUnit(column));
          if (from && to && from != to) v = FromBase(*to, ToBase(*from, v));
          text = ToQt(FormatNumber(v));
        }
      }
      table_->setItem(r, at, new QTableWidgetItem(text));
    }
  }
  building_ = false;
}

void WorksheetListEditor::CellEdited(int row, int column) {
  if (building_ || row < 0 || static_cast<size_t>(row) >= rows_.size()) return;
  Json& target = rows_[static_cast<size_t>(row)];
  if (!target.is_object()) target = Json::object();
  QTableWidgetItem* item = table_->item(row, column);
  const QString text = item ? item->text().trimmed() : QString();
  if (column == kIdColumn) {
    if (text.isEmpty())
      target.erase("id");
    else
      target["id"] = text.toStdString();
    Publish();
    return;
  }
  const ListColumn& c = field_.columns[static_cast<size_t>(column - 1)];
  const std::optional<double> value = TypedNumber(text);
  building_ = true;
  if (item) {
    // A text that is no number stays as typed, marked, and the row's value is left empty
    // so that Calculate refuses the row by name instead of using an old number.
    item->setBackground(!text.isEmpty() && !value ? QBrush(QColor(255, 200, 200)) : QBrush());
    item->setToolTip(!text.isEmpty() && !value ? "Not a number: " + text : QString());
    if (value) item->setText(ToQt(FormatNumber(*value)));
  }
  building_ = false;
  if (text.isEmpty()) {
    target.erase(c.name);
  } else {
    Json entry = {{"value", value ? Json(*value) : Json(nullptr)}};
    if (c.dimension != Dimension::None) entry["unit"] = ColumnUnit(c);
    target[c.name] = std::move(entry);
  }
  Publish();
}

void WorksheetListEditor::UnitChosen(const ListColumn& column, const std::string& unitName) {
  const FileUnit* to = FindFileUnit(column.dimension, unitName);
  if (!to) return;
  // The values are converted, not reinterpreted: 3 ft becomes 0.9144 m.
  for (Json& row : rows_) {
    if (!row.is_object() || !row.contains(column.name) || !row[column.name].is_object()) continue;
    Json& entry = row[column.name];
    const auto value = entry.find("value");
    const auto unit = entry.find("unit");
    const FileUnit* from = unit != entry.end() && unit->is_string()
                               ? FindFileUnit(column.dimension, unit->get<std::string>())
                               : nullptr;
    if (value != entry.end() && value->is_number() && from)
      *value = FromBase(*to, ToBase(*from, value->get<double>()));
    entry["unit"] = unitName;
  }
  Rebuild();
  Publish();
}

void WorksheetListEditor::AddRow() {
  Json row = Json::object();
  for (const ListColumn& c : field_.columns)
    if (!c.choices.empty()) row[c.name] = c.choices.front().name;
  rows_.push_back(std::move(row));
  Rebuild();
  table_->setCurrentCell(table_->rowCount() - 1, field_.columns.empty() ? 0 : 1);
  table_->setFocus();
  Publish();
}

void WorksheetListEditor::RemoveRows() {
  std::set<int, std::greater<>> chosen;
  for (const QModelIndex& index : table_->selectionModel()->selectedIndexes())
    chosen.insert(index.row());
  if (chosen.empty() && table_->currentRow() >= 0) chosen.insert(table_->currentRow());
  if (chosen.empty()) return;
  for (int r : chosen)
    if (static_cast<size_t>(r) < rows_.size()) rows_.erase(static_cast<size_t>(r));
  Rebuild();
  Publish();
}

void WorksheetListEditor::Publish() {
  if (changed_) changed_(rows_);
}

}  // namespace rivulet
