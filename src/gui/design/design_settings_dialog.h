// The Design Settings window: the standard size lists and the criteria of each unit system.
#pragma once

#include <QDialog>

#include "core/design/design_settings.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPlainTextEdit;

namespace rivulet {

class DesignSettingsDialog : public QDialog {
  Q_OBJECT
 public:
  explicit DesignSettingsDialog(const DesignSettings& settings, QWidget* parent = nullptr);

  /// The settings as edited; valid after the dialog was accepted.
  const DesignSettings& Settings() const { return settings_; }

  void accept() override;

 private:
  struct SystemPage {
    UnitSystem system = UnitSystem::SI;
    QComboBox* list = nullptr;
    QPlainTextEdit* sizes = nullptr;
    QDoubleSpinBox* minVelocity = nullptr;
    QCheckBox* useMinFull = nullptr;
    QDoubleSpinBox* minFullVelocity = nullptr;
    QDoubleSpinBox* maxVelocity = nullptr;
    QDoubleSpinBox* maxDepthRatio = nullptr;
    QCheckBox* useFreeboard = nullptr;
    QDoubleSpinBox* minFreeboard = nullptr;
    QCheckBox* useBank = nullptr;
    QDoubleSpinBox* bankHeight = nullptr;
    QCheckBox* useShear = nullptr;
    QComboBox* lining = nullptr;
    QDoubleSpinBox* permissibleShear = nullptr;
    QDoubleSpinBox* safetyFactor = nullptr;
    int shownList = -1;
  };

  QWidget* BuildPage(SystemPage& page);
  void ShowPage(SystemPage& page);
  void ShowList(SystemPage& page);
  /// Keeps the sizes text of the list on show; false (after a message) when it is not valid.
  bool KeepSizes(SystemPage& page);
  void NewList(SystemPage& page);
  void DeleteList(SystemPage& page);
  void ReadCriteria(const SystemPage& page);
  void RestoreDefaults();

  DesignSettings settings_;
  SystemPage metric_;
  SystemPage us_;
};

}  // namespace rivulet
