#include "core/worksheets/section_editor_model.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/shell/number_text.h"
#include "core/worksheets/file_units.h"
#include "core/worksheets/section_sheet.h"

namespace rivulet {
namespace {

using nlohmann::json;

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

double MetresPer(const std::string& unitName) {
  const FileUnit* u = FindFileUnit(Dimension::Length, unitName);
  return u ? u->factor : 1;
}

// The numbers of a list in a JSON entry; anything else in it reads as NaN.
std::vector<double> Numbers(const json* entry, const char* member) {
  std::vector<double> out;
  if (!entry || !entry->is_object() || !entry->contains(member) || !(*entry)[member].is_array())
    return out;
  for (const json& v : (*entry)[member]) out.push_back(v.is_number() ? v.get<double>() : kNone);
  return out;
}

// A number the sheet refuses by name stays in the list as null, so the point keeps its row.
json NumberList(const std::vector<double>& values) {
  json list = json::array();
  for (double v : values) list.push_back(std::isfinite(v) ? json(v) : json(nullptr));
  return list;
}

std::string UnitOf(const json* entry) {
  if (entry && entry->is_object() && entry->contains("unit") && (*entry)["unit"].is_string())
    return (*entry)["unit"].get<std::string>();
  return "";
}

}  // namespace

std::string SectionCellText(double value) {
  return std::isfinite(value) ? SignificantFigures(value, 12) : std::string();
}

double SectionCellNumber(std::string_view typed) {
  const std::string text = DecimalPointText(typed);
  if (!IsNumericText(text)) return kNone;
  const double v = ReadNumber(text);
  return std::isfinite(v) ? v : kNone;
}

SectionEditorModel::SectionEditorModel(WorksheetModel& sheet) : sheet_(sheet) {}

double SectionEditorModel::Factor() const { return MetresPer(unit_); }

void SectionEditorModel::SetUnit(const std::string& unitName) {
  unit_ = unitName;
  PushPoints();
  PushZones();
}

void SectionEditorModel::SetPoints(std::vector<double> station, std::vector<double> elevation) {
  station_ = std::move(station);
  elevation_ = std::move(elevation);
  elevation_.resize(station_.size(), kNone);
  PushPoints();
}

int SectionEditorModel::AddPointAfter(int row) {
  const size_t at = static_cast<size_t>(std::clamp(row + 1, 0, static_cast<int>(station_.size())));
  double s = 0, z = 0;
  if (at == 0 && !station_.empty()) {
    s = station_.front() - 1, z = elevation_.front();
  } else if (at == station_.size() && !station_.empty()) {
    s = station_.back() + 1, z = elevation_.back();
  } else if (!station_.empty()) {
    s = (station_[at - 1] + station_[at]) / 2, z = (elevation_[at - 1] + elevation_[at]) / 2;
  }
  station_.insert(station_.begin() + static_cast<std::ptrdiff_t>(at), s);
  elevation_.insert(elevation_.begin() + static_cast<std::ptrdiff_t>(at), z);
  PushPoints();
  return static_cast<int>(at);
}

bool SectionEditorModel::RemovePoints(std::vector<int> rows) {
  std::sort(rows.rbegin(), rows.rend());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  bool removed = false;
  for (int r : rows) {
    if (r < 0 || r >= static_cast<int>(station_.size())) continue;
    station_.erase(station_.begin() + r);
    elevation_.erase(elevation_.begin() + r);
    removed = true;
  }
  if (removed) PushPoints();
  return removed;
}

bool SectionEditorModel::SetPoint(int row, int column, double value) {
  if (!std::isfinite(value) || row < 0 || row >= static_cast<int>(station_.size()) || column < 0 ||
      column > 1)
    return false;
  double& cell = (column == 0 ? station_ : elevation_)[static_cast<size_t>(row)];
  if (cell != value) {
    cell = value;
    PushPoints();
  }
  return true;
}

void SectionEditorModel::ImportPoints(const StationText& text, const std::string& stationUnit,
                                      const std::string& elevationUnit) {
  const double sScale = MetresPer(stationUnit) / Factor();
  const double zScale = MetresPer(elevationUnit) / Factor();
  std::vector<double> station, elevation;
  for (double v : text.station) station.push_back(v * sScale);
  for (double v : text.elevation) elevation.push_back(v * zScale);
  SetPoints(std::move(station), std::move(elevation));
}

void SectionEditorModel::SetZones(std::vector<SectionZoneRow> rows) {
  if (rows.empty()) rows.push_back({});
  rows.front().from.clear();
  zones_ = std::move(rows);
  PushZones();
}

void SectionEditorModel::AddZone() {
  double from = station_.empty() ? 0 : (station_.front() + station_.back()) / 2;
  if (zones_.size() > 1 && !station_.empty())
    from = (SectionCellNumber(zones_.back().from) + station_.back()) / 2;
  zones_.push_back({SectionCellText(from), zones_.back().n});
  PushZones();
}

bool SectionEditorModel::DeleteZone(int current) {
  const int row = current > 0 ? current : static_cast<int>(zones_.size()) - 1;
  if (row < 1 || row >= static_cast<int>(zones_.size())) return false;
  zones_.erase(zones_.begin() + row);
  PushZones();
  return true;
}

void SectionEditorModel::PushPoints() {
  json entry = {
      {"unit", unit_}, {"station", NumberList(station_)}, {"elevation", NumberList(elevation_)}};
  sentPoints_ = entry;
  sheet_.SetListInput("points", std::move(entry));
}

void SectionEditorModel::PushZones() {
  std::vector<double> breaks, n;
  for (size_t r = 0; r < zones_.size(); ++r) {
    if (r > 0) breaks.push_back(SectionCellNumber(zones_[r].from));
    n.push_back(SectionCellNumber(zones_[r].n));
  }
  json entry = {{"unit", unit_}, {"breaks", NumberList(breaks)}, {"n", NumberList(n)}};
  sentZones_ = entry;
  sheet_.SetListInput("nZones", std::move(entry));
}

bool SectionEditorModel::Follow() {
  // A list the sheet lacks (a new sheet, or Undo back to before the first point) is empty.
  const json none;
  const json* points = sheet_.ListInput("points");
  const json* zones = sheet_.ListInput("nZones");
  if (!points) points = &none;
  if (!zones) zones = &none;
  if (*points == sentPoints_ && *zones == sentZones_) return false;
  sentPoints_ = *points;
  if (FindFileUnit(Dimension::Length, UnitOf(points))) unit_ = UnitOf(points);
  station_ = Numbers(points, "station");
  elevation_ = Numbers(points, "elevation");
  elevation_.resize(station_.size(), kNone);
  sentZones_ = *zones;
  const std::vector<double> breaks = Numbers(zones, "breaks"), n = Numbers(zones, "n");
  // The table shows breaks in the points' unit.
  const std::string unit = UnitOf(zones);
  const double scale = (unit.empty() ? Factor() : MetresPer(unit)) / Factor();
  zones_.assign(std::max({n.size(), breaks.size() + 1, size_t{1}}), {});
  for (size_t r = 0; r < zones_.size(); ++r) {
    if (r > 0) zones_[r].from = SectionCellText(breaks[r - 1] * scale);
    if (r < n.size()) zones_[r].n = SectionCellText(n[r]);
  }
  return true;
}

std::optional<SectionPicture> SectionPictureOf(const Document& document,
                                               const SheetOutcome& outcome) {
  SectionInputs in;
  try {
    in = SectionInputsFrom(document);
  } catch (const WorksheetError&) {
    return std::nullopt;
  }
  SectionPicture p;
  p.station = in.section.station;
  p.elevation = in.section.elevation;
  p.breaks = in.section.breaks;
  p.n = in.section.n;
  for (double n : p.n) p.zoneLabels.push_back("n " + SignificantFigures(n, 4));
  const auto shown = [&](const NamedResult& r) {
    const ShownResult s = ShowResult(r, document.ResultUnit(r.name, r.dimension));
    return s.text + " " + s.unitSymbol;
  };
  if (const NamedResult* w = outcome.Find("waterSurfaceElevation")) {
    p.waterSurface = w->value;
    p.waterText = shown(*w);
  }
  if (const NamedResult* y = outcome.Find("depth")) p.depthText = shown(*y);
  if (const NamedResult* c = outcome.Find("criticalWaterSurfaceElevation"))
    p.criticalSurface = c->value;
  return p;
}

SectionPicture SectionEditorModel::Picture() const {
  SectionPicture p;
  const double toMetres = Factor();
  for (double s : station_) p.station.push_back(s * toMetres);
  for (double z : elevation_) p.elevation.push_back(z * toMetres);
  for (size_t r = 0; r < zones_.size(); ++r) {
    if (r > 0) p.breaks.push_back(SectionCellNumber(zones_[r].from) * toMetres);
    const double n = SectionCellNumber(zones_[r].n);
    p.n.push_back(n);
    p.zoneLabels.push_back(std::isfinite(n) ? "n " + SignificantFigures(n, 4) : "");
  }
  if (sheet_.State() == ResultsState::Current) {
    const SheetOutcome& o = sheet_.Outcome();
    if (const NamedResult* w = o.Find("waterSurfaceElevation")) p.waterSurface = w->value;
    if (const NamedResult* c = o.Find("criticalWaterSurfaceElevation"))
      p.criticalSurface = c->value;
    for (const ResultRow& row : sheet_.ResultRows()) {
      if (row.name == "waterSurfaceElevation") p.waterText = row.text + " " + row.unitSymbol;
      if (row.name == "depth") p.depthText = row.text + " " + row.unitSymbol;
    }
  }
  return p;
}

}  // namespace rivulet
