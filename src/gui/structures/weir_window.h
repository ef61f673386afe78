// What the weir worksheet adds to its window: the weir seen from downstream, to scale, with
// the upstream water surface and the tailwater.
#pragma once

#include <QWidget>
#include <optional>
#include <vector>

#include "core/worksheets/weir_sheet.h"
#include "gui/printing/report_drawing.h"
#include "gui/worksheets/worksheet_window.h"

namespace rivulet {

class WeirFaceView : public QWidget {
  Q_OBJECT

 public:
  explicit WeirFaceView(QWidget* parent = nullptr);
  /// The solved weir to draw, or nothing (results out of date or failed).
  void SetWeir(std::optional<WeirSolved> solved);
  const std::optional<WeirSolved>& Solved() const { return solved_; }
  QSize sizeHint() const override { return {360, 220}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<WeirSolved> solved_;
};

/// Adds the drawing to a weir worksheet window and keeps it in step with the results.
void SetUpWeirWindow(WorksheetWindow& window);

/// The drawing the window shows, for the printed report.
std::vector<ReportDrawing> WeirReportDrawings(const Document& document,
                                              const SheetOutcome& outcome);

}  // namespace rivulet
