// What the irregular-section window adds to the worksheet window: the table of surveyed
// points (add, delete, paste, import CSV), the roughness zones, the walls option, slope as
// the unknown, the rating, and the drawing. The widgets forward each edit to the editor's
// view-model, which sends it to the worksheet, and draw what the model holds.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "core/worksheets/section_editor_model.h"
#include "gui/printing/report_drawing.h"

class QCheckBox;
class QComboBox;
class QRadioButton;
class QTableView;
class QTableWidget;

namespace rivulet {

class SectionDrawing;
class SectionPointsModel;
class WorksheetWindow;

class SectionEditor : public QWidget {
  Q_OBJECT

 public:
  explicit SectionEditor(WorksheetWindow& window, QWidget* parent = nullptr);

  SectionPointsModel* Points() const { return points_; }
  QTableWidget* Zones() const { return zones_; }
  SectionDrawing* Drawing() const { return drawing_; }
  const SectionEditorModel& ViewModel() const { return model_; }

  /// Reads station-elevation text (CSV or pasted cells); the columns' units are asked for
  /// unless given. False after a message when the text holds no points.
  bool ImportText(const std::string& text, const QString& stationUnit = {},
                  const QString& elevationUnit = {});
  /// Where refusals go: a message box unless a test replaces it.
  void SetMessageSink(std::function<void(const QString&)> sink) { message_ = std::move(sink); }
  void PasteFromClipboard();
  void ImportCsvFile();
  void OpenRating();

 private:
  // Sends the zone table as edited to the model.
  void SendZones();
  void FollowModel();
  void DrawZones();
  void DeleteSelectedPoints(bool wholeRows);

  WorksheetWindow& window_;
  SectionEditorModel model_;
  SectionPointsModel* points_ = nullptr;
  QTableView* pointsView_ = nullptr;
  QComboBox* unit_ = nullptr;
  QTableWidget* zones_ = nullptr;
  QCheckBox* walls_ = nullptr;
  QRadioButton* solveSlope_ = nullptr;
  SectionDrawing* drawing_ = nullptr;
  bool drawingZones_ = false;
  std::function<void(const QString&)> message_;
};

/// The report's drawing of a solved section: the ground, its zones and the water, as the
/// window draws them.
std::vector<ReportDrawing> SectionReportDrawings(const Document& document,
                                                 const SheetOutcome& outcome);

/// Adds the editor to a section worksheet window.
void SetUpSectionWindow(WorksheetWindow& window);

}  // namespace rivulet
