#include "gui/sections/section_editor.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "core/sections/section_csv.h"
#include "core/shell/startup.h"
#include "gui/sections/section_drawing.h"
#include "gui/sections/section_points_model.h"
#include "gui/sections/section_rating_window.h"
#include "gui/worksheets/worksheet_window.h"

namespace rivulet {
namespace {

using nlohmann::json;

QString Q(const std::string& s) { return QString::fromStdString(s); }

QComboBox* LengthUnits(const QString& name) {
  auto* box = new QComboBox;
  box->setObjectName(name);
  for (const FileUnit& u : FileUnits(Dimension::Length))
    box->addItem(Q(std::string(u.symbol)), Q(std::string(u.name)));
  return box;
}

double Factor(const std::string& unitName) {
  const FileUnit* u = FindFileUnit(Dimension::Length, unitName);
  return u ? u->factor : 1;
}

// The numbers of a list in a JSON entry; anything else in it reads as NaN.
std::vector<double> Numbers(const json* entry, const char* member) {
  std::vector<double> out;
  if (!entry || !entry->is_object() || !entry->contains(member) || !(*entry)[member].is_array())
    return out;
  for (const json& v : (*entry)[member])
    out.push_back(v.is_number() ? v.get<double>() : std::nan(""));
  return out;
}

json NumberList(const std::vector<double>& values) {
  json list = json::array();
  for (double v : values) list.push_back(std::isfinite(v) ? json(v) : json(nullptr));
  return list;
}

QString Cell(double v) { return std::isfinite(v) ? QLocale::c().toString(v, 'g', 12) : QString(); }

double ReadCell(const QTableWidgetItem* item) {
  bool ok = false;
  const double v = item ? QLocale::c().toDouble(item->text().trimmed(), &ok) : 0;
  return ok ? v : std::nan("");
}

}  // namespace

SectionEditor::SectionEditor(WorksheetWindow& window, QWidget* parent)
    : QWidget(parent), window_(window) {
  setObjectName("sectionEditor");
  message_ = [this](const QString& text) {
    QMessageBox::warning(this, QString::fromUtf8(kProductName), text);
  };
  auto* tables = new QVBoxLayout;

  auto* unitRow = new QHBoxLayout;
  unit_ = LengthUnits("cboPointsUnit");
  unitRow->addWidget(new QLabel("Points (station, elevation) in"));
  unitRow->addWidget(unit_);
  unitRow->addStretch(1);
  tables->addLayout(unitRow);

  points_ = new SectionPointsModel(this);
  pointsView_ = new QTableView;
  pointsView_->setObjectName("tblPoints");
  pointsView_->setModel(points_);
  pointsView_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  pointsView_->verticalHeader()->setDefaultSectionSize(22);
  pointsView_->setMinimumHeight(200);
  tables->addWidget(pointsView_, 2);

  auto* pointButtons = new QHBoxLayout;
  auto button = [this](QHBoxLayout* row, const QString& text, const QString& name, auto slot) {
    auto* b = new QPushButton(text);
    b->setObjectName(name);
    connect(b, &QPushButton::clicked, this, slot);
    row->addWidget(b);
    return b;
  };
  button(pointButtons, "&Add", "cmdAddPoint", [this] {
    const QModelIndex current = pointsView_->currentIndex();
    points_->AddAfter(current.isValid() ? current.row() : points_->rowCount() - 1);
  });
  button(pointButtons, "&Delete", "cmdDeletePoints", [this] {
    std::vector<int> rows;
    for (const QModelIndex& i : pointsView_->selectionModel()->selectedIndexes())
      rows.push_back(i.row());
    points_->RemoveRows(rows);
  });
  button(pointButtons, "&Paste", "cmdPastePoints", [this] { PasteFromClipboard(); });
  button(pointButtons, "&Import CSV...", "cmdImportCsv", [this] { ImportCsvFile(); });
  tables->addLayout(pointButtons);
  // Ctrl+V in the table pastes points from a spreadsheet, not into one cell.
  auto* paste = new QShortcut(QKeySequence::Paste, pointsView_, nullptr, nullptr,
                              Qt::WidgetWithChildrenShortcut);
  connect(paste, &QShortcut::activated, this, [this] { PasteFromClipboard(); });
  auto* remove =
      new QShortcut(QKeySequence::Delete, pointsView_, nullptr, nullptr, Qt::WidgetShortcut);
  connect(remove, &QShortcut::activated, this, [this] {
    std::vector<int> rows;
    for (const QModelIndex& i : pointsView_->selectionModel()->selectedRows())
      rows.push_back(i.row());
    points_->RemoveRows(rows);
  });

  tables->addWidget(new QLabel("Roughness zones (each from its station to the next):"));
  zones_ = new QTableWidget(1, 2);
  zones_->setObjectName("tblZones");
  zones_->setHorizontalHeaderLabels({"From station", "Manning's n"});
  zones_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  zones_->verticalHeader()->setDefaultSectionSize(22);
  zones_->setMaximumHeight(130);
  {
    auto* from = new QTableWidgetItem("left end");
    from->setFlags(from->flags() & ~Qt::ItemIsEditable);
    zones_->setItem(0, 0, from);
    zones_->setItem(0, 1, new QTableWidgetItem(QString()));
  }
  tables->addWidget(zones_, 1);
  auto* zoneButtons = new QHBoxLayout;
  button(zoneButtons, "Add &Zone", "cmdAddZone", [this] {
    const int rows = zones_->rowCount();
    const auto& s = points_->Stations();
    double from = s.empty() ? 0 : (s.front() + s.back()) / 2;
    if (rows > 1 && !s.empty()) from = (ReadCell(zones_->item(rows - 1, 0)) + s.back()) / 2;
    zones_->insertRow(rows);
    zones_->setItem(rows, 0, new QTableWidgetItem(Cell(from)));
    zones_->setItem(rows, 1,
                    new QTableWidgetItem(
                        zones_->item(rows - 1, 1) ? zones_->item(rows - 1, 1)->text() : QString()));
    PushZones();
  });
  button(zoneButtons, "Delete Z&one", "cmdDeleteZone", [this] {
    const int row = zones_->currentRow() > 0 ? zones_->currentRow() : zones_->rowCount() - 1;
    if (row < 1) return;  // the first zone starts at the left end and always stays
    zones_->removeRow(row);
    PushZones();
  });
  tables->addLayout(zoneButtons);
  connect(zones_, &QTableWidget::itemChanged, this, [this] {
    if (!loading_) PushZones();
  });

  walls_ = new QCheckBox("Extend the ends with vertical walls");
  walls_->setObjectName("chkExtendWalls");
  connect(walls_, &QCheckBox::clicked, this, [this](bool on) {
    window_.Model().SetFlagOption("extendWalls", on);
    window_.Sync();
  });
  tables->addWidget(walls_);
  auto* lastRow = new QHBoxLayout;
  solveSlope_ = new QRadioButton("Solve for the slope");
  solveSlope_->setObjectName("unknown_slope");
  solveSlope_->setAutoExclusive(false);
  connect(solveSlope_, &QRadioButton::clicked, this, [this] {
    window_.Model().SetUnknown("slope");
    window_.Sync();
  });
  lastRow->addWidget(solveSlope_);
  button(lastRow, "&Rating Table...", "cmdRating", [this] { OpenRating(); });
  tables->addLayout(lastRow);

  // The tables keep a fixed width and the drawing a bounded height, so that the inputs and
  // results beside them keep their room on a 1366x768 screen.
  auto* tablesBox = new QWidget;
  tablesBox->setLayout(tables);
  tablesBox->setFixedWidth(std::max(340, tablesBox->sizeHint().width()));
  drawing_ = new SectionDrawing;
  drawing_->setMaximumHeight(420);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(tablesBox, 0, Qt::AlignTop);

  connect(points_, &SectionPointsModel::Edited, this, [this] { PushPoints(); });
  connect(unit_, &QComboBox::activated, this, [this] {
    PushPoints();
    PushZones();
  });
  connect(&window_, &WorksheetWindow::Synced, this, [this] { FollowModel(); });
  FollowModel();
}

std::string SectionEditor::PointsUnit() const {
  return unit_->currentData().toString().toStdString();
}

void SectionEditor::PushPoints() {
  json entry = {{"unit", PointsUnit()},
                {"station", NumberList(points_->Stations())},
                {"elevation", NumberList(points_->Elevations())}};
  sentPoints_ = entry;
  window_.Model().SetListInput("points", std::move(entry));
  window_.Sync();
}

void SectionEditor::PushZones() {
  std::vector<double> breaks, n;
  for (int r = 0; r < zones_->rowCount(); ++r) {
    if (r > 0) breaks.push_back(ReadCell(zones_->item(r, 0)));
    n.push_back(ReadCell(zones_->item(r, 1)));
  }
  json entry = {{"unit", PointsUnit()}, {"breaks", NumberList(breaks)}, {"n", NumberList(n)}};
  sentZones_ = entry;
  window_.Model().SetListInput("nZones", std::move(entry));
  window_.Sync();
}

void SectionEditor::FollowModel() {
  const WorksheetModel& m = window_.Model();
  const json* points = m.ListInput("points");
  const json* zones = m.ListInput("nZones");
  // A file read (or a new window) replaced the lists: show what it holds.
  if ((points && *points != sentPoints_) || (zones && *zones != sentZones_)) LoadTablesFromModel();
  walls_->setChecked(m.FlagOption("extendWalls"));
  solveSlope_->setChecked(m.Unknown() == "slope");
  UpdateDrawing();
}

void SectionEditor::LoadTablesFromModel() {
  const WorksheetModel& m = window_.Model();
  const json* points = m.ListInput("points");
  const json* zones = m.ListInput("nZones");
  loading_ = true;
  if (points) {
    sentPoints_ = *points;
    if (points->contains("unit") && (*points)["unit"].is_string())
      unit_->setCurrentIndex(unit_->findData(Q((*points)["unit"].get<std::string>())));
    points_->SetPoints(Numbers(points, "station"), Numbers(points, "elevation"));
  }
  if (zones) {
    sentZones_ = *zones;
    const std::vector<double> breaks = Numbers(zones, "breaks"), n = Numbers(zones, "n");
    // Breaks are shown in the points' unit.
    std::string unit = PointsUnit();
    if (zones->contains("unit") && (*zones)["unit"].is_string())
      unit = (*zones)["unit"].get<std::string>();
    const double scale = Factor(unit) / Factor(PointsUnit());
    zones_->setRowCount(static_cast<int>(std::max(n.size(), breaks.size() + 1)));
    for (int r = 0; r < zones_->rowCount(); ++r) {
      auto* from = new QTableWidgetItem(r == 0 ? QString("left end")
                                               : Cell(breaks[static_cast<size_t>(r - 1)] * scale));
      if (r == 0) from->setFlags(from->flags() & ~Qt::ItemIsEditable);
      zones_->setItem(r, 0, from);
      zones_->setItem(
          r, 1,
          new QTableWidgetItem(static_cast<size_t>(r) < n.size() ? Cell(n[static_cast<size_t>(r)])
                                                                 : QString()));
    }
  }
  loading_ = false;
}

void SectionEditor::UpdateDrawing() {
  const WorksheetModel& m = window_.Model();
  SectionPicture p;
  const double toMetres = Factor(PointsUnit());
  for (double s : points_->Stations()) p.station.push_back(s * toMetres);
  for (double z : points_->Elevations()) p.elevation.push_back(z * toMetres);
  for (int r = 1; r < zones_->rowCount(); ++r)
    p.breaks.push_back(ReadCell(zones_->item(r, 0)) * toMetres);
  for (int r = 0; r < zones_->rowCount(); ++r) p.n.push_back(ReadCell(zones_->item(r, 1)));
  if (m.State() == ResultsState::Current) {
    const SheetOutcome& o = m.Outcome();
    if (const NamedResult* w = o.Find("waterSurfaceElevation")) p.waterSurface = w->value;
    if (const NamedResult* c = o.Find("criticalWaterSurfaceElevation"))
      p.criticalSurface = c->value;
    for (const ResultRow& row : m.ResultRows()) {
      if (row.name == "waterSurfaceElevation") p.waterText = Q(row.text + " " + row.unitSymbol);
      if (row.name == "depth") p.depthText = Q(row.text + " " + row.unitSymbol);
    }
  }
  drawing_->SetPicture(std::move(p));
}

bool SectionEditor::ImportText(const std::string& text, const QString& stationUnit,
                               const QString& elevationUnit) {
  const StationText t = ReadStationText(text);
  if (!t.ok) {
    message_(Q(t.message));
    return false;
  }
  QString sUnit = stationUnit, zUnit = elevationUnit;
  if (sUnit.isEmpty() || zUnit.isEmpty()) {
    // Each column may come in its own unit: ask, offering what the header names.
    QDialog ask(this);
    ask.setWindowTitle("Units of the Points");
    auto* form = new QFormLayout(&ask);
    form->addRow(new QLabel(QString("%1 points read.").arg(t.station.size())));
    QComboBox* s = LengthUnits("cboStationUnit");
    QComboBox* z = LengthUnits("cboElevationUnit");
    const QString fallback = unit_->currentData().toString();
    s->setCurrentIndex(s->findData(t.stationUnit.empty() ? fallback : Q(t.stationUnit)));
    z->setCurrentIndex(z->findData(t.elevationUnit.empty() ? fallback : Q(t.elevationUnit)));
    form->addRow(Q(t.stationHeader.empty() ? "Station" : t.stationHeader) + " in", s);
    form->addRow(Q(t.elevationHeader.empty() ? "Elevation" : t.elevationHeader) + " in", z);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, &ask, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &ask, &QDialog::reject);
    form->addRow(buttons);
    if (ask.exec() != QDialog::Accepted) return false;
    sUnit = s->currentData().toString();
    zUnit = z->currentData().toString();
  }
  const double target = Factor(PointsUnit());
  const double sScale = Factor(sUnit.toStdString()) / target;
  const double zScale = Factor(zUnit.toStdString()) / target;
  std::vector<double> station, elevation;
  for (double v : t.station) station.push_back(v * sScale);
  for (double v : t.elevation) elevation.push_back(v * zScale);
  points_->SetPoints(std::move(station), std::move(elevation));
  PushPoints();
  return true;
}

void SectionEditor::PasteFromClipboard() {
  ImportText(QApplication::clipboard()->text().toStdString());
}

void SectionEditor::ImportCsvFile() {
  const QString path = QFileDialog::getOpenFileName(this, "Import Points", QString(),
                                                    "CSV Files (*.csv *.txt);;All Files (*)");
  if (path.isEmpty()) return;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    message_("Unable to read " + path + ".");
    return;
  }
  // One byte past the limit is enough for the reader to refuse an oversized file.
  const QByteArray bytes = file.read(static_cast<qint64>(kMaxStationTextBytes) + 1);
  ImportText(bytes.toStdString());
}

void SectionEditor::OpenRating() {
  auto* rating = new SectionRatingWindow(window_, window_.WindowPrinter(), this);
  rating->show();
}

void SetUpSectionWindow(WorksheetWindow& window) {
  auto* editor = new SectionEditor(window);
  window.SetDrawing(editor);
  // The drawing under the few inputs, the tables beside the results: a laptop's width.
  window.AddBelowInputs(editor->Drawing());
}

}  // namespace rivulet
