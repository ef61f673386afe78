#include "gui/design/design_checks_view.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/shell/number_text.h"
#include "core/shell/rounded_number.h"
#include "gui/shell/display_precision.h"
#include "gui/shell/qt_text.h"

namespace rivulet {

namespace {

QString Num(double v) {
  const int digits = DisplayPrecision::Instance().Digits();
  return ToQt(digits > 0 ? RoundedNumber(v, digits) : SignificantFigures(v, 4));
}

// The mark in words and a symbol, so it reads without colour.
QString MarkText(const DesignCheck& c) {
  const QString mark = CheckMark(c);
  if (mark == "n/a") return QString::fromUtf8("\u2013 n/a");
  if (mark == "Pass") return QString::fromUtf8("\u2713 Pass");
  if (mark == "Warn") return QString::fromUtf8("\u26a0 Warning");
  return QString::fromUtf8("\u2717 Fail");
}

}  // namespace

QString StandardSizeText(const SheetDesign& design) {
  const DesignResult& r = design.result;
  if (!r.list) return {};
  if (!r.standard) return QString::fromStdString(r.sizeNote);
  const std::vector<SizeFigure> f = StandardSizeFigures(design);
  auto figure = [&](size_t i) { return Num(f[i].value) + " " + QString::fromStdString(f[i].unit); };
  // Diameter, depth, velocity, percent full, full-flow capacity, spare capacity.
  return QObject::tr("Standard size %1 (%2): depth %3, %4 full, %5; full flow %6, spare %7")
      .arg(figure(0), QString::fromStdString(r.list->name), figure(1), figure(3), figure(2),
           figure(4), figure(5));
}

DesignChecksView::DesignChecksView(QWidget* parent) : QWidget(parent) {
  setObjectName("fraDesign");
  size_ = new QLabel;
  size_->setObjectName("lblStandardSize");
  size_->setWordWrap(true);
  size_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  useSize_ = new QPushButton(tr("&Use this size"));
  useSize_->setObjectName("cmdUseSize");
  useSize_->setToolTip(
      tr("Write the standard diameter into the sheet as an input, keep the design discharge "
         "and solve for the depth"));
  settings_ = new QPushButton(tr("Design Settings..."));
  settings_->setObjectName("cmdDesignSettings");
  checks_ = new QTableWidget(0, 2);
  checks_->setObjectName("grdDesignChecks");
  checks_->setHorizontalHeaderLabels({tr("Check"), tr("Design check")});
  checks_->verticalHeader()->hide();
  checks_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  checks_->setSelectionMode(QAbstractItemView::NoSelection);
  checks_->setFocusPolicy(Qt::NoFocus);
  checks_->setWordWrap(true);
  checks_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  checks_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
  checks_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  checks_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  checks_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  checks_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(useSize_);
  buttons->addStretch(1);
  buttons->addWidget(settings_);
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->addWidget(size_);
  column->addLayout(buttons);
  column->addWidget(checks_);
  column->addStretch(1);

  connect(useSize_, &QPushButton::clicked, this, &DesignChecksView::useSizeRequested);
  connect(settings_, &QPushButton::clicked, this, &DesignChecksView::settingsRequested);
  Show(std::nullopt);
}

void DesignChecksView::Show(const std::optional<SheetDesign>& design) {
  if (!design) {
    size_->setText(tr("Design checks appear after a calculation."));
    useSize_->setEnabled(false);
    checks_->setRowCount(0);
    FitChecks();
    return;
  }
  QString sizeText = StandardSizeText(*design);
  if (!design->current) sizeText = tr("Out of date. ") + sizeText;
  size_->setText(sizeText);
  size_->setVisible(!sizeText.isEmpty());
  // Using a size rewrites the sheet, so only a current calculation may offer it.
  useSize_->setVisible(design->result.list.has_value());
  useSize_->setEnabled(design->current && design->result.standard.has_value());
  const auto& checks = design->result.checks;
  checks_->setRowCount(static_cast<int>(checks.size()));
  const QColor pass(0, 110, 0), fail(170, 0, 0), warn(150, 90, 0);
  for (int r = 0; r < static_cast<int>(checks.size()); ++r) {
    const DesignCheck& c = checks[r];
    auto* mark = new QTableWidgetItem(MarkText(c));
    if (c.pass && design->current)
      mark->setForeground(*c.pass ? pass : std::string(CheckMark(c)) == "Warn" ? warn : fail);
    auto* text = new QTableWidgetItem(QString::fromStdString(c.text));
    text->setToolTip(QString::fromStdString(c.name));
    if (!design->current) {
      mark->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
      text->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
    }
    checks_->setItem(r, 0, mark);
    checks_->setItem(r, 1, text);
  }
  FitChecks();
}

void DesignChecksView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  FitChecks();
}

void DesignChecksView::FitChecks() {
  checks_->resizeRowsToContents();
  int height = checks_->horizontalHeader()->sizeHint().height() + 2 * checks_->frameWidth();
  for (int r = 0; r < checks_->rowCount(); ++r) height += checks_->rowHeight(r);
  if (checks_->height() != height) checks_->setFixedHeight(height);
}

}  // namespace rivulet
