#include "gui/worksheets/worksheet_window.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "core/shell/clipboard_commands.h"
#include "core/shell/startup.h"
#include "core/window/frm_rivulet.h"
#include "gui/files/program_documents.h"
#include "gui/shell/control_binder.h"
#include "gui/shell/qt_services.h"
#include "gui/shell/qt_text.h"
#include "gui/shell/window_placement.h"
#include "gui/worksheets/worksheet_list_editor.h"
#include "gui/worksheets/worksheet_windows.h"

namespace rivulet {

namespace {

// A value box never narrower than ten digits and a point: squeezed by a narrow screen, a
// result would otherwise show only its last digits.
QLineEdit* ValueBox(const QString& name) {
  auto* box = new QLineEdit;
  box->setObjectName(name);
  box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QString(11, '0')) + 12);
  return box;
}

// A unit list of a dimension: symbols shown, file names as item data.
QComboBox* UnitList(Dimension dimension, const QString& name) {
  auto* box = new QComboBox;
  box->setObjectName(name);
  for (const FileUnit& u : FileUnits(dimension))
    box->addItem(ToQt(std::string(u.symbol)), ToQt(std::string(u.name)));
  return box;
}

void ShowUnit(QComboBox* box, const std::string& unitName) {
  const QSignalBlocker block(box);
  box->setCurrentIndex(box->findData(ToQt(unitName)));
}

SaveAnswer AskWithMessageBox(QWidget* parent, const std::string& name) {
  QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kProductName),
                  "Save changes to " + ToQt(name) + "?",
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
  box.setDefaultButton(QMessageBox::Save);
  GiveSaveButtonsKeys(box);
  switch (box.exec()) {
    case QMessageBox::Save:
      return SaveAnswer::Save;
    case QMessageBox::Discard:
      return SaveAnswer::Discard;
    default:
      return SaveAnswer::Cancel;
  }
}

}  // namespace

WorksheetWindow::WorksheetWindow(const WorksheetKind& kind, Services& services,
                                 SharedPrinter& printer, QWidget* parent)
    : QMainWindow(parent), model_(kind), services_(services), printer_(printer) {
  setObjectName("worksheet_" + ToQt(kind.name));
  askSave_ = [this](const std::string& name) { return AskWithMessageBox(this, name); };

  auto* sheet = new QWidget;
  auto* column = new QVBoxLayout(sheet);
  auto* titleRow = new QHBoxLayout;
  title_ = new QLineEdit;
  title_->setObjectName("txtTitle");
  connect(title_, &QLineEdit::textEdited, this, [this](const QString& text) {
    model_.SetTitle(text.toStdString());
    Sync();
  });
  titleRow->addWidget(new QLabel("Title:"));
  titleRow->addWidget(title_, 1);
  column->addLayout(titleRow);

  if (!kind.options.empty()) {
    auto* optionRow = new QHBoxLayout;
    for (const OptionField& o : kind.options) {
      auto* box = new QComboBox;
      box->setObjectName("option_" + ToQt(o.name));
      for (const Choice& c : o.choices) box->addItem(ToQt(c.label), ToQt(c.name));
      connect(box, &QComboBox::activated, this, [this, box, name = o.name](int) {
        model_.SetOption(name, box->currentData().toString().toStdString());
        Sync();
      });
      options_[o.name] = box;
      optionRow->addWidget(new QLabel(ToQt(o.label) + ":"));
      optionRow->addWidget(box);
    }
    optionRow->addStretch(1);
    column->addLayout(optionRow);
  }

  auto* groups = new QHBoxLayout;
  inputsColumn_ = new QVBoxLayout;
  inputsColumn_->addWidget(BuildInputs());
  inputsColumn_->addStretch(1);
  groups->addLayout(inputsColumn_);
  groups->addWidget(BuildResults(), 0, Qt::AlignTop);
  drawingSlot_ = new QVBoxLayout;
  groups->addLayout(drawingSlot_, 1);
  column->addLayout(groups);
  // Lists (orifices, pipes) take the sheet's whole width: their tables have many columns.
  for (const InputField& f : kind.inputs) {
    if (!IsRowList(f)) continue;
    auto* editor = new WorksheetListEditor(f, [this, name = f.name](nlohmann::json rows) {
      model_.SetListInput(name, std::move(rows));
      Sync();
    });
    lists_[f.name] = editor;
    column->addWidget(editor);
  }
  tablesSlot_ = new QVBoxLayout;
  column->addLayout(tablesSlot_);

  warnings_ = new QLabel;
  warnings_->setObjectName("lblWarnings");
  warnings_->setWordWrap(true);
  warnings_->setContentsMargins(9, 0, 9, 0);
  column->addStretch(1);

  auto* statusRow = new QHBoxLayout;
  status_ = new QLineEdit;
  status_->setObjectName("txtStatus");
  status_->setReadOnly(true);
  status_->setFocusPolicy(Qt::NoFocus);
  auto* calculate = new QPushButton("&Calculate");
  calculate->setObjectName("cmdCalculate");
  connect(calculate, &QPushButton::clicked, this, &WorksheetWindow::Calculate);
  statusRow->addWidget(status_, 1);
  statusRow->addWidget(calculate);
  statusRow->setContentsMargins(9, 0, 9, 6);

  // A long worksheet scrolls rather than growing past a small screen; the status line and
  // Calculate stay in view below it.
  auto* scroll = new QScrollArea;
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidget(sheet);
  sheet->installEventFilter(this);
  auto* frame = new QWidget;
  auto* outer = new QVBoxLayout(frame);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(scroll, 1);
  // Warnings (a spread wider than allowed, say) beside the status, never scrolled away.
  outer->addWidget(warnings_);
  outer->addLayout(statusRow);
  setCentralWidget(frame);
  BuildMenus();
  Sync();
  FitToContent();
}

QSize WorksheetWindow::WantedSize() const {
  // Grows to show what it holds, never past the free screen nor what a 1366x768 screen
  // leaves for a window.
  QWidget* sheet = centralWidget()->findChild<QScrollArea*>()->widget();
  const int warned = warnings_->isVisibleTo(this) ? warnings_->sizeHint().height() : 0;
  const int below = menuBar()->sizeHint().height() + status_->sizeHint().height() + warned + 30;
  const QSize want = sheet->sizeHint().expandedTo(sheet->minimumSizeHint()) + QSize(24, below);
  return want.boundedTo(FreeContentsSize(*this).boundedTo(QSize(1300, 680)));
}

void WorksheetWindow::FitToContent() {
  resize(size().expandedTo(WantedSize()));
  ScheduleRefit();
}

void WorksheetWindow::ScheduleRefit() {
  // Widgets report their true size only once polished and laid out: once more then, and
  // back onto the screen if the window grew past its edge.
  if (refitPending_) return;
  refitPending_ = true;
  QTimer::singleShot(0, this, [this] {
    refitPending_ = false;
    resize(size().expandedTo(WantedSize()));
    KeepOnScreen(*this);
  });
}

bool WorksheetWindow::eventFilter(QObject* watched, QEvent* event) {
  // New rows are shown, and so counted in the sheet's size, only when their layout runs.
  if (event->type() == QEvent::LayoutRequest) ScheduleRefit();
  return QMainWindow::eventFilter(watched, event);
}

void WorksheetWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  ScheduleRefit();
}

QWidget* WorksheetWindow::BuildInputs() {
  auto* group = new QGroupBox("Inputs");
  auto* grid = new QGridLayout(group);
  const WorksheetKind& kind = model_.Kind();
  int row = 0;
  for (const InputField& f : kind.inputs) {
    if (IsRowList(f)) continue;  // edited in a table of its own below
    InputRow widgets;
    bool choice = false;
    for (const Choice& c : kind.unknowns) choice = choice || c.name == f.name;
    const QString label = ToQt(f.label);
    if (choice) {
      widgets.unknown = new QRadioButton(label);
      widgets.unknown->setObjectName("unknown_" + ToQt(f.name));
      connect(widgets.unknown, &QRadioButton::clicked, this, [this, name = f.name] {
        model_.SetUnknown(name);
        Sync();
      });
      grid->addWidget(widgets.unknown, row, 0);
    } else {
      widgets.caption = new QLabel(label);
      widgets.caption->setObjectName("caption_" + ToQt(f.name));
      grid->addWidget(widgets.caption, row, 0);
    }
    widgets.value = ValueBox("input_" + ToQt(f.name));
    connect(widgets.value, &QLineEdit::textEdited, this,
            [this, edit = widgets.value, name = f.name](const QString& text) {
              const QString kept = ToQt(model_.SetText(name, text.toStdString()));
              if (kept != text) {
                const QSignalBlocker block(edit);
                edit->setText(kept);
              }
              Sync();
            });
    grid->addWidget(widgets.value, row, 1);
    if (f.dimension != Dimension::None) {
      widgets.unit = UnitList(f.dimension, "unit_" + ToQt(f.name));
      connect(widgets.unit, &QComboBox::activated, this, [this, box = widgets.unit, name = f.name] {
        model_.SetUnit(name, box->currentData().toString().toStdString());
        Sync();
      });
      grid->addWidget(widgets.unit, row, 2);
    }
    inputs_[f.name] = widgets;
    ++row;
  }
  return group;
}

QWidget* WorksheetWindow::BuildResults() {
  auto* group = new QGroupBox("Results");
  auto* column = new QVBoxLayout(group);
  auto* systemRow = new QHBoxLayout;
  resultSystem_ = new QComboBox;
  resultSystem_->setObjectName("cboResultUnits");
  resultSystem_->addItem("SI units", "SI");
  resultSystem_->addItem("US units", "US");
  connect(resultSystem_, &QComboBox::activated, this, [this] {
    const auto system = ParseUnitSystem(resultSystem_->currentData().toString().toStdString());
    if (system) model_.SetResultSystem(*system);
    Sync();
  });
  systemRow->addWidget(new QLabel("Show results in:"));
  systemRow->addWidget(resultSystem_);
  systemRow->addStretch(1);
  column->addLayout(systemRow);
  resultGrid_ = new QGridLayout;
  column->addLayout(resultGrid_);
  return group;
}

void WorksheetWindow::BuildMenus() {
  auto add = [this](QMenu* menu, const QString& text, const QKeySequence& keys, auto slot) {
    QAction* action = menu->addAction(text);
    action->setShortcut(keys);
    connect(action, &QAction::triggered, this, slot);
    return action;
  };
  QMenu* file = menuBar()->addMenu("&File");
  // A new worksheet of this kind in a window of its own, as every file opens in its own.
  add(file, "&New", QKeySequence(Qt::CTRL | Qt::Key_N), [this] {
    ShowWorksheetWindow(model_.Kind(), services_, printer_);
  })->setObjectName("mnuWorksheetNew");
  add(file, "&Open...", QKeySequence(Qt::CTRL | Qt::Key_O), [this] { Open(); });
  add(file, "&Save", QKeySequence(Qt::CTRL | Qt::Key_S), [this] { Save(); });
  add(file, "Save &As...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), [this] { SaveAs(); });
  file->addSeparator();
  add(file, "&Print...", QKeySequence(Qt::CTRL | Qt::Key_P), [this] { Print(); });
  add(file, "Save as P&DF...", QKeySequence(), [this] { SavePdf(); });
  // The recent files of every kind between the file commands and Close.
  AddRecentDocumentsMenu(*file, file->addSeparator());
  add(file, "&Close", QKeySequence(Qt::CTRL | Qt::Key_W), [this] { close(); });
  QMenu* edit = menuBar()->addMenu("&Edit");
  BuildUndo(edit);
  add(edit, "&Copy Results", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
      [this] { CopyResults(); });
  edit->addSeparator();
  add(edit, "C&alculate", QKeySequence(Qt::Key_F5), [this] { Calculate(); });
  // Help stays the last menu; it opens the page at this kind's own section.
  QMenu* help = menuBar()->addMenu("&Help");
  QAction* contents =
      add(help, ToQt(model_.Kind().title) + " &Help", QKeySequence(Qt::Key_F1), [this] {
        const std::string anchor = model_.Kind().helpAnchor;
        HelpContentsCommand(services_, "file://" + HelpPagePath(ExecutableFolder()) +
                                           (anchor.empty() ? "" : "#" + anchor));
      });
  contents->setObjectName("mnuWorksheetHelp");
}

void WorksheetWindow::AddBelowInputs(QWidget* widget) {
  inputsColumn_->insertWidget(inputsColumn_->count() - 1, widget);
  connect(this, &WorksheetWindow::Synced, widget, qOverload<>(&QWidget::update));
  FitToContent();
}

void WorksheetWindow::SetDrawing(QWidget* drawing) {
  drawingSlot_->addWidget(drawing);
  connect(this, &WorksheetWindow::Synced, drawing, qOverload<>(&QWidget::update));
}

void WorksheetWindow::RebuildResultRows() {
  std::vector<std::pair<std::string, std::string>> rows;
  const std::vector<ResultRow> shown = model_.ResultRows();
  for (const ResultRow& r : shown) rows.emplace_back(r.name, r.label);
  if (rows != shownRows_) {
    while (QLayoutItem* item = resultGrid_->takeAt(0)) {
      delete item->widget();
      delete item;
    }
    results_.clear();
    std::map<std::string, int> seen;
    for (size_t i = 0; i < shown.size(); ++i) {
      const ResultRow& r = shown[i];
      const int n = ++seen[r.name];
      const QString suffix = n > 1 ? "_" + QString::number(n) : QString();
      ResultWidgets w;
      w.value = ValueBox("result_" + ToQt(r.name) + suffix);
      w.value->setReadOnly(true);
      const int row = static_cast<int>(i);
      resultGrid_->addWidget(new QLabel(ToQt(r.label)), row, 0);
      resultGrid_->addWidget(w.value, row, 1);
      if (r.dimension != Dimension::None) {
        w.unit = UnitList(r.dimension, "resultUnit_" + ToQt(r.name) + suffix);
        connect(w.unit, &QComboBox::activated, this, [this, box = w.unit, name = r.name] {
          model_.SetResultUnit(name, box->currentData().toString().toStdString());
          Sync();
        });
        resultGrid_->addWidget(w.unit, row, 2);
      }
      results_.push_back(w);
    }
    shownRows_ = std::move(rows);
    FitToContent();
  }
  // Results that no longer follow from the inputs are greyed, never shown as current.
  const bool current = model_.State() == ResultsState::Current;
  for (size_t i = 0; i < shown.size(); ++i) {
    if (results_[i].value->text() != ToQt(shown[i].text))
      results_[i].value->setText(ToQt(shown[i].text));
    results_[i].value->setEnabled(current);
    if (results_[i].unit) ShowUnit(results_[i].unit, shown[i].unitName);
  }
  RebuildResultTables(current);
}

void WorksheetWindow::RebuildResultTables(bool current) {
  const std::vector<ResultTable> tables = model_.ResultTables();
  // A table stays until a solve gives other tables: greyed while it is out of date.
  if (!tables.empty() || model_.State() == ResultsState::Current ||
      model_.State() == ResultsState::Failed) {
    std::map<std::string, QTableWidget*> kept;
    for (const ResultTable& t : tables) {
      QTableWidget*& table = resultTables_[t.name];
      if (!table) {
        auto* group = new QGroupBox("Results: " + ToQt(t.label));
        auto* layout = new QVBoxLayout(group);
        table = new QTableWidget;
        table->setObjectName("resultTable_" + ToQt(t.name));
        table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        table->setMinimumHeight(table->fontMetrics().height() * 12);
        table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
        layout->addWidget(table);
        tablesSlot_->addWidget(group);
        FitToContent();
      }
      QStringList headers;
      for (size_t c = 0; c < t.headers.size(); ++c)
        headers << ToQt(t.headers[c]) +
                       (t.units[c].empty() ? QString() : "\n(" + ToQt(t.units[c]) + ")");
      table->setColumnCount(static_cast<int>(headers.size()));
      table->setHorizontalHeaderLabels(headers);
      table->setRowCount(static_cast<int>(t.cells.size()));
      for (size_t r = 0; r < t.cells.size(); ++r)
        for (size_t c = 0; c < t.cells[r].size(); ++c) {
          QTableWidgetItem* item = table->item(static_cast<int>(r), static_cast<int>(c));
          if (!item) {
            item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table->setItem(static_cast<int>(r), static_cast<int>(c), item);
          }
          item->setText(ToQt(t.cells[r][c]));
        }
      kept[t.name] = table;
    }
    for (auto& [name, table] : resultTables_)
      if (!kept.count(name) && table) {
        delete table->parentWidget();
        table = nullptr;
      }
    std::erase_if(resultTables_, [](const auto& entry) { return entry.second == nullptr; });
  }
  for (auto& [name, table] : resultTables_) table->setEnabled(current);
}

void WorksheetWindow::ShowInputUse() {
  const WorksheetKind& kind = model_.Kind();
  const Document document = model_.ToDocument();
  for (const InputField& f : kind.inputs) {
    const bool used = FieldApplies(kind, document, f.name);
    if (const auto list = lists_.find(f.name); list != lists_.end()) {
      list->second->setEnabled(used);
      continue;
    }
    const InputRow& row = inputs_.at(f.name);
    const QString caption = ToQt(InputCaption(kind, document, f));
    row.value->setEnabled(used);
    if (row.unit) row.unit->setEnabled(used);
    if (row.caption) {
      row.caption->setText(caption);
      row.caption->setEnabled(used);
    } else if (row.unknown) {
      row.unknown->setText(caption);
    }
  }
  for (auto& [name, box] : options_) box->setEnabled(FieldApplies(kind, document, name));
}

void WorksheetWindow::Sync() {
  RecordEdit();
  if (title_->text() != ToQt(model_.Title())) {
    const QSignalBlocker block(title_);
    title_->setText(ToQt(model_.Title()));
  }
  for (auto& [name, row] : inputs_) {
    if (row.value->text() != ToQt(model_.Text(name))) {
      const QSignalBlocker block(row.value);
      row.value->setText(ToQt(model_.Text(name)));
      row.value->setCursorPosition(0);  // a found value shows its leading digits
    }
    row.value->setReadOnly(model_.IsUnknown(name));
    if (row.unknown) {
      const QSignalBlocker block(row.unknown);
      row.unknown->setChecked(model_.IsUnknown(name));
    }
    if (row.unit) ShowUnit(row.unit, model_.Unit(name));
  }
  for (auto& [name, editor] : lists_) editor->ShowRows(model_.ListInput(name));
  for (auto& [name, box] : options_) {
    const QSignalBlocker block(box);
    box->setCurrentIndex(box->findData(ToQt(model_.Option(name))));
  }
  {
    const QSignalBlocker block(resultSystem_);
    resultSystem_->setCurrentIndex(model_.ResultSystem() == UnitSystem::SI ? 0 : 1);
  }
  ShowInputUse();
  RebuildResultRows();

  const ResultsState state = model_.State();
  QStringList warnings;
  if (state == ResultsState::Current)
    for (const std::string& w : model_.Outcome().warnings) warnings << ToQt(w);
  warnings_->setText(warnings.join("\n"));
  warnings_->setVisible(!warnings.isEmpty());
  status_->setText(ToQt(model_.StatusText()));
  const Colour colour = state == ResultsState::Current    ? kStatusGreen
                        : state == ResultsState::Modified ? kStatusPink
                        : state == ResultsState::Failed   ? kStatusOrange
                                                          : kStatusWelcomeColour;
  QPalette palette = status_->palette();
  palette.setColor(QPalette::Base, ResolveColour(colour, QPalette(), QPalette::Active));
  status_->setPalette(palette);

  setWindowTitle(ToQt(model_.Kind().title) + "  [" + ToQt(model_.FileName()) + "][*]");
  setWindowModified(model_.HasUnsavedChanges());
  emit Synced();
}

void WorksheetWindow::ShowNotice(const std::string& text) {
  // The status keeps its colour: the results are as they were.
  status_->setText(ToQt(model_.StatusText() + "  " + text));
  status_->setCursorPosition(0);
}

void WorksheetWindow::Calculate() {
  {
    BusyPointer busy(services_);
    model_.Calculate();
  }
  // The found value written into the unknown's box is no edit of the user's.
  recorded_ = model_.Edits();
  Sync();
  // A refusal names its field: put the caret there so the user sees what to change.
  const auto field = inputs_.find(model_.Outcome().field);
  if (model_.State() == ResultsState::Failed && field != inputs_.end()) {
    field->second.value->setFocus();
    field->second.value->selectAll();
  }
  const auto list = lists_.find(model_.Outcome().field);
  if (model_.State() == ResultsState::Failed && list != lists_.end())
    list->second->Table()->setFocus();
}

}  // namespace rivulet
