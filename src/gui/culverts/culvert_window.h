// What the culvert worksheet adds to its window: the crossing in profile along the barrel,
// with the embankment, the headwater, the tailwater and the grade line through the barrel.
#pragma once

#include <QWidget>
#include <optional>
#include <vector>

#include "core/worksheets/culvert_sheet.h"
#include "gui/printing/report_drawing.h"
#include "gui/worksheets/worksheet_window.h"

namespace rivulet {

class CulvertProfileView : public QWidget {
  Q_OBJECT

 public:
  explicit CulvertProfileView(QWidget* parent = nullptr);
  /// The solved culvert to draw, or nothing (results out of date or failed).
  void SetCulvert(std::optional<CulvertSolved> solved);
  const std::optional<CulvertSolved>& Solved() const { return solved_; }
  QSize sizeHint() const override { return {260, 200}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<CulvertSolved> solved_;
};

/// Headwater elevation against total discharge: each control's curve thin, the governing
/// one bold, the design point marked; flows and levels in the window's result units.
class CulvertCurveView : public QWidget {
  Q_OBJECT

 public:
  explicit CulvertCurveView(QWidget* parent = nullptr);
  void SetCurve(std::optional<CulvertSolved> solved, const FileUnit* level,
                const FileUnit* discharge);
  QSize sizeHint() const override { return {260, 200}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<CulvertSolved> solved_;
  const FileUnit* level_ = nullptr;
  const FileUnit* discharge_ = nullptr;
};

/// Adds the profile and the performance curve to a culvert worksheet window, keeps them in
/// step with the results, and offers the performance table as CSV (File) and on the
/// clipboard (Edit).
void SetUpCulvertWindow(WorksheetWindow& window);

/// The culvert's profile and performance curve, for its printed report.
std::vector<ReportDrawing> CulvertReportDrawings(const Document& document,
                                                 const SheetOutcome& outcome);

}  // namespace rivulet
