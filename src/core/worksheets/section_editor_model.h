// The irregular-section editor without its widgets: the surveyed points and roughness zones
// as its tables hold them, sent to the worksheet as whole lists in the points' unit (as the
// file holds them), lists a file read brought in taken back into the tables, and the picture
// the drawing paints.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/sections/section_csv.h"
#include "core/worksheets/worksheet_model.h"

namespace rivulet {

/// What the drawing shows, in metres.
struct SectionPicture {
  std::vector<double> station, elevation;
  std::vector<double> breaks;
  std::vector<double> n;
  /// Each zone's label ("n 0.045"); "" for a zone without a number.
  std::vector<std::string> zoneLabels;
  std::optional<double> waterSurface;
  std::optional<double> criticalSurface;
  /// The water surface and depth as the results show them ("101.50 ft").
  std::string waterText, depthText;
};

/// The picture of a solved document (its points and zones, the water of outcome), as the
/// report draws it; nullopt when the document's points cannot be read.
std::optional<SectionPicture> SectionPictureOf(const Document& document,
                                               const SheetOutcome& outcome);

/// A zone as typed: the station it starts at (ignored for the first, which starts at the
/// left end) and its Manning's n.
struct SectionZoneRow {
  std::string from;
  std::string n;
  bool operator==(const SectionZoneRow&) const = default;
};

/// A number as the tables show it: twelve significant digits, "" for none.
std::string SectionCellText(double value);
/// A typed cell's number: NaN unless the whole text is one finite number.
double SectionCellNumber(std::string_view text);

class SectionEditorModel {
 public:
  /// Edits go to sheet at once; the window redraws from it.
  explicit SectionEditorModel(WorksheetModel& sheet);

  /// The points, in Unit().
  const std::vector<double>& Stations() const { return station_; }
  const std::vector<double>& Elevations() const { return elevation_; }
  /// The file name of the points' (and breaks') length unit.
  const std::string& Unit() const { return unit_; }
  /// The numbers stay as typed and are read in the new unit.
  void SetUnit(const std::string& unitName);
  void SetPoints(std::vector<double> station, std::vector<double> elevation);
  /// A point after row (before the first when row is -1), halfway to the next one or one
  /// unit beyond the end it extends. Returns its row.
  int AddPointAfter(int row);
  /// Removes the rows given, in any order; false when none was a point.
  bool RemovePoints(std::vector<int> rows);
  /// Column 0 is the station, 1 the elevation; false (nothing changed) for a value that is
  /// not finite or a cell that does not exist.
  bool SetPoint(int row, int column, double value);
  /// Points read from a text, each column converted from its unit to the points' unit.
  void ImportPoints(const StationText& text, const std::string& stationUnit,
                    const std::string& elevationUnit);

  const std::vector<SectionZoneRow>& Zones() const { return zones_; }
  /// The zone table as edited; the first row always stays.
  void SetZones(std::vector<SectionZoneRow> rows);
  /// A zone halfway from the last zone's start (or the middle) to the right end, with the
  /// last zone's n.
  void AddZone();
  /// Deletes the current zone, or the last when the first is current; the first stays.
  bool DeleteZone(int current);

  /// Takes in lists that something else (a file read, a new sheet) put into the worksheet;
  /// true when the tables must be drawn again.
  bool Follow();
  /// The ground, zones and, while the results are current, the water of the last solve.
  SectionPicture Picture() const;

 private:
  void PushPoints();
  void PushZones();
  double Factor() const;

  WorksheetModel& sheet_;
  std::string unit_ = "m";
  std::vector<double> station_, elevation_;
  std::vector<SectionZoneRow> zones_{{"", ""}};
  // What was last sent to the sheet, to tell the editor's own changes from a file read.
  nlohmann::json sentPoints_, sentZones_;
};

}  // namespace rivulet
