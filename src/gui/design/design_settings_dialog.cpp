#include "gui/design/design_settings_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/shell/number_text.h"
#include "gui/shell/qt_text.h"

namespace rivulet {
namespace {

constexpr double kFoot = 0.3048;

struct Scale {
  double velocity;
  double length;
  double shear;
  QString velocityUnit;
  QString lengthUnit;
  QString shearUnit;
};

Scale ScaleFor(UnitSystem system) {
  if (system == UnitSystem::US) {
    return {kFoot, kFoot, kPascalPerPsf, "ft/s", "ft", QString::fromUtf8("lb/ft\u00b2")};
  }
  return {1, 1, 1, "m/s", "m", "Pa"};
}

QDoubleSpinBox* Spin(double max, int decimals, const QString& suffix) {
  auto* box = new QDoubleSpinBox;
  box->setRange(0, max);
  box->setDecimals(decimals);
  box->setSingleStep(0.1);
  box->setSuffix(" " + suffix);
  box->setLocale(QLocale::c());  // "." is the decimal point throughout the program
  return box;
}

// A check box that switches the value box beside it on and off.
QWidget* Optional(QCheckBox* check, QWidget* value) {
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(check);
  layout->addWidget(value, 1);
  QObject::connect(check, &QCheckBox::toggled, value, &QWidget::setEnabled);
  return row;
}

QString SizesText(const SizeList& list) {
  QStringList parts;
  for (double s : list.sizes) parts << ToQt(SignificantFigures(s, 10));
  return parts.join(' ');
}

}  // namespace

DesignSettingsDialog::DesignSettingsDialog(const DesignSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
  setObjectName("frmDesignSettings");
  setWindowTitle(tr("Design Settings"));
  metric_.system = UnitSystem::SI;
  us_.system = UnitSystem::US;
  auto* tabs = new QTabWidget;
  tabs->addTab(BuildPage(metric_), tr("&Metric"));
  tabs->addTab(BuildPage(us_), tr("&US customary"));
  auto* note = new QLabel(
      tr("A pipe is sized from the list of its diameter's unit system (mm, cm, meters: metric; "
         "inches, feet: US). The criteria follow the velocity's unit (a foot unit: US)."));
  note->setWordWrap(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                       QDialogButtonBox::RestoreDefaults);
  connect(buttons, &QDialogButtonBox::accepted, this, &DesignSettingsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &DesignSettingsDialog::reject);
  connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
          &DesignSettingsDialog::RestoreDefaults);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(note);
  layout->addWidget(tabs);
  layout->addWidget(buttons);
  ShowPage(metric_);
  ShowPage(us_);
}

QWidget* DesignSettingsDialog::BuildPage(SystemPage& p) {
  const Scale s = ScaleFor(p.system);
  const QString prefix = p.system == UnitSystem::US ? "US" : "Metric";
  auto* page = new QWidget;
  auto* form = new QFormLayout(page);

  p.list = new QComboBox;
  p.list->setObjectName("cbo" + prefix + "List");
  auto* newList = new QPushButton(tr("New List..."));
  auto* deleteList = new QPushButton(tr("Delete List"));
  auto* listRow = new QWidget;
  auto* listLayout = new QHBoxLayout(listRow);
  listLayout->setContentsMargins(0, 0, 0, 0);
  listLayout->addWidget(p.list, 1);
  listLayout->addWidget(newList);
  listLayout->addWidget(deleteList);
  form->addRow(tr("Size &list:"), listRow);
  p.sizes = new QPlainTextEdit;
  p.sizes->setObjectName("txt" + prefix + "Sizes");
  p.sizes->setTabChangesFocus(true);
  p.sizes->setMaximumHeight(70);
  form->addRow(tr("Sizes (%1, spaces between):").arg(NominalUnit(p.system)), p.sizes);

  p.minVelocity = Spin(100, 3, s.velocityUnit);
  p.minVelocity->setObjectName("txt" + prefix + "MinVelocity");
  form->addRow(tr("Minimum velocity (self-cleansing):"), p.minVelocity);
  p.useMinFull = new QCheckBox(tr("check"));
  p.minFullVelocity = Spin(100, 3, s.velocityUnit);
  form->addRow(tr("Minimum full-flow velocity:"), Optional(p.useMinFull, p.minFullVelocity));
  p.maxVelocity = Spin(100, 3, s.velocityUnit);
  form->addRow(tr("Maximum velocity:"), p.maxVelocity);
  p.maxDepthRatio = Spin(1, 3, "y/D");
  p.maxDepthRatio->setMinimum(0.01);
  p.maxDepthRatio->setSingleStep(0.05);
  form->addRow(tr("Maximum depth ratio (pipes):"), p.maxDepthRatio);
  p.useFreeboard = new QCheckBox(tr("check"));
  p.minFreeboard = Spin(1000, 3, s.lengthUnit);
  form->addRow(tr("Minimum freeboard (channels):"), Optional(p.useFreeboard, p.minFreeboard));
  p.useBank = new QCheckBox(tr("given"));
  p.bankHeight = Spin(1000, 3, s.lengthUnit);
  form->addRow(tr("Channel depth to top of bank:"), Optional(p.useBank, p.bankHeight));
  p.useShear = new QCheckBox(tr("check"));
  p.lining = new QComboBox;
  p.lining->addItem(tr("(your value)"));
  for (const Lining& l : LiningTable()) p.lining->addItem(QString::fromStdString(l.name));
  p.permissibleShear = Spin(10000, 3, s.shearUnit);
  auto* shearRow = new QWidget;
  auto* shearLayout = new QHBoxLayout(shearRow);
  shearLayout->setContentsMargins(0, 0, 0, 0);
  shearLayout->addWidget(p.lining, 1);
  shearLayout->addWidget(p.permissibleShear);
  form->addRow(tr("Lining, permissible shear:"), Optional(p.useShear, shearRow));
  p.safetyFactor = Spin(10, 2, "");
  p.safetyFactor->setMinimum(0.1);
  form->addRow(tr("Shear safety factor:"), p.safetyFactor);

  const double shearScale = s.shear;
  connect(p.lining, &QComboBox::activated, this, [&p, shearScale](int index) {
    if (index > 0)
      p.permissibleShear->setValue(LiningTable()[index - 1].permissibleShear / shearScale);
  });
  connect(p.permissibleShear, &QDoubleSpinBox::valueChanged, this, [&p, shearScale](double v) {
    const int i = p.lining->currentIndex();
    if (i > 0 && std::abs(LiningTable()[i - 1].permissibleShear / shearScale - v) > 5e-4) {
      p.lining->setCurrentIndex(0);  // a value of one's own is no longer the table's lining
    }
  });
  connect(p.list, &QComboBox::activated, this, [this, &p](int) {
    if (!KeepSizes(p)) {
      p.list->setCurrentIndex(p.shownList);
      return;
    }
    ShowList(p);
  });
  connect(newList, &QPushButton::clicked, this, [this, &p] { NewList(p); });
  connect(deleteList, &QPushButton::clicked, this, [this, &p] { DeleteList(p); });
  return page;
}

void DesignSettingsDialog::ShowPage(SystemPage& p) {
  const Scale s = ScaleFor(p.system);
  const DesignCriteria& c = settings_.CriteriaFor(p.system);
  p.list->clear();
  const std::string chosen = settings_.ListFor(p.system).name;
  for (size_t i = 0; i < settings_.lists.size(); ++i) {
    if (settings_.lists[i].system != p.system) continue;
    p.list->addItem(QString::fromStdString(settings_.lists[i].name), static_cast<int>(i));
    if (settings_.lists[i].name == chosen) p.list->setCurrentIndex(p.list->count() - 1);
  }
  ShowList(p);
  p.minVelocity->setValue(c.minVelocity / s.velocity);
  p.useMinFull->setChecked(c.minFullVelocity.has_value());
  p.minFullVelocity->setValue(c.minFullVelocity.value_or(DefaultMinFullVelocity(p.system)) /
                              s.velocity);
  p.minFullVelocity->setEnabled(c.minFullVelocity.has_value());
  p.maxVelocity->setValue(c.maxVelocity / s.velocity);
  p.maxDepthRatio->setValue(c.maxDepthRatio);
  p.useFreeboard->setChecked(c.minFreeboard.has_value());
  p.minFreeboard->setValue(c.minFreeboard.value_or(0) / s.length);
  p.minFreeboard->setEnabled(c.minFreeboard.has_value());
  p.useBank->setChecked(c.bankHeight.has_value());
  p.bankHeight->setValue(c.bankHeight.value_or(0) / s.length);
  p.bankHeight->setEnabled(c.bankHeight.has_value());
  p.useShear->setChecked(c.permissibleShear.has_value());
  p.permissibleShear->setValue(c.permissibleShear.value_or(0) / s.shear);
  p.lining->setCurrentIndex(std::max(0, p.lining->findText(QString::fromStdString(c.lining))));
  p.lining->parentWidget()->setEnabled(c.permissibleShear.has_value());
  p.safetyFactor->setValue(c.shearSafetyFactor);
}

void DesignSettingsDialog::ShowList(SystemPage& p) {
  p.shownList = p.list->currentIndex();
  const int index = p.list->currentData().toInt();
  if (p.shownList < 0 || index < 0 || index >= static_cast<int>(settings_.lists.size())) {
    p.sizes->clear();
    return;
  }
  p.sizes->setPlainText(SizesText(settings_.lists[index]));
}

bool DesignSettingsDialog::KeepSizes(SystemPage& p) {
  if (p.shownList < 0) return true;
  const int index = p.list->itemData(p.shownList).toInt();
  std::vector<double> sizes;
  const QStringList tokens =
      p.sizes->toPlainText().split(QRegularExpression("[\\s;]+"), Qt::SkipEmptyParts);
  for (const QString& token : tokens) {
    const std::string t = token.toStdString();
    double v = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
    if (ec != std::errc() || end != t.data() + t.size() || !(v > 0) || !std::isfinite(v)) {
      QMessageBox::warning(this, tr("Rivulet"),
                           tr("Sizes: \"%1\" is not a diameter. Type positive numbers in %2 "
                              "separated by spaces.")
                               .arg(token, NominalUnit(p.system)));
      p.sizes->setFocus();
      return false;
    }
    sizes.push_back(v);
  }
  if (sizes.empty()) {
    QMessageBox::warning(this, tr("Rivulet"), tr("Sizes: the list needs at least one diameter."));
    p.sizes->setFocus();
    return false;
  }
  std::sort(sizes.begin(), sizes.end());
  sizes.erase(std::unique(sizes.begin(), sizes.end()), sizes.end());
  settings_.lists[index].sizes = sizes;
  return true;
}

void DesignSettingsDialog::NewList(SystemPage& p) {
  if (!KeepSizes(p)) return;
  bool ok = false;
  const QString name = QInputDialog::getText(this, tr("New List"), tr("Name of the new size list:"),
                                             QLineEdit::Normal, QString(), &ok)
                           .trimmed();
  if (!ok || name.isEmpty()) return;
  for (const SizeList& l : settings_.lists) {
    if (l.name == name.toStdString()) {
      QMessageBox::warning(this, tr("Rivulet"), tr("A list named \"%1\" exists.").arg(name));
      return;
    }
  }
  SizeList list = settings_.ListFor(p.system);  // start from the list in use
  list.name = name.toStdString();
  settings_.lists.push_back(list);
  (p.system == UnitSystem::US ? settings_.usList : settings_.metricList) = list.name;
  ShowPage(p);
}

void DesignSettingsDialog::DeleteList(SystemPage& p) {
  const int index = p.list->currentData().toInt();
  if (p.list->count() <= 1) {
    QMessageBox::information(this, tr("Rivulet"),
                             tr("Each unit system keeps at least one size list."));
    return;
  }
  settings_.lists.erase(settings_.lists.begin() + index);
  std::string& chosen = p.system == UnitSystem::US ? settings_.usList : settings_.metricList;
  for (const SizeList& l : settings_.lists) {
    if (l.system == p.system) {
      chosen = l.name;
      break;
    }
  }
  p.shownList = -1;
  ShowPage(p);
}

void DesignSettingsDialog::ReadCriteria(const SystemPage& p) {
  const Scale s = ScaleFor(p.system);
  DesignCriteria& c = p.system == UnitSystem::US ? settings_.us : settings_.metric;
  c.minVelocity = p.minVelocity->value() * s.velocity;
  c.minFullVelocity.reset();
  if (p.useMinFull->isChecked()) c.minFullVelocity = p.minFullVelocity->value() * s.velocity;
  c.maxVelocity = p.maxVelocity->value() * s.velocity;
  c.maxDepthRatio = p.maxDepthRatio->value();
  c.minFreeboard.reset();
  if (p.useFreeboard->isChecked()) c.minFreeboard = p.minFreeboard->value() * s.length;
  c.bankHeight.reset();
  if (p.useBank->isChecked()) c.bankHeight = p.bankHeight->value() * s.length;
  c.permissibleShear.reset();
  c.lining.clear();
  if (p.useShear->isChecked()) {
    c.permissibleShear = p.permissibleShear->value() * s.shear;
    if (p.lining->currentIndex() > 0) c.lining = p.lining->currentText().toStdString();
  }
  c.shearSafetyFactor = p.safetyFactor->value();
  std::string& chosen = p.system == UnitSystem::US ? settings_.usList : settings_.metricList;
  if (p.list->currentIndex() >= 0) chosen = p.list->currentText().toStdString();
}

void DesignSettingsDialog::RestoreDefaults() {
  settings_ = DefaultDesignSettings();
  metric_.shownList = us_.shownList = -1;
  ShowPage(metric_);
  ShowPage(us_);
}

void DesignSettingsDialog::accept() {
  for (SystemPage* p : {&metric_, &us_}) {
    if (!KeepSizes(*p)) return;
    ReadCriteria(*p);
    const DesignCriteria& c = settings_.CriteriaFor(p->system);
    if (!(c.minVelocity < c.maxVelocity)) {
      QMessageBox::warning(this, tr("Rivulet"),
                           tr("Minimum velocity: it must be below the maximum velocity."));
      p->minVelocity->setFocus();
      return;
    }
    if (c.permissibleShear && !(*c.permissibleShear > 0)) {
      QMessageBox::warning(this, tr("Rivulet"),
                           tr("Permissible shear: it must be greater than zero."));
      p->permissibleShear->setFocus();
      return;
    }
    if ((c.minFreeboard && !(*c.minFreeboard > 0)) || (c.bankHeight && !(*c.bankHeight > 0))) {
      QMessageBox::warning(this, tr("Rivulet"),
                           tr("Freeboard: the minimum and the bank height must be greater "
                              "than zero when they are checked."));
      p->minFreeboard->setFocus();
      return;
    }
  }
  QDialog::accept();
}

}  // namespace rivulet
