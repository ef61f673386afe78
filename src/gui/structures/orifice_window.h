// What the orifice worksheet adds to its window: the wall with its opening seen from
// upstream, to scale, with the upstream and downstream levels.
#pragma once

#include <QWidget>
#include <optional>
#include <vector>

#include "core/worksheets/orifice_sheet.h"
#include "gui/printing/report_drawing.h"
#include "gui/worksheets/worksheet_window.h"

namespace rivulet {

class OrificeFaceView : public QWidget {
  Q_OBJECT

 public:
  explicit OrificeFaceView(QWidget* parent = nullptr);
  /// The solved orifice to draw, or nothing (results out of date or failed).
  void SetOrifice(std::optional<OrificeSolved> solved);
  const std::optional<OrificeSolved>& Solved() const { return solved_; }
  QSize sizeHint() const override { return {360, 220}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<OrificeSolved> solved_;
};

/// Adds the drawing to an orifice worksheet window and keeps it in step with the results.
void SetUpOrificeWindow(WorksheetWindow& window);

/// The drawing the window shows, for the printed report.
std::vector<ReportDrawing> OrificeReportDrawings(const Document& document,
                                                 const SheetOutcome& outcome);

}  // namespace rivulet
