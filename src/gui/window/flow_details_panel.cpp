#include "gui/window/flow_details_panel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/design/sheet_design.h"
#include "core/hydraulics/units.h"
#include "core/shell/rounded_number.h"
#include "core/window/flow_details_table.h"
#include "core/window/section_sketch.h"
#include "gui/design/design_checks_view.h"
#include "gui/shell/display_precision.h"
#include "gui/shell/qt_text.h"
#include "gui/window/section_sketch_view.h"

namespace rivulet {
namespace {

enum Column { kLabel, kPrimary, kAlternate, kUnit, kColumns };
// A pipe has the most rows; the table keeps room for them so the window does not jump when
// the section changes.
constexpr int kMostRows = 22;

QColor Rgb(Colour c) { return QColor(c.r, c.g, c.b); }

int WidestText(const QFontMetrics& fm, const QStringList& texts) {
  int widest = 0;
  for (const QString& t : texts) widest = std::max(widest, fm.horizontalAdvance(t));
  return widest;
}

QStringList UnitNames() {
  QStringList names{"lb/ft\u00b2", "Pa", "%"};
  for (const auto* units :
       {&VelocityUnits(), &DischargeUnits(), &LengthUnits(), &SideSlopeUnits(), &SlopeUnits()})
    for (const std::string& u : *units) names << ToQt(u);
  return names;
}

}  // namespace

FlowDetailsPanel::FlowDetailsPanel(QWidget* parent) : QGroupBox(tr("Flow Details"), parent) {
  setObjectName("fraFlowDetails");
  state_ = new QLabel;
  state_->setObjectName("lblDetailsState");
  state_->setAutoFillBackground(true);
  state_->setMargin(3);

  sketch_ = new SectionSketchView;

  table_ = new QTableWidget(0, kColumns);
  table_->setObjectName("grdDetails");
  table_->setHorizontalHeaderLabels({tr("Quantity"), tr("Primary"), tr("Alternate"), tr("Unit")});
  table_->verticalHeader()->hide();
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionMode(QAbstractItemView::NoSelection);
  table_->setFocusPolicy(Qt::NoFocus);
  table_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table_->setAlternatingRowColors(true);
  const QFontMetrics fm = table_->fontMetrics();
  const int rowHeight = fm.height() + 6;
  table_->verticalHeader()->setDefaultSectionSize(rowHeight);
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  const int pad = fm.averageCharWidth() * 2;
  // Labels, 15 significant digits after "0.0", and the longest unit.
  const int widths[kColumns] = {
      WidestText(fm, {"Full-Flow Discharge", "Maximum Discharge", "Full-Flow Velocity",
                      "Critical Velocity", "Wetted Perimeter"}) +
          2 * pad,
      fm.horizontalAdvance(QString(18, '0')) + pad, fm.horizontalAdvance(QString(18, '0')) + pad,
      WidestText(fm, UnitNames()) + pad};
  int width = 2 * table_->frameWidth();
  for (int c = 0; c < kColumns; ++c) {
    table_->setColumnWidth(c, widths[c]);
    width += widths[c];
  }
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->setFixedSize(width, table_->horizontalHeader()->sizeHint().height() +
                                  kMostRows * rowHeight + 2 * table_->frameWidth());

  notes_ = new QLabel;
  notes_->setObjectName("lblPipeNote");
  notes_->setWordWrap(true);
  notes_->setMinimumHeight(fm.lineSpacing() * 2);
  notes_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  designView_ = new DesignChecksView;
  designView_->hide();
  // The checks sit under the drawing, beside the tall table, so they cost no height.
  auto* picture = new QVBoxLayout;
  picture->addWidget(sketch_, 1);
  picture->addWidget(designView_, 1);
  auto* body = new QHBoxLayout;
  body->addLayout(picture, 1);
  body->addWidget(table_);
  auto* column = new QVBoxLayout(this);
  column->addWidget(state_);
  column->addLayout(body);
  column->addWidget(notes_);
}

void FlowDetailsPanel::AddCommands(std::function<void()> copy, std::function<void()> saveCsv) {
  auto* row = new QHBoxLayout;
  copy_ = new QPushButton(tr("Cop&y Details"));
  copy_->setObjectName("cmdCopyDetails");
  copy_->setToolTip(tr("The table as tab-separated text with its units, for a spreadsheet."));
  saveCsv_ = new QPushButton(tr("Save CS&V..."));
  saveCsv_->setObjectName("cmdSaveDetailsCsv");
  connect(copy_, &QPushButton::clicked, this, [copy] { copy(); });
  connect(saveCsv_, &QPushButton::clicked, this, [saveCsv] { saveCsv(); });
  row->addStretch(1);
  row->addWidget(copy_);
  row->addWidget(saveCsv_);
  static_cast<QVBoxLayout*>(layout())->addLayout(row);
}

void FlowDetailsPanel::Sync(const frmRivulet& form) {
  const DetailsTable t = FlowDetailsTable(form);
  const bool stale = t.state == DetailsState::Stale;
  QPalette banner = palette();
  switch (t.state) {
    case DetailsState::Empty:
      state_->setText(tr("No results: the details appear after a calculation."));
      break;
    case DetailsState::Current:
      state_->setText(tr("Current: the details of the results above."));
      banner.setColor(QPalette::Window, Rgb(kStatusGreen));
      break;
    case DetailsState::Stale:
      state_->setText(tr("Out of date: ") + ToQt(kStatusModified));
      banner.setColor(QPalette::Window, Rgb(kStatusPink));
      break;
  }
  banner.setColor(QPalette::WindowText, Rgb(kStatusNavy));
  state_->setPalette(banner);

  const QColor ink = palette().color(stale ? QPalette::Disabled : QPalette::Active, QPalette::Text);
  table_->setRowCount(static_cast<int>(t.rows.size()));
  // Figures at the display precision when one is chosen; words and "N/A" as they are.
  const int digits = DisplayPrecision::Instance().Digits();
  const auto shown = [digits](const DetailCell& cell) {
    return ToQt(digits > 0 && cell.value ? RoundedNumber(*cell.value, digits) : cell.text);
  };
  for (int r = 0; r < static_cast<int>(t.rows.size()); ++r) {
    const DetailRow& row = t.rows[r];
    const QString cells[kColumns] = {ToQt(row.label), shown(row.primary),
                                     t.hasAlternate ? shown(row.alternate) : "N/A", ToQt(row.unit)};
    for (int c = 0; c < kColumns; ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      item->setToolTip(ToQt(row.toolTip));
      item->setForeground(ink);
      if (c == kPrimary || c == kAlternate)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table_->setItem(r, c, item);
    }
  }

  QString notes = ToQt(t.primaryNote);
  if (t.hasAlternate && !t.alternateNote.empty() && t.alternateNote != t.primaryNote)
    notes += "\n" + tr("Alternate: ") + ToQt(t.alternateNote);
  notes_->setText(notes);
  notes_->setEnabled(!stale);
  for (QPushButton* b : {copy_, saveCsv_})
    if (b) b->setEnabled(!t.rows.empty());

  sketch_->SetSketch(SketchOf(form), stale);
  designView_->setVisible(design_ != nullptr);
  if (design_) designView_->Show(DesignOfSheet(form, *design_));
}

}  // namespace rivulet
