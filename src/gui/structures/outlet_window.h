// What the outlet structure worksheet adds to its window: the structure drawn to scale
// beside its stage-discharge curve on one stage axis, and the rating saved as CSV.
#pragma once

#include <QWidget>
#include <optional>
#include <vector>

#include "core/worksheets/outlet_sheet.h"
#include "gui/printing/report_drawing.h"
#include "gui/worksheets/worksheet_window.h"

namespace rivulet {

/// The solved outlet in the units the window shows its results in.
struct OutletPicture {
  OutletInputs inputs;
  OutletRating rating;
  const FileUnit* level = nullptr;      ///< stages and sizes
  const FileUnit* discharge = nullptr;  ///< flows
};

/// The structure (left) and the rating curve (right), the total bold and each device thin.
class OutletRatingView : public QWidget {
  Q_OBJECT

 public:
  explicit OutletRatingView(QWidget* parent = nullptr);
  void SetPicture(std::optional<OutletPicture> picture);
  const std::optional<OutletPicture>& Picture() const { return picture_; }
  QSize sizeHint() const override { return {520, 250}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::optional<OutletPicture> picture_;
};

/// Adds the drawing and curve, and File > Save Rating as CSV..., to an outlet window.
void SetUpOutletWindow(WorksheetWindow& window);

/// The drawing the window shows, for the printed report.
std::vector<ReportDrawing> OutletReportDrawings(const Document& document,
                                                const SheetOutcome& outcome);

}  // namespace rivulet
