#include "gui/printing/frm_print_view.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/shell/control_binder.h"

namespace rivulet {
namespace {

QFont SampleQFont(const SampleFont& sample, const QFont& fallback) {
  QFont font = sample.name.empty() ? fallback : QFont(QString::fromStdString(sample.name));
  font.setPointSize(std::max(sample.points, 1));
  font.setItalic(sample.italic);
  return font;
}

}  // namespace

frmPrintView::frmPrintView(frmPrint& core, QWidget* parent)
    : QDialog(parent), core_(core), binder_(new ControlBinder(this)), sample_(new QLabel(this)) {
  setWindowTitle(QString::fromStdString(core.Caption()));
  setModal(false);

  auto* print = new QPushButton(this);
  auto* cancel = new QPushButton(this);
  auto* setup = new QPushButton(this);
  print->setDefault(true);
  binder_->Bind(print, core.cmdPrint);
  binder_->Bind(cancel, core.cmdCancel);
  binder_->Bind(setup, core.cmdSetup);

  auto* commentsLabel = new QLabel(this);
  binder_->Bind(commentsLabel, core.lblComments);
  std::vector<QLineEdit*> comments;
  for (TextBox& box : core.txtComments) {
    auto* edit = new QLineEdit(this);
    // Room for a full comment line.
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(kCommentLength, '0')) + 16);
    binder_->Bind(edit, box);
    comments.push_back(edit);
  }
  commentsLabel->setBuddy(comments.front());

  auto* fileName = new QCheckBox(this);
  binder_->Bind(fileName, core.chkFileName);

  auto* fontLabel = new QLabel(this);
  auto* sizeLabel = new QLabel(this);
  auto* copiesLabel = new QLabel(this);
  auto* fonts = new QComboBox(this);
  auto* sizes = new QComboBox(this);
  auto* copies = new QComboBox(this);
  binder_->Bind(fontLabel, core.lblFont);
  binder_->Bind(sizeLabel, core.lblSize);
  binder_->Bind(copiesLabel, core.lblCopies);
  binder_->Bind(fonts, core.Combo1);
  binder_->Bind(sizes, core.Combo2);
  binder_->Bind(copies, core.Combo3);
  fontLabel->setBuddy(fonts);
  sizeLabel->setBuddy(sizes);
  copiesLabel->setBuddy(copies);
  fonts->setMaxVisibleItems(20);
  copies->setMaxVisibleItems(20);

  binder_->Bind(sample_, core.Label1);
  // The largest sample must not make the window jump.
  QFont largest = font();
  largest.setPointSize(14);
  sample_->setMinimumHeight(QFontMetrics(largest).height() + 8);

  auto* note = new QLabel(this);
  binder_->Bind(note, core.lblPrintsToFile);
  note->setWordWrap(true);
  auto* details = new QLabel(this);
  binder_->Bind(details, core.lblDetails);
  details->setWordWrap(true);

  auto* grid = new QGridLayout;
  grid->addWidget(commentsLabel, 0, 0, 1, 3);
  for (int i = 0; i < static_cast<int>(comments.size()); ++i)
    grid->addWidget(comments[static_cast<size_t>(i)], i + 1, 0, 1, 3);
  grid->addWidget(fileName, 6, 0, 1, 3);
  grid->addWidget(fontLabel, 7, 0);
  grid->addWidget(sizeLabel, 7, 1);
  grid->addWidget(copiesLabel, 7, 2);
  grid->addWidget(fonts, 8, 0);
  grid->addWidget(sizes, 8, 1);
  grid->addWidget(copies, 8, 2);
  grid->addWidget(sample_, 9, 0, 1, 3);
  grid->addWidget(note, 10, 0, 1, 4);
  grid->addWidget(details, 11, 0, 1, 4);
  grid->setColumnStretch(0, 1);

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(print);
  buttons->addWidget(cancel);
  buttons->addSpacing(12);
  buttons->addWidget(setup);
  buttons->addStretch();
  grid->addLayout(buttons, 0, 3, 9, 1);
  setLayout(grid);

  // Tab order as the core lists it.
  QWidget* previous = nullptr;
  for (Control* control : core.TabOrder()) {
    QWidget* widget = binder_->WidgetOf(control);
    if (previous && widget) setTabOrder(previous, widget);
    if (widget) previous = widget;
  }

  connect(binder_, &ControlBinder::Forwarded, this, &frmPrintView::SyncWindow);
  Sync();
}

void frmPrintView::Sync() {
  if (!binder_) return;  // detached: the core may be gone
  binder_->Sync();
  SyncWindow();
}

void frmPrintView::SyncWindow() {
  const QFont font = SampleQFont(core_.sample, this->font());
  if (sample_->font() != font) sample_->setFont(font);
  if (!core_.Visible() && isVisible()) hide();
}

void frmPrintView::Detach() {
  // Deleting the binder drops every connection that reaches the core.
  delete binder_;
  binder_ = nullptr;
}

void frmPrintView::closeEvent(QCloseEvent* event) {
  event->accept();
  emit Closed();
}

void frmPrintView::reject() {
  if (!binder_) return QDialog::reject();
  core_.cmdCancel.Click();
  Sync();
}

}  // namespace rivulet
