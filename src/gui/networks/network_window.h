// What the storm-sewer network worksheet adds to its window: a long section of the solved
// network along a path the user picks, drawn to scale with its rims, pipes and grade lines.
#pragma once

#include <QWidget>
#include <optional>
#include <vector>

#include "core/networks/network_profile.h"
#include "gui/printing/report_drawing.h"
#include "gui/worksheets/worksheet_window.h"

class QComboBox;

namespace rivulet {

/// The unit lengths are labelled in: metres per unit and its symbol.
struct ProfileUnit {
  double metres = 1;
  QString symbol = "m";
};

/// The long section painted with QPainter: horizontal distance and elevation each to its own
/// scale, the vertical exaggeration said in words.
class NetworkProfileView : public QWidget {
  Q_OBJECT

 public:
  explicit NetworkProfileView(QWidget* parent = nullptr);
  /// The profile to show; nullopt shows a note that there is nothing solved to draw.
  void SetProfile(std::optional<NetworkProfile> profile, ProfileUnit unit);
  const std::optional<NetworkProfile>& Profile() const { return profile_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  std::optional<NetworkProfile> profile_;
  ProfileUnit unit_;
};

/// Adds the path chooser and the long section to a network worksheet window.
void SetUpNetworkWindow(WorksheetWindow& window);

/// The long section from the first head to the outfall, for the printed report.
std::vector<ReportDrawing> NetworkReportDrawings(const Document& document,
                                                 const SheetOutcome& outcome);

}  // namespace rivulet
