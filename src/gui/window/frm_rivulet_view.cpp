#include "gui/window/frm_rivulet_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDropEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>
#include <algorithm>
#include <filesystem>

#include "core/files/defaults_file.h"
#include "core/hydraulics/units.h"
#include "core/shell/text_file.h"
#include "core/window/flow_details_table.h"
#include "core/worksheets/document.h"
#include "gui/files/program_documents.h"
#include "gui/files/recent_files_menu.h"
#include "gui/shell/qt_text.h"
#include "gui/shell/window_placement.h"
#include "gui/window/flow_details_panel.h"
#include "gui/window/sheet_metrics.h"
#include "gui/window/sheet_undo.h"

namespace rivulet {

frmRivuletView::frmRivuletView(frmRivulet& form, QWidget* parent)
    : QMainWindow(parent),
      form_(form),
      recent_(std::make_unique<RecentFiles>(SettingsFolders(form.Startup()))) {
  setObjectName("frmRivulet");
  setCentralWidget(BuildSheet());
  BuildMenus();
  AddUndoCommands();
  AttachRecentFiles(form_, *recent_);
  AddRecentFilesMenu();
  setAcceptDrops(true);
  SetTabOrder();
  KeepColumnWidths();
  // The window is a form: its size follows its contents and the user does not stretch it.
  layout()->setSizeConstraint(QLayout::SetFixedSize);

  connect(&binder_, &ControlBinder::Forwarded, this, [this] {
    undo_->Record();
    setWindowTitle(ToQt(form_.Title()) + "[*]");
    setWindowModified(form_.Modified());
    ShowStaleResults();
    SyncDetails();
    emit Changed();
  });
  // The clipboard commands act on the control that has the focus in this window.
  focusTracking_ = connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (now && now->window() == this) form_.activeControl = binder_.ControlOf(now);
  });
  // What the input filter dropped from a typed or pasted text is said beside the box; the
  // binder's own connection has run the core by the time this one runs.
  for (TextBox* t : {&form_.txtVelDis1, &form_.txtDepth, &form_.txtDiam, &form_.txtSide,
                     &form_.txtSlope, &form_.txtManning}) {
    auto* box = static_cast<QLineEdit*>(binder_.WidgetOf(t));
    connect(box, &QLineEdit::textEdited, this, [this, box] {
      if (form_.inputNote.empty()) return;
      const QString note = ToQt(form_.inputNote);
      form_.inputNote.clear();
      box->setProperty("inputNote", note);
      QToolTip::showText(box->mapToGlobal(QPoint(0, box->height())), note, box);
    });
  }
  form_.activeControl = &form_.cboSection;
  binder_.WidgetOf(&form_.cboSection)->setFocus();
  Sync();
}

frmRivuletView::~frmRivuletView() { disconnect(focusTracking_); }

void frmRivuletView::Sync(bool recordEdit) {
  if (recordEdit) undo_->Record();
  binder_.Sync();
  // The unsaved mark as every other window shows it.
  setWindowTitle(ToQt(form_.Title()) + "[*]");
  setWindowModified(form_.Modified());
  ShowStaleResults();
  const auto surcharge = SurchargeOf(form_);
  surcharge_->setText(surcharge ? ToQt(SurchargeSentence(*surcharge)) : QString());
  surcharge_->setVisible(surcharge.has_value());
  SyncDetails();
}

void frmRivuletView::AddUndoCommands() {
  undo_ = new SheetUndo(form_, this);
  connect(undo_, &SheetUndo::Applied, this, [this] {
    Sync(false);
    emit Changed();
  });
  for (QAction* top : menuBar()->actions()) {
    if (top->text() != ToQt(form_.mnuEdit.Caption()) || !top->menu()) continue;
    QMenu* edit = top->menu();
    QAction* first = edit->actions().isEmpty() ? nullptr : edit->actions().first();
    edit->insertActions(first, {undo_->UndoAction(), undo_->RedoAction()});
    edit->insertSeparator(first);
  }
  for (QAction* a : {undo_->UndoAction(), undo_->RedoAction()})
    for (const QKeySequence& keys : a->shortcuts()) menuKeys_.push_back(keys);
}

void frmRivuletView::ShowStaleResults() {
  // Results that no longer follow from the inputs read grey, as a worksheet's do; the
  // boxes stay usable for copying.
  const bool stale = form_.Results() == ResultsState::Modified;
  for (TextBox* t :
       {&form_.txtVelDis2, &form_.txtArea, &form_.txtDDS, &form_.txtVelDis3, &form_.txtArea2}) {
    auto* box = static_cast<QLineEdit*>(binder_.WidgetOf(t));
    if (!stale || t->Text().empty()) continue;
    QPalette p = box->palette();
    const QColor grey = p.color(QPalette::Disabled, QPalette::Text);
    p.setColor(QPalette::Active, QPalette::Text, grey);
    p.setColor(QPalette::Inactive, QPalette::Text, grey);
    box->setPalette(p);
  }
}

void frmRivuletView::SyncDetails() {
  const bool shown = form_.mnuFlowDetails.Checked();
  if (shown) details_->Sync(form_);
  const bool opened = shown && !detailsArea_->isVisible();
  detailsArea_->setVisible(shown);
  if (!opened) return;
  FitDetails();
  // The window grows downwards as the details open; it moves up if that takes it off screen.
  QTimer::singleShot(0, this, [this] { KeepOnScreen(*this); });
}

void frmRivuletView::FitDetails() {
  const QSize want = details_->sizeHint();
  const int frame = 2 * detailsArea_->frameWidth();
  int spacing = centralWidget()->layout()->spacing();
  const QMargins margins = centralWidget()->layout()->contentsMargins();
  const int sheetHeight = menuBar()->sizeHint().height() + margins.top() + margins.bottom() +
                          sheet_->sizeHint().height() + std::max(spacing, 0);
  // On a laptop the details scroll beneath the sheet rather than push the window off screen;
  // a few rows always show.
  const int room = std::max(FreeContentsSize(*this).height() - sheetHeight - frame,
                            details_->fontMetrics().lineSpacing() * 8);
  const int height = std::min(want.height(), room);
  const int bar =
      height < want.height() ? detailsArea_->verticalScrollBar()->sizeHint().width() : 0;
  detailsArea_->setFixedSize(want.width() + bar + frame, height + frame);
}

void frmRivuletView::CentreOnScreen() { rivulet::CentreOnScreen(*this); }

QWidget* frmRivuletView::BuildSheet() {
  auto make = [this](auto* widget, auto& control) {
    binder_.Bind(widget, control);
    return widget;
  };
  auto* page = new QWidget;
  auto* pageColumn = new QVBoxLayout(page);
  auto* sheet = new QWidget;
  sheet_ = sheet;
  auto* column = new QVBoxLayout(sheet);
  column->setContentsMargins(0, 0, 0, 0);

  auto* top = new QHBoxLayout;
  auto* lblSection = make(new QLabel, form_.lblSection);
  auto* cboSection = make(new QComboBox, form_.cboSection);
  lblSection->setBuddy(cboSection);
  top->addWidget(lblSection);
  top->addWidget(cboSection);
  top->addSpacing(lblSection->fontMetrics().averageCharWidth() * 2);
  top->addWidget(make(new QPushButton, form_.cmdSection));
  top->addStretch();
  column->addLayout(top);

  auto* groups = new QHBoxLayout;
  groups->addWidget(BuildSolveFor());
  groups->addWidget(BuildOtherValues());
  column->addLayout(groups);

  auto* commands = new QHBoxLayout;
  commands->addStretch();
  auto* cmdCalculate = make(new QPushButton, form_.cmdCalculate);
  cmdCalculate->setMinimumWidth(cmdCalculate->sizeHint().width() * 3 / 2);
  commands->addWidget(cmdCalculate);
  column->addLayout(commands);

  column->addWidget(make(new QLineEdit, form_.txtStatus));
  // Under the status: a surcharged pipe's results are at its capacity, not what was asked.
  surcharge_ = new QLabel;
  surcharge_->setObjectName("lblSurcharge");
  surcharge_->setTextFormat(Qt::PlainText);
  surcharge_->setWordWrap(true);
  surcharge_->setMargin(4);
  surcharge_->setStyleSheet(QString("background-color: rgb(%1, %2, %3); color: rgb(%4, %5, %6);")
                                .arg(kSurchargeAmber.r)
                                .arg(kSurchargeAmber.g)
                                .arg(kSurchargeAmber.b)
                                .arg(kStatusNavy.r)
                                .arg(kStatusNavy.g)
                                .arg(kStatusNavy.b));
  surcharge_->hide();
  column->addWidget(surcharge_);
  pageColumn->addWidget(sheet);
  // Below everything the sheet has; hidden, it takes no room at all.
  details_ = new FlowDetailsPanel;
  detailsArea_ = new QScrollArea;
  detailsArea_->setObjectName("scrFlowDetails");
  detailsArea_->setFrameShape(QFrame::NoFrame);
  detailsArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  detailsArea_->setWidget(details_);
  detailsArea_->setWidgetResizable(true);
  detailsArea_->hide();
  pageColumn->addWidget(detailsArea_, 0, Qt::AlignLeft);
  return page;
}

QGroupBox* frmRivuletView::BuildSolveFor() {
  auto* box = new QGroupBox;
  binder_.Bind(box, form_.fraSolve);
  auto* grid = new QGridLayout(box);
  struct Row {
    OptionButton& option;
    TextBox& value;
    ComboBox* units;
  };
  const Row rows[] = {{form_.optVelDis1, form_.txtVelDis1, &form_.cboVelDis1},
                      {form_.optDepth, form_.txtDepth, &form_.cboDepth},
                      {form_.optDiam, form_.txtDiam, &form_.cboDiam},
                      {form_.optSide, form_.txtSide, &form_.cboSide},
                      {form_.optSlope, form_.txtSlope, &form_.cboSlope},
                      {form_.optManning, form_.txtManning, nullptr}};
  int r = 0;
  for (const Row& row : rows) {
    auto* option = new QRadioButton;
    binder_.Bind(option, row.option);
    grid->addWidget(option, r, 0);
    auto* value = new QLineEdit;
    binder_.Bind(value, row.value);
    grid->addWidget(value, r, 2);
    if (row.units) {
      auto* units = new QComboBox;
      binder_.Bind(units, *row.units);
      grid->addWidget(units, r, 3);
    }
    ++r;
  }
  // The depth lock sits between the Diameter option and its value; it keeps its room while
  // hidden so the value boxes stay in line when the section changes.
  auto* lock = new QCheckBox;
  binder_.Bind(lock, form_.chkLocDiam);
  QSizePolicy keep = lock->sizePolicy();
  keep.setRetainSizeWhenHidden(true);
  lock->setSizePolicy(keep);
  grid->addWidget(lock, 2, 1);
  auto* lookUp = new QPushButton;
  binder_.Bind(lookUp, form_.cmdManning);
  grid->addWidget(lookUp, 5, 3);
  grid->setColumnStretch(2, 1);
  return box;
}

QGroupBox* frmRivuletView::BuildOtherValues() {
  auto* box = new QGroupBox;
  binder_.Bind(box, form_.fraOther);
  auto* grid = new QGridLayout(box);
  struct Row {
    Label& label;
    TextBox& value;
    ComboBox& units;
  };
  const Row rows[] = {{form_.lblVelDis2, form_.txtVelDis2, form_.cboVelDis2},
                      {form_.lblArea, form_.txtArea, form_.cboArea},
                      {form_.lblDDS, form_.txtDDS, form_.cboDDS},
                      {form_.lblVelDis3, form_.txtVelDis3, form_.cboVelDis3},
                      {form_.lblArea2, form_.txtArea2, form_.cboArea2}};
  int r = 0;
  for (const Row& row : rows) {
    auto* label = new QLabel;
    binder_.Bind(label, row.label);
    grid->addWidget(label, r, 1);
    auto* value = new QLineEdit;
    binder_.Bind(value, row.value);
    label->setBuddy(value);
    grid->addWidget(value, r, 2);
    auto* units = new QComboBox;
    binder_.Bind(units, row.units);
    grid->addWidget(units, r, 3);
    ++r;
  }
  auto* toggle = new QPushButton;
  binder_.Bind(toggle, form_.cmdVelDis);
  // Smaller than the row, and wider than tall so it reads as a button, not a check box.
  const int side = QLineEdit().sizeHint().height() * 3 / 4;
  toggle->setFixedSize(side * 3 / 2, side);
  toggle->setIcon(SwapIcon(side, toggle->palette().color(QPalette::ButtonText)));
  toggle->setIconSize(QSize(side * 3 / 4, side * 3 / 4));
  toggle->setAccessibleName(tr("Switch velocity and discharge"));
  grid->addWidget(toggle, 0, 0);
  // Rows start at the top, level with the rows of "Solve For", which has one more.
  grid->setRowStretch(r, 1);
  grid->setColumnStretch(2, 1);
  return box;
}

void frmRivuletView::KeepColumnWidths() {
  auto find = [this](const Control& c) { return binder_.WidgetOf(&c); };
  ReserveWidth(static_cast<QRadioButton*>(find(form_.optVelDis1)), {"Velocity", "Discharge"});
  ReserveWidth(static_cast<QRadioButton*>(find(form_.optDiam)), {"Diameter", "Width"});
  for (const Label* l :
       {&form_.lblVelDis2, &form_.lblArea, &form_.lblDDS, &form_.lblVelDis3, &form_.lblArea2})
    ReserveWidth(static_cast<QLabel*>(find(*l)),
                 {"Discharge", "Velocity", "Alt. Depth", "Alt. Diameter", "Alt. Side Slope",
                  "Alt. Discharge", "Alt. Velocity", "Alt. Flow Area"});
  // A result has up to 15 significant digits; a value box shows all of them.
  const int valueWidth = ValueBoxWidth();
  for (QLineEdit* box : findChildren<QLineEdit*>())
    if (box->objectName() != "txtStatus") box->setMinimumWidth(valueWidth);
  const int unitWidth = UnitListWidth();
  for (const ComboBox* c :
       {&form_.cboVelDis1, &form_.cboDepth, &form_.cboDiam, &form_.cboSide, &form_.cboSlope,
        &form_.cboVelDis2, &form_.cboArea, &form_.cboDDS, &form_.cboVelDis3, &form_.cboArea2}) {
    auto* list = static_cast<QComboBox*>(find(*c));
    list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list->setMinimumWidth(unitWidth);
  }
}

void frmRivuletView::BuildMenus() {
  for (const MenuNode& top : form_.MenuBar()) {
    QMenu* menu = menuBar()->addMenu(ToQt(top.item->Caption()));
    binder_.Bind(menu->menuAction(), *top.item);
    AddMenuItems(menu, top.children);
  }
}

void frmRivuletView::AddMenuItems(QMenu* menu, const std::vector<MenuNode>& nodes) {
  for (const MenuNode& node : nodes) {
    if (node.item->Caption() == "-") {
      binder_.Bind(menu->addSeparator(), *node.item);
    } else if (!node.children.empty()) {
      QMenu* sub = menu->addMenu(ToQt(node.item->Caption()));
      binder_.Bind(sub->menuAction(), *node.item);
      AddMenuItems(sub, node.children);
    } else {
      QAction* action = menu->addAction(ToQt(node.item->Caption()));
      binder_.Bind(action, *node.item);
      // Save As also takes the key the other windows give it.
      if (node.item == &form_.mnuSaveAs)
        action->setShortcuts({action->shortcut(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)});
      // A value box keeps Ctrl+A to select its text; elsewhere it is still Save As.
      for (const QKeySequence& keys : action->shortcuts())
        if (keys != QKeySequence(QKeySequence::SelectAll)) menuKeys_.push_back(keys);
    }
  }
}

void frmRivuletView::SetTabOrder() {
  QWidget* previous = nullptr;
  for (const Control* c : form_.TabOrder()) {
    QWidget* w = binder_.WidgetOf(c);
    if (!w) continue;
    w->setFocusPolicy(Qt::StrongFocus);
    if (previous) setTabOrder(previous, w);
    previous = w;
  }
  // The status line is read, and may be selected with the mouse, but takes no tab stop.
  binder_.WidgetOf(&form_.txtStatus)->setFocusPolicy(Qt::ClickFocus);
  // Every text box takes the menu's keys as the menu's (Ctrl+C is the program's Copy,
  // Ctrl+Z its Undo) rather than as its own editing keys; Ctrl+A stays the box's.
  for (QLineEdit* edit : findChildren<QLineEdit*>()) edit->installEventFilter(this);
}

void frmRivuletView::closeEvent(QCloseEvent* event) {
  if (confirmClose && !confirmClose()) {
    event->ignore();
    Sync();  // a Save that ran shows its new title
    return;
  }
  // Windows made with this one as parent (the case table) are deleted with it: each is
  // closed first so that it asks about its own unsaved changes, and one that stays open
  // keeps this one open.
  for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (!child->isWindow() || child->windowType() == Qt::Popup || child->close()) continue;
    event->ignore();
    Sync();
    return;
  }
  QMainWindow::closeEvent(event);
}

bool frmRivuletView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const QKeySequence pressed(key->keyCombination());
    if (std::find(menuKeys_.begin(), menuKeys_.end(), pressed) != menuKeys_.end()) {
      event->ignore();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void frmRivuletView::AddRecentFilesMenu() {
  // Between the file commands and Exit, as desktop programs place them.
  const QString exit = ToQt(form_.mnuExit.Caption());
  for (QAction* top : menuBar()->actions()) {
    QMenu* menu = top->menu();
    if (!menu) continue;
    const QList<QAction*> items = menu->actions();
    for (qsizetype i = 0; i < items.size(); ++i) {
      if (items[i]->text() != exit) continue;
      QAction* before = i > 0 && items[i - 1]->isSeparator() ? items[i - 1] : items[i];
      // A case table's file goes to the case table, where the program says how.
      new RecentFilesMenu(*menu, before, *recent_, [this](const std::string& path) {
        if (Documents().open)
          Documents().open(path);
        else
          OpenFile(path, true);
      });
      return;
    }
  }
}

void frmRivuletView::SetWorksheetOpener(std::function<bool(const std::string& path)> opener) {
  worksheetOpener_ = std::move(opener);
}

void frmRivuletView::OpenFile(const std::string& path, bool fromRecentList) {
  if (worksheetOpener_ && IsWorksheetFile(path)) {
    if (worksheetOpener_(path)) recent_->Add(path);
    return;
  }
  if (fromRecentList) {
    OpenRecentCalcFile(form_, *recent_, path);
  } else {
    OpenCalcFileFromList(form_, *recent_, path);
  }
  Sync();
  emit Changed();
}

std::string frmRivuletView::OpenableFile(const QMimeData* data) const {
  if (!data || !data->hasUrls() || data->urls().size() != 1) return "";
  const QUrl url = data->urls().front();
  if (!url.isLocalFile()) return "";
  const std::string path = url.toLocalFile().toStdString();
  if (!NotAFileToRead(path).empty()) return "";
  if (!worksheetOpener_ && IsWorksheetFile(path)) return "";
  return path;
}

void frmRivuletView::dragEnterEvent(QDragEnterEvent* event) {
  if (!OpenableFile(event->mimeData()).empty()) event->acceptProposedAction();
}

void frmRivuletView::dropEvent(QDropEvent* event) {
  const std::string path = OpenableFile(event->mimeData());
  if (path.empty()) return;
  event->acceptProposedAction();
  // The drag's source waits for the drop to end; a question about unsaved changes or a
  // message about the file must not hold it up.
  QMetaObject::invokeMethod(
      this, [this, path] { OpenFile(path, false); }, Qt::QueuedConnection);
}

}  // namespace rivulet
