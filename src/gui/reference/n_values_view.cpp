#include "gui/reference/n_values_view.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace rivulet {
namespace {

QString ToQString(const std::string& s) { return QString::fromStdString(s); }

QPushButton* MakeButton(const Button& control, QWidget* parent) {
  auto* button = new QPushButton(ToQString(control.Caption()), parent);
  button->setObjectName(ToQString(control.Name()));
  return button;
}

}  // namespace

frmNValuesView::frmNValuesView(TextBox& txtManning, std::function<void()> afterWrite,
                               std::function<void()> showGrassTable, QWidget* parent)
    : QDialog(parent), model_(txtManning), afterWrite_(std::move(afterWrite)) {
  setObjectName("frmNValues");
  setWindowTitle(kNValuesCaption);
  setModal(false);
  // Escape and the title bar come through reject(), so every way out is the model's.
  model_.unload = [this] {
    hide();
    deleteLater();
  };
  model_.showGrassTable = std::move(showGrassTable);

  auto* frame = new QGroupBox(ToQString(model_.Frame1.Caption()), this);
  frame->setObjectName("Frame1");
  auto* grid = new QGridLayout(frame);
  grid->setHorizontalSpacing(10);
  grid->setVerticalSpacing(2);
  for (int row = 1; row <= kNValueRowCount; ++row) {
    auto* option = new QRadioButton(ToQString(model_.Opt(row).Caption()), frame);
    option->setObjectName(ToQString(model_.Opt(row).Name()));
    auto* material = new QLabel(ToQString(model_.MaterialLabel(row).Caption()), frame);
    material->setObjectName(ToQString(model_.MaterialLabel(row).Name()));
    material->setTextFormat(Qt::PlainText);
    material->installEventFilter(this);
    grid->addWidget(option, row - 1, 0);
    grid->addWidget(material, row - 1, 1);
    options_.append(option);
    materials_.append(material);
    connect(option, &QRadioButton::toggled, this, [this, row](bool on) {
      if (on) model_.Opt(row).SetValue(true);
    });
  }
  auto* source = new QLabel(ToQString(model_.Label14.Caption()), frame);
  source->setObjectName("Label14");
  source->setTextFormat(Qt::PlainText);
  source->setWordWrap(true);
  QFont small = source->font();
  small.setItalic(true);
  source->setFont(small);
  grid->addWidget(source, kNValueRowCount, 0, 1, 2);
  grid->setRowMinimumHeight(kNValueRowCount, source->sizeHint().height() + 8);
  grid->setColumnStretch(1, 1);

  auto* ok = MakeButton(model_.cmdOK, this);
  auto* cancel = MakeButton(model_.cmdCancel, this);
  auto* more = MakeButton(model_.Command1, this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, [this] {
    model_.cmdOK.Click();
    if (afterWrite_) afterWrite_();
  });
  connect(cancel, &QPushButton::clicked, this, [this] { model_.cmdCancel.Click(); });
  connect(more, &QPushButton::clicked, this, [this] { model_.Command1.Click(); });

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addWidget(more);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(frame);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  // The table starts with no choice made, and the keyboard on the middle of the
  // concrete and cast iron rows.
  options_[kNValueFocusRow - 1]->setFocus();
}

void frmNValuesView::reject() { model_.cmdCancel.Click(); }

bool frmNValuesView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease) {
    const int index = materials_.indexOf(qobject_cast<QLabel*>(watched));
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (index >= 0 && mouse->button() == Qt::LeftButton &&
        materials_[index]->rect().contains(mouse->position().toPoint())) {
      model_.Label_Click(index + 1);
      SyncFromModel();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void frmNValuesView::SyncFromModel() {
  for (int row = 1; row <= kNValueRowCount; ++row) {
    if (model_.Opt(row).Value() && !options_[row - 1]->isChecked()) {
      const QSignalBlocker block(options_[row - 1]);
      options_[row - 1]->setChecked(true);
    }
  }
}

}  // namespace rivulet
