#include "gui/sections/section_rating_window.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "core/files/rating_csv.h"
#include "core/sections/section_rating.h"
#include "core/shell/startup.h"
#include "core/worksheets/section_sheet.h"
#include "gui/window/rating_plot.h"
#include "gui/window/rating_window.h"
#include "gui/worksheets/worksheet_window.h"

namespace rivulet {

SectionRatingWindow::SectionRatingWindow(WorksheetWindow& window, QWidget* parent)
    : QWidget(parent, Qt::Window), window_(window) {
  setObjectName("sectionRating");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle("Irregular Section: Rating Table");
  auto* column = new QVBoxLayout(this);
  auto* controls = new QHBoxLayout;
  step_ = new QComboBox;
  step_->setObjectName("cboRatingStep");
  step_->addItem("Depth steps (m)");
  step_->addItem("Discharge steps (m³/s)");
  to_ = new QLineEdit;
  to_->setObjectName("txtRatingTo");
  to_->setPlaceholderText("bank-full");
  rows_ = new QSpinBox;
  rows_->setObjectName("spnRatingRows");
  rows_->setRange(kMinRatingRows, 100000);
  rows_->setValue(kDefaultRatingRows);
  auto* build = new QPushButton("&Update");
  auto* csv = new QPushButton("Save &CSV...");
  controls->addWidget(step_);
  controls->addWidget(new QLabel("from 0 to"));
  controls->addWidget(to_);
  controls->addWidget(new QLabel("rows"));
  controls->addWidget(rows_);
  controls->addWidget(build);
  controls->addWidget(csv);
  controls->addStretch(1);
  column->addLayout(controls);
  note_ = new QLabel;
  note_->setWordWrap(true);
  column->addWidget(note_);
  auto* split = new QSplitter;
  auto* table = new QTableView;
  table->setObjectName("tblRating");
  model_ = new RatingTableModel(this);
  table->setModel(model_);
  table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  plot_ = new RatingPlotView;
  split->addWidget(table);
  split->addWidget(plot_);
  split->setStretchFactor(1, 1);
  column->addWidget(split, 1);
  connect(build, &QPushButton::clicked, this, &SectionRatingWindow::Refresh);
  connect(csv, &QPushButton::clicked, this, &SectionRatingWindow::SaveCsv);
  connect(step_, &QComboBox::activated, this, &SectionRatingWindow::Refresh);
  resize(900, 560);
  Refresh();
}

void SectionRatingWindow::Refresh() {
  table_ = RatingTable{};
  SectionInputs in;
  try {
    in = SectionInputsFrom(window_.Model().ToDocument());
  } catch (const WorksheetError& e) {
    table_.problem = e.what();
  }
  const bool byDepth = step_->currentIndex() == 0;
  bool ok = false;
  double to = QLocale::c().toDouble(to_->text().trimmed(), &ok);
  // An empty end means bank-full: the range is cut there anyway.
  if (!ok) to = 1e9;
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
  if (table_.problem.empty()) {
    const SectionResults r = SolveSection(in);
    if (r.ok)
      data.marks = SectionRatingMarks(in.section, in.method, r.slope,
                                      RatingSolution{r.depth, r.discharge, std::nullopt});
  }
  model_->SetTable(&table_.rows, false, RatingUnits{});
  plot_->SetData(std::move(data));
  QString note = table_.problem.empty() ? "Depths above the lowest point; SI units."
                                        : QString::fromStdString(table_.problem);
  if (table_.cutAt)
    note += QString(" The range stops at bank-full (%1).").arg(*table_.cutAt, 0, 'g', 5);
  note_->setText(note);
}

void SectionRatingWindow::SaveCsv() {
  if (table_.rows.empty()) return;
  const QString path =
      QFileDialog::getSaveFileName(this, "Save Rating as CSV", QString(), "CSV Files (*.csv)");
  if (path.isEmpty()) return;
  const std::string text = JoinRatingLines(RatingLines(table_.rows, false, RatingUnits{}, ','));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(text.data(), static_cast<qint64>(text.size())) !=
          static_cast<qint64>(text.size())) {
    QMessageBox::warning(this, QString::fromUtf8(kProductName),
                         "The rating could not be saved to " + path + ".");
  }
}

}  // namespace rivulet
