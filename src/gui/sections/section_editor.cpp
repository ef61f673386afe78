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
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <memory>

#include "core/sections/section_csv.h"
#include "core/shell/startup.h"
#include "core/shell/text_file.h"
#include "core/worksheets/file_units.h"
#include "gui/sections/section_drawing.h"
#include "gui/sections/section_points_model.h"
#include "gui/sections/section_rating_window.h"
#include "gui/shell/qt_text.h"
#include "gui/worksheets/worksheet_window.h"

namespace rivulet {
namespace {

QComboBox* LengthUnits(const QString& name) {
  auto* box = new QComboBox;
  box->setObjectName(name);
  for (const FileUnit& u : FileUnits(Dimension::Length))
    box->addItem(ToQt(std::string(u.symbol)), ToQt(std::string(u.name)));
  return box;
}

QString CellText(const QTableWidget* table, int row, int column) {
  const QTableWidgetItem* item = table->item(row, column);
  return item ? item->text() : QString();
}

}  // namespace

SectionEditor::SectionEditor(WorksheetWindow& window, QWidget* parent)
    : QWidget(parent), window_(window), model_(window.Model()) {
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

  points_ = new SectionPointsModel(model_, this);
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
  button(pointButtons, "&Delete", "cmdDeletePoints", [this] { DeleteSelectedPoints(false); });
  button(pointButtons, "&Paste", "cmdPastePoints", [this] { PasteFromClipboard(); });
  button(pointButtons, "&Import CSV...", "cmdImportCsv", [this] { ImportCsvFile(); });
  tables->addLayout(pointButtons);
  // Ctrl+V in the table pastes points from a spreadsheet, not into one cell.
  auto* paste = new QShortcut(QKeySequence::Paste, pointsView_, nullptr, nullptr,
                              Qt::WidgetWithChildrenShortcut);
  connect(paste, &QShortcut::activated, this, [this] { PasteFromClipboard(); });
  auto* remove =
      new QShortcut(QKeySequence::Delete, pointsView_, nullptr, nullptr, Qt::WidgetShortcut);
  connect(remove, &QShortcut::activated, this, [this] { DeleteSelectedPoints(true); });

  tables->addWidget(new QLabel("Roughness zones (each from its station to the next):"));
  zones_ = new QTableWidget(1, 2);
  zones_->setObjectName("tblZones");
  zones_->setHorizontalHeaderLabels({"From station", "Manning's n"});
  zones_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  zones_->verticalHeader()->setDefaultSectionSize(22);
  zones_->setMaximumHeight(130);
  DrawZones();
  tables->addWidget(zones_, 1);
  auto* zoneButtons = new QHBoxLayout;
  button(zoneButtons, "Add &Zone", "cmdAddZone", [this] {
    model_.AddZone();
    DrawZones();
    window_.Sync();
  });
  button(zoneButtons, "Delete Z&one", "cmdDeleteZone", [this] {
    if (!model_.DeleteZone(zones_->currentRow())) return;
    DrawZones();
    window_.Sync();
  });
  tables->addLayout(zoneButtons);
  connect(zones_, &QTableWidget::itemChanged, this, [this] {
    if (!drawingZones_) SendZones();
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

  connect(points_, &SectionPointsModel::Edited, this, [this] { window_.Sync(); });
  connect(unit_, &QComboBox::activated, this, [this] {
    model_.SetUnit(unit_->currentData().toString().toStdString());
    window_.Sync();
  });
  connect(&window_, &WorksheetWindow::Synced, this, [this] { FollowModel(); });
  FollowModel();
}

void SectionEditor::DeleteSelectedPoints(bool wholeRows) {
  std::vector<int> rows;
  const QItemSelectionModel* selection = pointsView_->selectionModel();
  for (const QModelIndex& i : wholeRows ? selection->selectedRows() : selection->selectedIndexes())
    rows.push_back(i.row());
  points_->RemoveRows(rows);
}

void SectionEditor::SendZones() {
  std::vector<SectionZoneRow> rows;
  for (int r = 0; r < zones_->rowCount(); ++r)
    rows.push_back({CellText(zones_, r, 0).toStdString(), CellText(zones_, r, 1).toStdString()});
  model_.SetZones(std::move(rows));
  window_.Sync();
}

void SectionEditor::FollowModel() {
  if (model_.Follow()) {
    unit_->setCurrentIndex(unit_->findData(ToQt(model_.Unit())));
    points_->Reset();
    DrawZones();
  }
  const WorksheetModel& m = window_.Model();
  walls_->setChecked(m.FlagOption("extendWalls"));
  solveSlope_->setChecked(m.Unknown() == "slope");
  drawing_->SetPicture(model_.Picture());
}

void SectionEditor::DrawZones() {
  drawingZones_ = true;
  const std::vector<SectionZoneRow>& rows = model_.Zones();
  zones_->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < zones_->rowCount(); ++r) {
    const SectionZoneRow& row = rows[static_cast<size_t>(r)];
    auto* from = new QTableWidgetItem(r == 0 ? QString("left end") : ToQt(row.from));
    if (r == 0) from->setFlags(from->flags() & ~Qt::ItemIsEditable);
    zones_->setItem(r, 0, from);
    zones_->setItem(r, 1, new QTableWidgetItem(ToQt(row.n)));
  }
  drawingZones_ = false;
}

bool SectionEditor::ImportText(const std::string& text, const QString& stationUnit,
                               const QString& elevationUnit) {
  const StationText t = ReadStationText(text);
  if (!t.ok) {
    message_(ToQt(t.message));
    return false;
  }
  QString sUnit = stationUnit, zUnit = elevationUnit;
  if (sUnit.isEmpty() || zUnit.isEmpty()) {
    // Each column may come in its own unit: ask, offering what the header names.
    QDialog ask(this);
    ask.setWindowTitle("Units of the Points");
    auto* form = new QFormLayout(&ask);
    // How the text was read, so a spreadsheet's own layout can be checked at a glance.
    form->addRow(
        new QLabel(QString("%1 points read (%2).").arg(t.station.size()).arg(ToQt(t.layout))));
    QComboBox* s = LengthUnits("cboStationUnit");
    QComboBox* z = LengthUnits("cboElevationUnit");
    const QString fallback = ToQt(model_.Unit());
    s->setCurrentIndex(s->findData(t.stationUnit.empty() ? fallback : ToQt(t.stationUnit)));
    z->setCurrentIndex(z->findData(t.elevationUnit.empty() ? fallback : ToQt(t.elevationUnit)));
    form->addRow(ToQt(t.stationHeader.empty() ? "Station" : t.stationHeader) + " in", s);
    form->addRow(ToQt(t.elevationHeader.empty() ? "Elevation" : t.elevationHeader) + " in", z);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, &ask, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &ask, &QDialog::reject);
    form->addRow(buttons);
    if (ask.exec() != QDialog::Accepted) return false;
    sUnit = s->currentData().toString();
    zUnit = z->currentData().toString();
  }
  model_.ImportPoints(t, sUnit.toStdString(), zUnit.toStdString());
  points_->Reset();
  window_.Sync();
  return true;
}

void SectionEditor::PasteFromClipboard() {
  ImportText(QApplication::clipboard()->text().toStdString());
}

void SectionEditor::ImportCsvFile() {
  const QString path = QFileDialog::getOpenFileName(this, "Import Points", QString(),
                                                    "CSV Files (*.csv *.txt);;All Files (*)");
  if (path.isEmpty()) return;
  // Opening a named pipe would wait for a writer that may never come.
  if (const std::string why = NotAFileToRead(path.toStdString()); !why.empty()) {
    message_("Unable to read " + path + ": " + ToQt(why) + ".");
    return;
  }
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

std::vector<ReportDrawing> SectionReportDrawings(const Document& document,
                                                 const SheetOutcome& outcome) {
  std::optional<SectionPicture> picture = SectionPictureOf(document, outcome);
  if (!picture) return {};
  auto view = std::make_shared<SectionDrawing>();
  view->SetPicture(std::move(*picture));
  return {WidgetDrawing("The surveyed section with its roughness zones", view, {560, 300})};
}

void SetUpSectionWindow(WorksheetWindow& window) {
  auto* editor = new SectionEditor(window);
  window.SetDrawing(editor);
  // The drawing under the few inputs, the tables beside the results: a laptop's width.
  window.AddBelowInputs(editor->Drawing());
}

}  // namespace rivulet
