#include "gui/cases/case_table_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include "gui/cases/case_cell_delegate.h"
#include "gui/cases/case_table_model.h"
#include "gui/files/program_documents.h"
#include "gui/shell/display_precision.h"
#include "gui/shell/help_key.h"
#include "gui/shell/qt_text.h"
#include "gui/window/frm_rivulet_view.h"

namespace rivulet {
namespace {

// A slice of rows between two looks at the event queue: short enough that typing, the
// cancel button and repainting never wait noticeably.
constexpr qint64 kSliceMilliseconds = 30;

}  // namespace

CaseTableWindow::CaseTableWindow(frmRivulet& form, Services& services, SharedPrinter& printer,
                                 frmRivuletView* mainWindow, QWidget* parent)
    : QMainWindow(parent), form_(form), services_(services), main_(mainWindow), printer_(printer) {
  setObjectName("frmCaseTable");
  setWindowFlag(Qt::Window);
  model_ = new CaseTableModel(doc_, this);
  filter_ = new CaseFilterModel(this);
  filter_->setSourceModel(model_);
  filter_->setSortRole(CaseTableModel::kSortRole);
  filter_->setDynamicSortFilter(false);

  view_ = new QTableView;
  view_->setObjectName("tblCases");
  view_->setModel(filter_);
  view_->setItemDelegate(new CaseCellDelegate(view_));
  view_->setSortingEnabled(true);
  view_->sortByColumn(-1, Qt::AscendingOrder);
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                         QAbstractItemView::AnyKeyPressed);
  // Fixed row heights and column widths keep ten thousand rows as quick as a screenful.
  view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
  view_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  view_->horizontalHeader()->setDefaultSectionSize(90);

  auto* central = new QWidget;
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addWidget(BuildFilterBar());
  layout->addWidget(view_);
  setCentralWidget(central);

  progress_ = new QProgressBar;
  progress_->setObjectName("prgRecalculate");
  progress_->setMaximumWidth(260);
  progress_->hide();
  cancel_ = new QPushButton("Cancel");
  cancel_->setObjectName("cmdCancel");
  cancel_->hide();
  connect(cancel_, &QPushButton::clicked, this, &CaseTableWindow::CancelRecalculation);
  counts_ = new QLabel;
  counts_->setObjectName("lblCounts");
  statusBar()->addWidget(counts_, 1);
  statusBar()->addPermanentWidget(progress_);
  statusBar()->addPermanentWidget(cancel_);

  BuildMenus();
  connect(model_, &CaseTableModel::Edited, this, &CaseTableWindow::DocumentChanged);
  connect(model_, &QAbstractItemModel::modelReset, this, &CaseTableWindow::ArrangeColumns);
  connect(&DisplayPrecision::Instance(), &DisplayPrecision::Changed, this, [this] {
    if (doc_.RowCount() > 0) model_->RowsChanged(0, static_cast<int>(doc_.RowCount()) - 1);
  });
  ArrangeColumns();
  DocumentChanged();
  // Fits a 1366 x 768 screen with room for the window frame and a panel.
  resize(1240, 640);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
  }
}

void CaseTableWindow::ArrangeColumns() {
  QHeaderView* header = view_->horizontalHeader();
  const int digit = view_->fontMetrics().horizontalAdvance('0');
  for (int c = 0; c < model_->columnCount(); ++c) {
    const QString name = model_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    // Wide enough for the sheet's 15 significant digits; units and words narrower.
    int width = 19 * digit;
    if (name.endsWith("Unit") || name == "runningFull") width = 9 * digit;
    if (name == "section" || name == "solveFor") width = 11 * digit;
    if (name == "name" || name == "status") width = 24 * digit;
    if (name == "message") width = 40 * digit;
    view_->setColumnWidth(c, width);
  }
  // The status beside the name, where the eye starts, whatever column the file gave it.
  // A reset keeps the old moves, which now belong to other columns: undo them first.
  for (int c = 0; c < model_->columnCount(); ++c) header->moveSection(header->visualIndex(c), c);
  if (const auto status = doc_.Column("status")) {
    const int from = header->visualIndex(static_cast<int>(*status));
    if (from != 1) header->moveSection(from, 1);
  }
}

CaseTableWindow::~CaseTableWindow() {
  ForgetUndoOnClose();
  // The views read the document until they go; they must go before it does.
  delete takeCentralWidget();
  delete filter_;
  delete model_;
}

QWidget* CaseTableWindow::BuildFilterBar() {
  auto* bar = new QWidget;
  auto* row = new QHBoxLayout(bar);
  row->setContentsMargins(0, 0, 0, 0);
  auto* label = new QLabel("&Filter:");
  filterText_ = new QLineEdit;
  filterText_->setObjectName("txtFilter");
  filterText_->setPlaceholderText("text in any cell");
  filterText_->setClearButtonEnabled(true);
  label->setBuddy(filterText_);
  filterMark_ = new QComboBox;
  filterMark_->setObjectName("cboShow");
  // Entries in CaseRowMark order after "All rows".
  filterMark_->addItems({"All rows", "Not calculated yet or modified", "Solved",
                         "No solution found", "Not calculated", "Pipe surcharged"});
  connect(filterText_, &QLineEdit::textChanged, filter_, &CaseFilterModel::SetText);
  connect(filterMark_, &QComboBox::currentIndexChanged, this,
          [this](int i) { filter_->SetMark(i - 1); });
  auto* recalc = new QPushButton("&Recalculate All");
  recalc->setObjectName("cmdRecalculate");
  connect(recalc, &QPushButton::clicked, this, &CaseTableWindow::RecalculateAll);
  auto* add = new QPushButton("Add the Current &Sheet");
  add->setObjectName("cmdAddSheet");
  connect(add, &QPushButton::clicked, this, &CaseTableWindow::AddCurrentSheet);
  auto* open = new QPushButton("&Open Row in Calculation Window");
  open->setObjectName("cmdOpenRow");
  connect(open, &QPushButton::clicked, this, &CaseTableWindow::OpenRowInSheet);
  row->addWidget(label);
  row->addWidget(filterText_, 1);
  row->addWidget(new QLabel("Show:"));
  row->addWidget(filterMark_);
  row->addSpacing(12);
  row->addWidget(add);
  row->addWidget(open);
  row->addWidget(recalc);
  return bar;
}

void CaseTableWindow::BuildMenus() {
  auto add = [this](QMenu* menu, const QString& text, const QKeySequence& keys, auto slot,
                    bool editsTable = false) {
    QAction* a = menu->addAction(text);
    if (!keys.isEmpty()) a->setShortcut(keys);
    connect(a, &QAction::triggered, this, slot);
    if (editsTable) editActions_ << a;
    return a;
  };
  QMenu* file = menuBar()->addMenu("&File");
  add(file, "&New", QKeySequence::New, &CaseTableWindow::NewTable, true);
  add(file, "&Open CSV...", QKeySequence::Open, &CaseTableWindow::OpenFile, true);
  add(file, "&Save CSV", QKeySequence::Save, &CaseTableWindow::Save);
  add(file, "Save CSV &As...", QKeySequence("Ctrl+Shift+S"), &CaseTableWindow::SaveAs);
  file->addSeparator();
  add(file, "&Print...", QKeySequence::Print, &CaseTableWindow::Print);
  add(file, "Save P&DF...", QKeySequence(), &CaseTableWindow::SavePdf);
  // The recent files of every kind between the file commands and Close.
  AddRecentDocumentsMenu(*file, file->addSeparator());
  add(file, "&Close", QKeySequence::Close, &QWidget::close);
  QMenu* edit = menuBar()->addMenu("&Edit");
  BuildUndo(edit);
  add(edit, "&Add Row", QKeySequence("Ctrl+Ins"), &CaseTableWindow::AddRow, true);
  add(edit, "D&uplicate Rows", QKeySequence("Ctrl+D"), &CaseTableWindow::DuplicateRows, true);
  add(edit, "&Delete Rows", QKeySequence("Ctrl+Del"), &CaseTableWindow::DeleteRows, true);
  edit->addSeparator();
  add(edit, "&Copy Rows", QKeySequence::Copy, &CaseTableWindow::CopyRows);
  add(edit, "&Paste Rows", QKeySequence::Paste, &CaseTableWindow::PasteRows, true);
  QMenu* table = menuBar()->addMenu("&Table");
  add(table, "&Recalculate All", QKeySequence("F5"), &CaseTableWindow::RecalculateAll, true);
  add(table, "&Cancel Recalculation", QKeySequence("Esc"), &CaseTableWindow::CancelRecalculation);
  table->addSeparator();
  add(table, "Add the Current &Sheet", QKeySequence("Ctrl+Shift+A"),
      &CaseTableWindow::AddCurrentSheet, true);
  add(table, "&Open Row in Calculation Window", QKeySequence("Ctrl+Return"),
      &CaseTableWindow::OpenRowInSheet);
  // Help stays the last menu; F1 opens the page at the case table's own section.
  menuBar()->addMenu("&Help")->addAction(AddHelpKey(*this, services_, "cases", "Case Table &Help"));
}

void CaseTableWindow::DocumentChanged() {
  RecordEdit();
  UpdateTitle();
  UpdateCounts();
}

void CaseTableWindow::UpdateTitle() {
  const QString name = path_.isEmpty() ? QString("Untitled") : QFileInfo(path_).fileName();
  setWindowTitle(QString("Case Table - %1%2").arg(name, doc_.Modified() ? " *" : ""));
}

void CaseTableWindow::UpdateCounts() {
  counts_->setText(QString("%1 rows: %2 solved, %3 surcharged, %4 no solution, %5 not "
                           "calculated, %6 to recalculate")
                       .arg(doc_.RowCount())
                       .arg(doc_.CountMarked(CaseRowMark::Solved))
                       .arg(doc_.CountMarked(CaseRowMark::Surcharged))
                       .arg(doc_.CountMarked(CaseRowMark::Unsolved))
                       .arg(doc_.CountMarked(CaseRowMark::Rejected))
                       .arg(doc_.CountMarked(CaseRowMark::Pending)));
}

void CaseTableWindow::SetBusyControls(bool busy) {
  for (QAction* a : editActions_) a->setEnabled(!busy);
  view_->setEditTriggers(busy ? QAbstractItemView::NoEditTriggers
                              : QAbstractItemView::DoubleClicked |
                                    QAbstractItemView::EditKeyPressed |
                                    QAbstractItemView::AnyKeyPressed);
  progress_->setVisible(busy);
  cancel_->setVisible(busy);
}

void CaseTableWindow::RecalculateAll() {
  if (next_ || doc_.RowCount() == 0) return;
  // The defaults file is read once per run, as the batch command reads it.
  start_ = std::make_unique<CaseStart>(form_.Startup());
  next_ = 0;
  progress_->setRange(0, static_cast<int>(doc_.RowCount()));
  progress_->setValue(0);
  SetBusyControls(true);
  QTimer::singleShot(0, this, &CaseTableWindow::RecalculateSlice);
}

void CaseTableWindow::RecalculateSlice() {
  if (!next_) return;
  QElapsedTimer clock;
  clock.start();
  const size_t first = *next_;
  while (*next_ < doc_.RowCount() && clock.elapsed() < kSliceMilliseconds)
    doc_.Compute((*next_)++, *start_);
  model_->RowsChanged(static_cast<int>(first), static_cast<int>(*next_) - 1);
  progress_->setValue(static_cast<int>(*next_));
  UpdateCounts();
  if (*next_ >= doc_.RowCount()) {
    EndRecalculation();
    return;
  }
  QTimer::singleShot(0, this, &CaseTableWindow::RecalculateSlice);
}

void CaseTableWindow::CancelRecalculation() {
  if (next_) EndRecalculation();
}

void CaseTableWindow::EndRecalculation() {
  next_.reset();
  SetBusyControls(false);
  if (!openingCalculation_) doc_.SetModified(true);
  openingCalculation_ = false;
  recorded_ = doc_;  // results are no edit to undo
  // The order the user sorted by may have changed with the results.
  filter_->invalidate();
  DocumentChanged();
  emit RecalculationFinished();
}

void CaseTableWindow::closeEvent(QCloseEvent* event) {
  CancelRecalculation();
  if (!MayDiscardChanges()) {
    event->ignore();
    return;
  }
  // The window is only hidden and comes back from the Tools menu: changes the user chose to
  // discard must not come back with it.
  if (doc_.Modified()) RevertToSaved();
  event->accept();
}

int CaseTableWindow::CurrentSourceRow() const {
  const QModelIndex current = view_->currentIndex();
  return current.isValid() ? filter_->mapToSource(current).row() : -1;
}

std::vector<size_t> CaseTableWindow::SelectedRows() const {
  std::vector<size_t> rows;
  for (const QModelIndex& i : view_->selectionModel()->selectedRows())
    rows.push_back(static_cast<size_t>(filter_->mapToSource(i).row()));
  std::sort(rows.begin(), rows.end());
  if (rows.empty() && CurrentSourceRow() >= 0) rows.push_back(CurrentSourceRow());
  return rows;
}

std::vector<size_t> CaseTableWindow::ShownRows() const {
  std::vector<size_t> rows;
  for (int r = 0; r < filter_->rowCount(); ++r)
    rows.push_back(static_cast<size_t>(filter_->mapToSource(filter_->index(r, 0)).row()));
  return rows;
}

bool IsCaseTableFile(const std::string& path) {
  return QFileInfo(ToQt(path)).suffix().compare("csv", Qt::CaseInsensitive) == 0;
}

void OpenCaseTableFile(frmRivulet& form, frmRivuletView& mainWindow, const std::string& path) {
  form.mnuCaseTable.Click();
  auto* table = mainWindow.findChild<CaseTableWindow*>("frmCaseTable");
  if (table && !table->Recalculating() && table->MayDiscardChanges()) table->OpenPath(ToQt(path));
}

void AttachCaseTableWindow(frmRivulet& form, Services& services, SharedPrinter& printer,
                           frmRivuletView* mainWindow) {
  auto window = std::make_shared<QPointer<CaseTableWindow>>();
  const QPointer<frmRivuletView> main(mainWindow);
  form.mnuCaseTable.onClick = [&form, &services, &printer, main, window] {
    if (!main) return;
    if (!*window) *window = new CaseTableWindow(form, services, printer, main, main);
    CaseTableWindow* w = *window;
    w->show();
    w->raise();
    w->activateWindow();
  };
}

}  // namespace rivulet
