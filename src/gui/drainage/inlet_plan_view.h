// A plan of a solved inlet in its gutter: the kerb, the spread of the approaching water, the
// grate, curb opening or slot to scale, and arrows for the approach, intercepted and bypass
// flows (or, in a sag, the ponded spread and how the inlet runs).
#pragma once

#include <QString>
#include <QWidget>
#include <optional>

#include "core/drainage/inlet.h"
#include "gui/drainage/gutter_section_view.h"

namespace rivulet {

/// What the plan shows: the inputs and results of one solve, and the units of its labels.
struct InletPlan {
  InletInputs inputs;
  InletResults results;
  DrawingLengthUnit length;
  DrawingLengthUnit discharge;  ///< m³/s per unit and its symbol
};

class InletPlanView : public QWidget {
  Q_OBJECT

 public:
  explicit InletPlanView(QWidget* parent = nullptr);

  /// The plan to show; nullopt shows a note that there is nothing solved to draw.
  void SetPlan(std::optional<InletPlan> plan);
  const std::optional<InletPlan>& Plan() const { return plan_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  std::optional<InletPlan> plan_;
};

}  // namespace rivulet
