// What the irregular-section window adds to the worksheet window: the table of surveyed
// points (add, delete, paste, import CSV), the roughness zones, the walls option, slope as
// the unknown, the rating, and the drawing. Every edit goes to the worksheet's model as
// the whole list, as the file holds it.
#pragma once

#include <QWidget>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>

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
  void PushPoints();
  void PushZones();
  void FollowModel();
  void LoadTablesFromModel();
  void UpdateDrawing();
  std::string PointsUnit() const;

  WorksheetWindow& window_;
  SectionPointsModel* points_ = nullptr;
  QTableView* pointsView_ = nullptr;
  QComboBox* unit_ = nullptr;
  QTableWidget* zones_ = nullptr;
  QCheckBox* walls_ = nullptr;
  QRadioButton* solveSlope_ = nullptr;
  SectionDrawing* drawing_ = nullptr;
  // What was last sent to the model, to tell the editor's own changes from a file read.
  nlohmann::json sentPoints_, sentZones_;
  bool loading_ = false;
  std::function<void(const QString&)> message_;
};

/// Adds the editor to a section worksheet window.
void SetUpSectionWindow(WorksheetWindow& window);

}  // namespace rivulet
