#include "gui/sections/section_rating_window.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "core/files/rating_csv.h"
#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/units.h"
#include "core/sections/section_rating.h"
#include "core/shell/dialog_folder.h"
#include "core/shell/number_text.h"
#include "core/shell/startup.h"
#include "core/window/rating_view_model.h"
#include "core/worksheets/rating_units.h"
#include "core/worksheets/section_sheet.h"
#include "gui/shell/qt_text.h"
#include "gui/window/rating_plot.h"
#include "gui/window/rating_table_model.h"
#include "gui/worksheets/worksheet_window.h"

namespace rivulet {
namespace {

const char* MethodName(CompositeMethod m) {
  switch (m) {
    case CompositeMethod::Conveyance:
      return "conveyance";
    case CompositeMethod::Horton:
      return "Horton";
    case CompositeMethod::Pavlovskii:
      return "Pavlovskii";
    case CompositeMethod::Lotter:
      return "Lotter";
  }
  return "";
}

// "10 points, 3 zones (n 0.045, 0.032, 0.05), slope 0.004, composite n by conveyance".
QString Describe(const SectionInputs& in) {
  QStringList n;
  for (double v : in.section.n) n << ToQt(ShortNumber(v));
  const size_t zones = in.section.n.size();
  return QString("%1 points, %2 zone%3 (n %4), slope %5 m/m, composite n by %6")
      .arg(in.section.station.size())
      .arg(zones)
      .arg(zones == 1 ? "" : "s")
      .arg(n.join(", "))
      .arg(ToQt(ShortNumber(in.slope)))
      .arg(MethodName(in.method));
}

}  // namespace

SectionRatingWindow::SectionRatingWindow(WorksheetWindow& window, SharedPrinter& printer,
                                         QWidget* parent)
    : QWidget(parent, Qt::Window), window_(window), printer_(printer) {
  setObjectName("sectionRating");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle("Irregular Section: Rating Table");
  auto* column = new QVBoxLayout(this);
  auto* controls = new QHBoxLayout;
  step_ = new QComboBox;
  step_->setObjectName("cboRatingStep");
  step_->addItems({"Depth steps", "Discharge steps"});
  to_ = new QLineEdit;
  to_->setObjectName("txtRatingTo");
  to_->setPlaceholderText("bank-full");
  toUnit_ = new QLabel;
  toUnit_->setObjectName("lblRatingUnit");
  rows_ = new QSpinBox;
  rows_->setObjectName("spnRatingRows");
  rows_->setRange(kMinRatingRows, 100000);
  rows_->setValue(kDefaultRatingRows);
  auto* build = new QPushButton("&Update");
  auto* csv = new QPushButton("Save &CSV...");
  auto* pdf = new QPushButton("Save P&DF...");
  pdf->setObjectName("cmdRatingPdf");
  auto* print = new QPushButton("&Print...");
  print->setObjectName("cmdRatingPrint");
  controls->addWidget(step_);
  controls->addWidget(new QLabel("from 0 to"));
  controls->addWidget(to_);
  controls->addWidget(toUnit_);
  controls->addWidget(new QLabel("rows"));
  controls->addWidget(rows_);
  controls->addWidget(build);
  controls->addWidget(csv);
  controls->addWidget(pdf);
  controls->addWidget(print);
  controls->addStretch(1);
  column->addLayout(controls);
  note_ = new QLabel;
  note_->setObjectName("lblRatingNote");
  note_->setWordWrap(true);
  column->addWidget(note_);
  auto* split = new QSplitter;
  tableView_ = new QTableView;
  tableView_->setObjectName("tblRating");
  model_ = new RatingTableModel(this);
  tableView_->setModel(model_);
  tableView_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  plot_ = new RatingPlotView;
  split->addWidget(tableView_);
  split->addWidget(plot_);
  split->setStretchFactor(1, 1);
  column->addWidget(split, 1);
  connect(build, &QPushButton::clicked, this, &SectionRatingWindow::Refresh);
  connect(csv, &QPushButton::clicked, this, &SectionRatingWindow::SaveCsv);
  connect(pdf, &QPushButton::clicked, this, &SectionRatingWindow::SavePdf);
  connect(print, &QPushButton::clicked, this, &SectionRatingWindow::Print);
  connect(step_, &QComboBox::activated, this, &SectionRatingWindow::Refresh);
  resize(900, 560);
  Refresh();
}

void SectionRatingWindow::Refresh() {
  table_ = RatingTable{};
  SectionInputs in;
  try {
    const Document document = window_.Model().ToDocument();
    units_ = RatingUnitsOfResults(document);
    in = SectionInputsFrom(document);
  } catch (const WorksheetError& e) {
    table_.problem = e.what();
  }
  const bool byDepth = step_->currentIndex() == 0;
  const RatingColumn stepColumn = byDepth ? RatingColumn::Depth : RatingColumn::Discharge;
  toUnit_->setText(ToQt(RatingColumnUnit(stepColumn, units_)));
  bool ok = false;
  double to = QLocale::c().toDouble(to_->text().trimmed(), &ok);
  // An empty end means bank-full: the range is cut there anyway.
  try {
    to = !ok       ? 1e9
         : byDepth ? ConvertLength(to, units_.length, kToBase)
                   : ConvertDischarge(to, units_.discharge, kToBase);
  } catch (const ArithmeticFault&) {
    to = 1e9;
  }
  // Solving for slope leaves no slope to rate at.
  if (table_.problem.empty() && in.solveFor == SectionUnknown::Slope) {
    const SectionResults r = SolveSection(in);
    in.slope = r.ok ? r.slope : 0;
  }
  if (table_.problem.empty())
    table_ = BuildSectionRating(
        in.section, in.method, in.slope,
        {byDepth ? RatingStep::Depth : RatingStep::Discharge, 0, to, rows_->value()});
  RatingPlotData data;
  data.rows = table_.rows;
  data.units = units_;
  description_.clear();
  if (table_.problem.empty()) {
    description_ = Describe(in);
    const SectionResults r = SolveSection(in);
    if (r.ok)
      data.marks = SectionRatingMarks(in.section, in.method, r.slope,
                                      RatingSolution{r.depth, r.discharge, std::nullopt});
  }
  model_->SetTable(&table_.rows, false, units_);
  // Wide enough for every column: the plot takes the rest.
  tableView_->resizeColumnsToContents();
  tableView_->setMinimumWidth(
      tableView_->horizontalHeader()->length() + tableView_->verticalHeader()->sizeHint().width() +
      tableView_->verticalScrollBar()->sizeHint().width() + 2 * tableView_->frameWidth() + 2);
  plot_->SetData(std::move(data));
  QString note = table_.problem.empty() ? "Depths above the lowest point."
                                        : QString::fromStdString(table_.problem);
  if (table_.cutAt) {
    const double cut = byDepth ? ConvertLength(*table_.cutAt, units_.length, kFromBase)
                               : ConvertDischarge(*table_.cutAt, units_.discharge, kFromBase);
    note += QString(" The range stops at bank-full (%1 %2).")
                .arg(ToQt(ShortNumber(cut)), ToQt(RatingColumnUnit(stepColumn, units_)));
  }
  note_->setText(note);
  const std::string file = window_.Model().FileName();
  setWindowTitle(file.empty() ? "Irregular Section: Rating Table"
                              : ToQt("Irregular Section: Rating Table - " + file));
}

RatingReport SectionRatingWindow::Report() const {
  RatingReport report;
  report.title = windowTitle();
  const QString title = ToQt(window_.Model().Title());
  report.description = title.isEmpty() ? description_ : title + ": " + description_;
  report.note = note_->text();
  report.plot = plot_->Data();
  return report;
}

std::string SectionRatingWindow::ProposedName(const char* extension) const {
  return ProposedRatingFileName(window_.Model().FileName(), extension, "section-rating");
}

void SectionRatingWindow::SaveCsv() {
  if (table_.rows.empty()) return;
  Services& services = window_.WindowServices();
  const auto choice = services.SaveFileDialog({"Save Rating as CSV",
                                               {{"CSV Files (*.csv)", "*.csv"}, {"All Files", "*"}},
                                               ProposedName("csv"),
                                               "csv",
                                               FileDialogStartFolder(window_.Model().FilePath())});
  if (!choice) return;
  if (!SaveRatingCsv(choice->path, table_.rows, false, units_, Report().description.toStdString()))
    services.MessageBox("The rating could not be saved to " + choice->path + ".", kProductName,
                        MessageIcon::Exclamation);
}

void SectionRatingWindow::SavePdf() {
  if (table_.rows.empty()) return;
  Services& services = window_.WindowServices();
  const auto choice = services.SaveFileDialog({"Save Rating as PDF",
                                               {{"PDF Files (*.pdf)", "*.pdf"}, {"All Files", "*"}},
                                               ProposedName("pdf"),
                                               "pdf",
                                               FileDialogStartFolder(window_.Model().FilePath())});
  if (!choice) return;
  if (!WriteRatingPdf(ToQt(choice->path), Report()))
    services.MessageBox("The rating could not be saved to " + choice->path + ".", kProductName,
                        MessageIcon::Exclamation);
}

void SectionRatingWindow::Print() {
  if (table_.rows.empty()) return;
  // Without a printer, printing means a PDF file, as it does for the reports.
  if (QPrinterInfo::availablePrinters().isEmpty()) {
    SavePdf();
    return;
  }
  QPrintDialog dialog(&printer_.Get(), this);
  dialog.setWindowTitle("Print Rating Table");
  if (dialog.exec() != QDialog::Accepted) return;
  PrintOnPrinter();
}

bool SectionRatingWindow::PrintOnPrinter() {
  if (PaintRatingReport(printer_.Get(), Report())) return true;
  window_.WindowServices().MessageBox("The rating could not be printed.", "Oops",
                                      MessageIcon::Stop);
  return false;
}

}  // namespace rivulet
