#include "gui/window/rating_window.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QStringList>
#include <QTableView>
#include <algorithm>
#include <memory>

#include "core/hydraulics/units.h"
#include "core/shell/number_text.h"
#include "gui/shell/help_key.h"
#include "gui/shell/qt_text.h"
#include "gui/window/flow_details_panel.h"
#include "gui/window/frm_rivulet_view.h"
#include "gui/window/rating_plot.h"

namespace rivulet {
namespace {

QComboBox* UnitList(const char* name, const std::vector<std::string>& units) {
  auto* list = new QComboBox;
  list->setObjectName(name);
  for (const std::string& u : units) list->addItem(ToQt(u));
  return list;
}

}  // namespace

RatingWindow::RatingWindow(frmRivulet& form, Services& services, SharedPrinter& printer,
                           QWidget* parent)
    : QWidget(parent, Qt::Window),
      form_(form),
      services_(services),
      printer_(printer),
      rating_(form) {
  setObjectName("frmRating");
  BuildWidgets();
  AddHelpKey(*this, services_, "rating");
  resize(1200, 700);
}

void RatingWindow::BuildWidgets() {
  auto* column = new QVBoxLayout(this);
  channel_ = new QLabel;
  channel_->setObjectName("lblRatingChannel");
  QFont bold = channel_->font();
  bold.setBold(true);
  channel_->setFont(bold);
  note_ = new QLabel;
  note_->setObjectName("lblRatingNote");
  note_->setWordWrap(true);
  legend_ = new QLabel;
  legend_->setObjectName("lblRatingLegend");
  legend_->setWordWrap(true);
  column->addWidget(channel_);
  column->addWidget(note_);
  column->addWidget(legend_);
  column->addWidget(BuildInputs());

  view_ = new QTableView;
  view_->setObjectName("grdRating");
  view_->setModel(&model_);
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->setWordWrap(false);
  // Fixed row heights: the view never measures rows it does not show.
  view_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view_->verticalHeader()->setDefaultSectionSize(view_->fontMetrics().height() + 6);
  view_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  view_->horizontalHeader()->setStretchLastSection(true);
  plot_ = new RatingPlotView;
  connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& now) {
            plot_->SetHighlight(now.isValid() ? std::optional<size_t>(now.row()) : std::nullopt);
          });
  auto* split = new QSplitter;
  split->addWidget(view_);
  split->addWidget(plot_);
  split->setStretchFactor(0, 0);
  split->setStretchFactor(1, 1);
  column->addWidget(split, 1);
  column->addWidget(BuildButtons());
}

QWidget* RatingWindow::BuildInputs() {
  auto* box = new QWidget;
  auto* grid = new QGridLayout(box);
  grid->setContentsMargins(0, 0, 0, 0);
  step_ = new QComboBox;
  step_->setObjectName("cboRatingStep");
  step_->addItems({"Depth", "Discharge"});
  from_ = new QLineEdit;
  from_->setObjectName("txtRatingFrom");
  to_ = new QLineEdit;
  to_->setObjectName("txtRatingTo");
  rangeUnit_ = new QLabel;
  rangeUnit_->setObjectName("lblRatingUnit");
  rows_ = new QSpinBox;
  rows_->setObjectName("spnRatingRows");
  rows_->setRange(kMinRatingRows, kMaxRatingRows);
  rows_->setKeyboardTracking(false);  // one table for the typed number, not one per digit
  auto* defaults = new QPushButton("Default Range");
  defaults->setObjectName("cmdRatingDefault");
  length_ = UnitList("cboRatingLength", LengthUnits());
  area_ = UnitList("cboRatingArea", AreaUnits());
  velocity_ = UnitList("cboRatingVelocity", VelocityUnits());
  discharge_ = UnitList("cboRatingDischarge", DischargeUnits());

  int c = 0;
  auto add = [&](int row, const char* label, QWidget* w) {
    if (label) grid->addWidget(new QLabel(label), row, c++, Qt::AlignRight);
    grid->addWidget(w, row, c++);
  };
  add(0, "Step:", step_);
  add(0, "From:", from_);
  add(0, "To:", to_);
  add(0, nullptr, rangeUnit_);
  add(0, "Rows:", rows_);
  add(0, nullptr, defaults);
  c = 0;
  add(1, "Depth:", length_);
  add(1, "Flow Area:", area_);
  add(1, "Velocity:", velocity_);
  add(1, "Discharge:", discharge_);
  grid->setColumnStretch(11, 1);

  connect(step_, &QComboBox::activated, this, [this](int i) {
    rating_.SetStep(i == 0 ? RatingStep::Depth : RatingStep::Discharge);
    Redraw();
  });
  connect(from_, &QLineEdit::editingFinished, this, [this] { RangeEdited(RatingRangeEnd::From); });
  connect(to_, &QLineEdit::editingFinished, this, [this] { RangeEdited(RatingRangeEnd::To); });
  // The sheet's own rule for value boxes: what cannot be part of a number does not go in.
  for (QLineEdit* box : {from_, to_})
    connect(box, &QLineEdit::textEdited, this, [box](const QString& typed) {
      const QString kept = QString::fromStdString(NumericInputText(typed.toStdString()));
      if (kept != typed) box->setText(kept);
    });
  connect(rows_, &QSpinBox::valueChanged, this, [this](int n) {
    rating_.SetRows(n);
    Redraw();
  });
  connect(defaults, &QPushButton::clicked, this, [this] {
    rating_.UseDefaultRange();
    Redraw();
  });
  for (QComboBox* list : {length_, area_, velocity_, discharge_})
    connect(list, &QComboBox::activated, this, [this] { UnitsChosen(); });
  return box;
}

QWidget* RatingWindow::BuildButtons() {
  auto* box = new QWidget;
  auto* row = new QHBoxLayout(box);
  row->setContentsMargins(0, 0, 0, 0);
  auto button = [&](const char* name, const char* caption, void (RatingWindow::*slot)()) {
    auto* b = new QPushButton(caption);
    b->setObjectName(name);
    connect(b, &QPushButton::clicked, this, slot);
    row->addWidget(b);
    return b;
  };
  button("cmdRatingCopy", "&Copy", &RatingWindow::CopyTable);
  button("cmdRatingCsv", "Save C&SV...", &RatingWindow::SaveCsv);
  button("cmdRatingPdf", "Save P&DF...", &RatingWindow::SavePdf);
  button("cmdRatingPrint", "&Print...", &RatingWindow::Print);
  row->addStretch(1);
  button("cmdRatingClose", "Close", &QWidget::hide);
  return box;
}

bool RatingWindow::event(QEvent* event) {
  // Reference windows and dialogs change the sheet without telling this one.
  if (event->type() == QEvent::WindowActivate) Refresh();
  return QWidget::event(event);
}

void RatingWindow::Refresh() {
  rating_.Refresh();
  setWindowTitle(ToQt(rating_.Title()));
  Redraw();
}

void RatingWindow::Redraw() {
  const RatingTable& table = rating_.Table();
  model_.SetTable(&table.rows, rating_.Pipe(), rating_.Settings().Units(), Checks());
  FitColumns();
  plot_->SetData({table.rows, rating_.Curve(), rating_.Marks(), rating_.Settings().Units()});
  SyncInputs();
}

// Widths from each column's header and widest number, never from measuring every row,
// and a table just wide enough for them: the plot takes the rest.
void RatingWindow::FitColumns() {
  const QFontMetrics cells = view_->fontMetrics();
  const QFontMetrics header = view_->horizontalHeader()->fontMetrics();
  const int pad = cells.horizontalAdvance("00");
  int total = 0;
  for (int c = 0; c < model_.columnCount(); ++c) {
    int width = cells.horizontalAdvance(model_.WidestText(c));
    for (const QString& line :
         model_.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString().split('\n'))
      width = std::max(width, header.horizontalAdvance(line));
    view_->setColumnWidth(c, width + pad);
    total += width + pad;
  }
  const int rowsWidth =
      view_->fontMetrics().horizontalAdvance(QString::number(model_.rowCount())) + pad;
  view_->verticalHeader()->setFixedWidth(rowsWidth);
  view_->setMinimumWidth(total + rowsWidth + view_->verticalScrollBar()->sizeHint().width() +
                         2 * view_->frameWidth() + 2);
}

void RatingWindow::SyncInputs() {
  const QSignalBlocker b1(step_), b2(rows_), b3(length_), b4(area_), b5(velocity_), b6(discharge_);
  channel_->setText(ToQt(rating_.Source().description));
  const QString note = ToQt(rating_.Note());
  note_->setText(note);
  note_->setVisible(!note.isEmpty());  // no blank line above the table
  note_->setStyleSheet(rating_.NoteIsProblem() ? "color: rgb(190, 0, 0);" : "");
  const QString legend = ChecksLegend();
  legend_->setText(legend);
  legend_->setVisible(!legend.isEmpty());
  const RatingSettings& settings = rating_.Settings();
  step_->setCurrentIndex(settings.Step() == RatingStep::Depth ? 0 : 1);
  const RatingUnits& u = settings.Units();
  length_->setCurrentIndex(u.length);
  area_->setCurrentIndex(u.area);
  velocity_->setCurrentIndex(u.velocity);
  discharge_->setCurrentIndex(u.discharge);
  if (const auto range = rating_.RangeTexts()) {
    from_->setText(ToQt(range->first));
    to_->setText(ToQt(range->second));
  } else {
    from_->clear();
    to_->clear();
  }
  rangeUnit_->setText(ToQt(rating_.RangeUnit()));
  rows_->setValue(settings.Rows());
}

void RatingWindow::RangeEdited(RatingRangeEnd end) {
  const QLineEdit* box = end == RatingRangeEnd::From ? from_ : to_;
  const RatingRangeEdit edit = rating_.EditRange(end, box->text().toStdString());
  switch (edit.outcome) {
    case RatingRangeEdit::Outcome::Unchanged:
      return;
    case RatingRangeEdit::Outcome::Changed:
      Redraw();
      return;
    case RatingRangeEdit::Outcome::Refused:
      // The boxes go back to the range as it stands, and the note line says why.
      SyncInputs();
      note_->setText(ToQt(edit.refusal));
      note_->setStyleSheet("color: rgb(190, 0, 0);");
      note_->setVisible(true);  // a solved sheet may have had nothing to note
      return;
  }
}

void RatingWindow::UnitsChosen() {
  rating_.SetUnits({length_->currentIndex(), area_->currentIndex(), velocity_->currentIndex(),
                    discharge_->currentIndex()});
  Redraw();
}

void AttachRatingWindow(frmRivulet& form, Services& services, SharedPrinter& printer,
                        frmRivuletView* mainWindow) {
  auto window = std::make_shared<QPointer<RatingWindow>>();
  const QPointer<frmRivuletView> main(mainWindow);
  form.mnuRatingTable.onClick = [&form, &services, &printer, main, window] {
    if (!main) return;
    if (!*window) {
      *window = new RatingWindow(form, services, printer, main);
      RatingWindow* w = *window;
      w->SetDesignSettings(main->Details()->DesignSettingsInUse());
      QObject::connect(main, &frmRivuletView::Changed, w, [w] {
        if (w->isVisible()) w->Refresh();
      });
    }
    RatingWindow* w = *window;
    w->Refresh();
    w->show();
    w->raise();
    w->activateWindow();
  };
}

}  // namespace rivulet
