#include "gui/sections/section_rating_window.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "core/files/rating_csv.h"
#include "core/shell/dialog_folder.h"
#include "core/shell/startup.h"
#include "gui/shell/help_key.h"
#include "gui/shell/qt_text.h"
#include "gui/shell/window_placement.h"
#include "gui/window/rating_plot.h"
#include "gui/window/rating_table_model.h"
#include "gui/worksheets/worksheet_window.h"

namespace rivulet {

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
  auto* copy = new QPushButton("C&opy");
  copy->setObjectName("cmdRatingCopy");
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
  controls->addWidget(copy);
  controls->addWidget(csv);
  controls->addWidget(pdf);
  controls->addWidget(print);
  controls->addStretch(1);
  // Closed as the calculation's rating table is: its button or Esc.
  auto* closeButton = new QPushButton("Close");
  closeButton->setObjectName("cmdRatingClose");
  controls->addWidget(closeButton);
  connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
  for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(QKeySequence::Close)})
    connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::close);
  AddHelpKey(*this, window.WindowServices(), "irregular");
  column->addLayout(controls);
  note_ = new QLabel;
  note_->setObjectName("lblRatingNote");
  note_->setWordWrap(true);
  column->addWidget(note_);
  auto* split = new QSplitter;
  tableView_ = new QTableView;
  tableView_->setObjectName("tblRating");
  tableModel_ = new RatingTableModel(this);
  tableView_->setModel(tableModel_);
  tableView_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  plot_ = new RatingPlotView;
  split->addWidget(tableView_);
  split->addWidget(plot_);
  split->setStretchFactor(1, 1);
  column->addWidget(split, 1);
  connect(build, &QPushButton::clicked, this, &SectionRatingWindow::Refresh);
  connect(copy, &QPushButton::clicked, this, &SectionRatingWindow::CopyTable);
  connect(csv, &QPushButton::clicked, this, &SectionRatingWindow::SaveCsv);
  connect(pdf, &QPushButton::clicked, this, &SectionRatingWindow::SavePdf);
  connect(print, &QPushButton::clicked, this, &SectionRatingWindow::Print);
  // Another step rebuilds the table from the solve already made.
  connect(step_, &QComboBox::activated, this, [this] {
    model_.SetRequest(Request());
    Draw();
  });
  resize(900, 560);
  Refresh();
  // The table's columns may ask for more than a laptop's screen: the plot gives way.
  resize(size().expandedTo(sizeHint()).boundedTo(FreeContentsSize(*this)));
}

void SectionRatingWindow::CopyTable() {
  if (model_.Table().rows.empty()) return;
  // Tab-separated with the units in the header, as spreadsheets take it.
  window_.WindowServices().SetClipboardText(
      JoinRatingLines(RatingLines(model_.Table().rows, false, model_.Units(), '\t')));
}

SectionRatingRequest SectionRatingWindow::Request() const {
  return {step_->currentIndex() == 0 ? RatingStep::Depth : RatingStep::Discharge,
          to_->text().toStdString(), rows_->value()};
}

void SectionRatingWindow::Refresh() {
  model_.Refresh(window_.Model(), Request());
  Draw();
}

void SectionRatingWindow::Draw() {
  toUnit_->setText(ToQt(model_.RangeUnit()));
  tableModel_->SetTable(&model_.Table().rows, false, model_.Units());
  // Wide enough for every column: the plot takes the rest.
  tableView_->resizeColumnsToContents();
  tableView_->setMinimumWidth(
      tableView_->horizontalHeader()->length() + tableView_->verticalHeader()->sizeHint().width() +
      tableView_->verticalScrollBar()->sizeHint().width() + 2 * tableView_->frameWidth() + 2);
  RatingPlotData data;
  data.rows = model_.Table().rows;
  data.units = model_.Units();
  data.marks = model_.Marks();
  plot_->SetData(std::move(data));
  note_->setText(ToQt(model_.Note()));
  setWindowTitle(ToQt(model_.Title()));
}

RatingReport SectionRatingWindow::Report() const {
  RatingReport report;
  report.title = windowTitle();
  report.description = ToQt(model_.Description());
  report.note = note_->text();
  report.plot = plot_->Data();
  return report;
}

void SectionRatingWindow::SaveCsv() {
  if (model_.Table().rows.empty()) return;
  Services& services = window_.WindowServices();
  const auto choice = services.SaveFileDialog({"Save Rating as CSV",
                                               {{"CSV Files (*.csv)", "*.csv"}, {"All Files", "*"}},
                                               model_.ProposedName("csv"),
                                               "csv",
                                               FileDialogStartFolder(window_.Model().FilePath())});
  if (!choice) return;
  if (!SaveRatingCsv(choice->path, model_.Table().rows, false, model_.Units(),
                     Report().description.toStdString()))
    services.MessageBox("The rating could not be saved to " + choice->path + ".", kProductName,
                        MessageIcon::Exclamation);
}

void SectionRatingWindow::SavePdf() {
  if (model_.Table().rows.empty()) return;
  Services& services = window_.WindowServices();
  const auto choice = services.SaveFileDialog({"Save Rating as PDF",
                                               {{"PDF Files (*.pdf)", "*.pdf"}, {"All Files", "*"}},
                                               model_.ProposedName("pdf"),
                                               "pdf",
                                               FileDialogStartFolder(window_.Model().FilePath())});
  if (!choice) return;
  if (!WriteRatingPdf(ToQt(choice->path), Report()))
    services.MessageBox("The rating could not be saved to " + choice->path + ".", kProductName,
                        MessageIcon::Exclamation);
}

void SectionRatingWindow::Print() {
  if (model_.Table().rows.empty()) return;
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
