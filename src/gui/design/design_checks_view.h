// The design part of the Flow Details panel: the standard pipe size with "Use this size",
// and each check with a worded mark (Pass, Fail, n/a) beside its sentence.
#pragma once

#include <QWidget>
#include <optional>

#include "core/design/sheet_design.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace rivulet {

class DesignChecksView : public QWidget {
  Q_OBJECT

 public:
  explicit DesignChecksView(QWidget* parent = nullptr);

  /// Shows the design of the sheet's calculation; none clears the view.
  void Show(const std::optional<SheetDesign>& design);

  QTableWidget* Checks() const { return checks_; }
  QPushButton* UseSizeButton() const { return useSize_; }

 signals:
  void useSizeRequested();
  void settingsRequested();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  /// Makes the checks table as tall as its rows: the panel it sits in scrolls as a whole, and a
  /// second scroll bar inside it would hide checks.
  void FitChecks();

  QLabel* size_;
  QPushButton* useSize_;
  QPushButton* settings_;
  QTableWidget* checks_;
};

/// One line on the standard size for the panel: "450 mm: 61 % full, 1.23 m/s, ...".
QString StandardSizeText(const SheetDesign& design);

}  // namespace rivulet
