#include "gui/networks/network_window.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <any>
#include <cmath>
#include <fstream>
#include <memory>

#include "core/shell/safe_file.h"
#include "core/shell/startup.h"
#include "core/worksheets/list_csv.h"
#include "core/worksheets/network_sheet.h"
#include "core/worksheets/records_csv.h"

namespace rivulet {
namespace {

// Round exaggerations read better than 13.7:1; rounded down, so the drawing still fits.
int RoundExaggeration(double ratio) {
  int best = 1;
  for (int step : {2, 5, 10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 10000})
    if (step <= ratio) best = step;
  return best;
}

QString Figure(double metres, const ProfileUnit& unit) {
  return QString::number(metres / unit.metres, 'f', 2) + " " + unit.symbol;
}

}  // namespace

NetworkProfileView::NetworkProfileView(QWidget* parent) : QWidget(parent) {
  setObjectName("picNetworkProfile");
  setMinimumSize(460, 260);
}

void NetworkProfileView::SetProfile(std::optional<NetworkProfile> profile, ProfileUnit unit) {
  profile_ = std::move(profile);
  unit_ = std::move(unit);
  update();
}

void NetworkProfileView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  if (!profile_ || profile_->structures.size() < 2) {
    p.drawText(rect(), Qt::AlignCenter, tr("Calculate to draw the long section."));
    return;
  }
  const NetworkProfile& pr = *profile_;
  double low = INFINITY, high = -INFINITY;
  for (const ProfileStructure& s : pr.structures) {
    low = std::min({low, s.invert, s.hydraulic});
    high = std::max({high, s.rim, s.energy});
  }
  for (const ProfilePipe& q : pr.pipes) {
    low = std::min(low, q.downstreamInvert);
    high = std::max({high, q.upstreamEnergy, q.downstreamEnergy});
  }
  const double length = std::max(pr.structures.back().station, 1e-6);
  const double rise = std::max(high - low, 1e-6);
  const QRectF area = QRectF(rect()).adjusted(60, 24, -16, -44);
  // One vertical exaggeration for the whole drawing, rounded, so that distances read true.
  // A path steeper than the box is drawn at true scale, narrower than the box.
  const double across = std::min(area.width() / length, area.height() / rise);
  const int exaggeration = RoundExaggeration(area.height() / rise / across);
  const double up = across * exaggeration;
  const auto at = [&](double station, double elevation) {
    return QPointF(area.left() + station * across, area.bottom() - (elevation - low) * up);
  };

  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::darkGray, 1));
  for (const ProfilePipe& q : pr.pipes) {
    QPolygonF barrel{at(q.startStation, q.upstreamInvert), at(q.endStation, q.downstreamInvert),
                     at(q.endStation, q.downstreamInvert + q.diameter),
                     at(q.startStation, q.upstreamInvert + q.diameter)};
    p.setBrush(QColor(225, 225, 225));
    p.drawPolygon(barrel);
  }
  QPainterPath ground;
  for (const ProfileStructure& s : pr.structures) {
    const QPointF rim = at(s.station, s.rim);
    // isEmpty() still holds after the first moveTo, so the first point is told by place.
    &s == &pr.structures.front() ? ground.moveTo(rim) : ground.lineTo(rim);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(s.surcharged ? Qt::red : Qt::black, 1.5));
    p.drawLine(at(s.station, s.invert), rim);
    p.drawText(rim + QPointF(-12, -6), QString::fromStdString(s.id));
  }
  p.setPen(QPen(QColor(120, 80, 40), 1.5, Qt::DotLine));
  p.drawPath(ground);

  // The grade lines run down the path, stepping at each structure by its losses.
  const auto line = [&](bool energy, const QPen& pen) {
    QPainterPath path;
    for (std::size_t i = 0; i < pr.structures.size(); ++i) {
      const ProfileStructure& s = pr.structures[i];
      const QPointF point = at(s.station, energy ? s.energy : s.hydraulic);
      i == 0 ? path.moveTo(point) : path.lineTo(point);
      if (i < pr.pipes.size()) {
        const ProfilePipe& q = pr.pipes[i];
        path.lineTo(at(q.startStation, energy ? q.upstreamEnergy : q.upstreamHydraulic));
        path.lineTo(at(q.endStation, energy ? q.downstreamEnergy : q.downstreamHydraulic));
      }
    }
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
  };
  line(true, QPen(Qt::red, 1.5, Qt::DashLine));
  line(false, QPen(Qt::blue, 1.5));

  p.setPen(Qt::black);
  p.drawText(QPointF(4, area.top() + 4), Figure(high, unit_));
  p.drawText(QPointF(4, area.bottom()), Figure(low, unit_));
  p.drawText(
      QPointF(area.left(), rect().bottom() - 20),
      tr("Length %1, vertical exaggeration %2:1").arg(Figure(length, unit_)).arg(exaggeration));
  p.drawText(QPointF(area.left(), rect().bottom() - 5), tr("EGL red dashed, HGL blue"));
}

namespace {

QString ToQt(const std::string& s) { return QString::fromStdString(s); }

// Which structures each pipe joins: the list table edits quantities and words, these two
// are names, so they get a small table of their own that writes into the same rows.
QWidget* NetworkConnections(WorksheetWindow& window) {
  auto* group = new QGroupBox(QObject::tr("Pipe Connections"));
  auto* table = new QTableWidget(0, 3);
  table->setObjectName("tblPipeConnections");
  table->setHorizontalHeaderLabels({QObject::tr("Pipe"), QObject::tr("From"), QObject::tr("To")});
  table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  table->verticalHeader()->setVisible(false);
  table->setMinimumHeight(120);
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(table);

  const auto fill = [&window, table] {
    const nlohmann::json* rows = window.Model().ListInput("pipes");
    const QSignalBlocker quiet(table);
    const int count = rows && rows->is_array() ? static_cast<int>(rows->size()) : 0;
    table->setRowCount(count);
    for (int r = 0; r < count; ++r) {
      const nlohmann::json& row = (*rows)[static_cast<std::size_t>(r)];
      const auto text = [&row](const char* member) {
        return row.is_object() && row.contains(member) && row[member].is_string()
                   ? ToQt(row[member].get<std::string>())
                   : QString();
      };
      auto* id = new QTableWidgetItem(text("id"));
      id->setFlags(id->flags() & ~Qt::ItemIsEditable);  // the list table names the pipe
      table->setItem(r, 0, id);
      table->setItem(r, 1, new QTableWidgetItem(text("from")));
      table->setItem(r, 2, new QTableWidgetItem(text("to")));
    }
  };
  QObject::connect(table, &QTableWidget::cellChanged, table, [&window, table](int r, int c) {
    const nlohmann::json* rows = window.Model().ListInput("pipes");
    if (!rows || !rows->is_array() || c < 1 || r < 0 || r >= static_cast<int>(rows->size())) return;
    nlohmann::json edited = *rows;
    nlohmann::json& row = edited[static_cast<std::size_t>(r)];
    if (!row.is_object()) row = nlohmann::json::object();
    const std::string text = table->item(r, c)->text().trimmed().toStdString();
    const char* member = c == 1 ? "from" : "to";
    text.empty() ? (void)row.erase(member) : (void)(row[member] = text);
    window.Model().SetListInput("pipes", std::move(edited));
    window.Sync();
  });
  QObject::connect(&window, &WorksheetWindow::Synced, table, fill);
  fill();
  return group;
}

void ImportRows(WorksheetWindow& window, const std::string& list, const char* title) {
  Services& services = window.WindowServices();
  const auto choice =
      services.OpenFileDialog({title, {{"CSV files (*.csv)", "*.csv"}}, "", "csv", ""});
  if (!choice) return;
  // A table of structures or pipes is a few MB at most; far larger is no such table.
  constexpr std::size_t kMost = 64u << 20;
  std::ifstream in(choice->path, std::ios::binary);
  std::string text(kMost + 1, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  text.resize(static_cast<std::size_t>(in.gcount()));
  if (!in && !in.eof()) {
    services.MessageBox("Could not read " + choice->path + ".", kProductName,
                        MessageIcon::Exclamation);
    return;
  }
  if (text.size() > kMost) {
    services.MessageBox(choice->name + " is too large to be a table of a network.", kProductName,
                        MessageIcon::Exclamation);
    return;
  }
  const ListCsv read = ListRowsFromCsv(text, {"id", "from", "to"});
  if (!read.error.empty()) {
    services.MessageBox(choice->name + ": " + read.error, kProductName, MessageIcon::Exclamation);
    return;
  }
  window.Model().SetListInput(list, read.rows);
  window.Sync();
}

void ExportTable(WorksheetWindow& window, const std::string& result, const char* title) {
  Services& services = window.WindowServices();
  const WorksheetModel& model = window.Model();
  const NamedResult* table =
      model.State() == ResultsState::Current ? model.Outcome().Find(result) : nullptr;
  if (!table) {
    services.MessageBox("Calculate first: there is no " + result + " table to save.", kProductName,
                        MessageIcon::None);
    return;
  }
  const auto choice = services.SaveFileDialog(
      {title, {{"CSV files (*.csv)", "*.csv"}}, result + ".csv", "csv", ""});
  if (!choice) return;
  const SaveOutcome saved =
      ReplaceFileContent(choice->path, RecordsCsvText(*table, model.ToDocument()));
  if (!saved)
    services.MessageBox(
        "The table could not be saved to " + choice->path + ": " + SaveCause(saved) + ".",
        kProductName, MessageIcon::Exclamation);
}

QWidget* NetworkFiles(WorksheetWindow& window) {
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  const auto button = [&](const char* name, const QString& text, std::function<void()> act) {
    auto* b = new QPushButton(text);
    b->setObjectName(name);
    QObject::connect(b, &QPushButton::clicked, row, std::move(act));
    layout->addWidget(b);
  };
  button("cmdImportStructures", QObject::tr("Import Structures..."),
         [&window] { ImportRows(window, "structures", "Import Structures CSV"); });
  button("cmdImportPipes", QObject::tr("Import Pipes..."),
         [&window] { ImportRows(window, "pipes", "Import Pipes CSV"); });
  button("cmdExportPipes", QObject::tr("Save Pipes CSV..."),
         [&window] { ExportTable(window, "pipes", "Save the Pipes Table"); });
  button("cmdExportStructures", QObject::tr("Save Structures CSV..."),
         [&window] { ExportTable(window, "structures", "Save the Structures Table"); });
  return row;
}

}  // namespace

void SetUpNetworkWindow(WorksheetWindow& window) {
  auto* box = new QGroupBox(QObject::tr("Long Section"));
  auto* layout = new QVBoxLayout(box);
  auto* path = new QComboBox;
  path->setObjectName("cboProfilePath");
  path->setToolTip(QObject::tr("The structure the long section starts from"));
  auto* view = new NetworkProfileView;
  auto* pathRow = new QHBoxLayout;
  pathRow->addWidget(new QLabel(QObject::tr("Long section from:")));
  pathRow->addWidget(path, 1);
  layout->addLayout(pathRow);
  layout->addWidget(view, 1);
  // Under the inputs rather than beside the results, so the sheet stays within a laptop's
  // width.
  window.AddBelowInputs(NetworkConnections(window));
  window.AddBelowInputs(NetworkFiles(window));
  window.AddBelowInputs(box);

  const auto follow = [&window, view, path] {
    const WorksheetModel& model = window.Model();
    const auto* solved = model.State() == ResultsState::Current
                             ? std::any_cast<NetworkSolved>(&model.Outcome().solved)
                             : nullptr;
    if (!solved) {
      view->SetProfile(std::nullopt, {});
      return;
    }
    const QString chosen = path->currentText();
    {
      const QSignalBlocker quiet(path);
      path->clear();
      for (const std::string& head : ProfileHeads(solved->inputs))
        path->addItem(QString::fromStdString(head));
      if (const int i = path->findText(chosen); i >= 0) path->setCurrentIndex(i);
    }
    ProfileUnit unit;
    if (const FileUnit* u = model.ToDocument().ResultUnit("upstreamInvert", Dimension::Length))
      unit = {u->factor, QString::fromUtf8(u->symbol.data(), static_cast<int>(u->symbol.size()))};
    view->SetProfile(
        ProfileFrom(solved->inputs, solved->results, path->currentText().toStdString()), unit);
  };
  QObject::connect(&window, &WorksheetWindow::Synced, view, follow);
  QObject::connect(path, &QComboBox::currentIndexChanged, view, follow);
  follow();
}

std::vector<ReportDrawing> NetworkReportDrawings(const Document& document,
                                                 const SheetOutcome& outcome) {
  const auto* solved = std::any_cast<NetworkSolved>(&outcome.solved);
  if (!solved) return {};
  const std::vector<std::string> heads = ProfileHeads(solved->inputs);
  if (heads.empty()) return {};
  ProfileUnit unit;
  if (const FileUnit* u = document.ResultUnit("upstreamInvert", Dimension::Length))
    unit = {u->factor, QString::fromUtf8(u->symbol.data(), static_cast<int>(u->symbol.size()))};
  auto view = std::make_shared<NetworkProfileView>();
  view->SetProfile(ProfileFrom(solved->inputs, solved->results, heads.front()), unit);
  return {WidgetDrawing(
      QString::fromStdString("Long section from " + heads.front() + " to the outfall"), view,
      {760, 360})};
}

}  // namespace rivulet
