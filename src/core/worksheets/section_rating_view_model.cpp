#include "core/worksheets/section_rating_view_model.h"

#include <cmath>
#include <limits>

#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/units.h"
#include "core/sections/section_rating.h"
#include "core/shell/number_text.h"
#include "core/window/rating_view_model.h"
#include "core/worksheets/rating_units.h"
#include "core/worksheets/section_sheet.h"

namespace rivulet {
namespace {

const char* MethodName(CompositeMethod m) {
  switch (m) {
    case CompositeMethod::Conveyance:
      return "conveyance";
    case CompositeMethod::Horton:
      return "Horton";
    case CompositeMethod::Pavlovskii:
      return "Pavlovskii";
    case CompositeMethod::Lotter:
      return "Lotter";
  }
  return "";
}

constexpr char kWindowTitle[] = "Irregular Section: Rating Table";

}  // namespace

std::string SectionRatingDescription(const SectionInputs& in) {
  std::string n;
  for (double v : in.section.n) n += (n.empty() ? "" : ", ") + ShortNumber(v);
  const size_t zones = in.section.n.size();
  return std::to_string(in.section.station.size()) + " points, " + std::to_string(zones) + " zone" +
         (zones == 1 ? "" : "s") + " (n " + n + "), slope " + ShortNumber(in.slope) +
         " m/m, composite n by " + MethodName(in.method);
}

SectionRatingViewModel::SectionRatingViewModel(Solver solver) : solver_(std::move(solver)) {}

void SectionRatingViewModel::SetRequest(const SectionRatingRequest& request) {
  request_ = request;
  Rebuild();
}

void SectionRatingViewModel::Refresh(const WorksheetModel& sheet,
                                     const SectionRatingRequest& request) {
  request_ = request;
  sheetProblem_.clear();
  inputs_ = SectionInputs{};
  solved_ = SectionResults{};
  try {
    const Document document = sheet.ToDocument();
    units_ = RatingUnitsOfResults(document);
    inputs_ = SectionInputsFrom(document);
  } catch (const WorksheetError& e) {
    sheetProblem_ = e.what();
  }
  if (sheetProblem_.empty()) {
    // The one solve: its slope rates a sheet solved for slope, and its depth and critical
    // depths are the marks.
    solved_ = solver_(inputs_);
    if (inputs_.solveFor == SectionUnknown::Slope) {
      if (solved_.ok)
        inputs_.slope = solved_.slope;
      else
        sheetProblem_ = solved_.message;
    }
  }
  sheetTitle_ = sheet.Title();
  fileName_ = sheet.FileName();
  title_ = fileName_.empty() ? kWindowTitle : std::string(kWindowTitle) + " - " + fileName_;
  Rebuild();
}

void SectionRatingViewModel::Rebuild() {
  table_ = RatingTable{};
  marks_.clear();
  if (!sheetProblem_.empty()) {
    table_.problem = sheetProblem_;
    return;
  }
  // A blank end means bank-full, walls or not.
  double to = std::numeric_limits<double>::infinity();
  if (request_.to.find_first_not_of(" \t") != std::string::npos) {
    if (!IsNumericText(request_.to)) {
      table_.problem = "The end of the range \"" + request_.to +
                       "\" is not a number: leave it empty for bank-full.";
      return;
    }
    try {
      to = request_.step == RatingStep::Depth
               ? ConvertLength(ReadNumber(request_.to), units_.length, kToBase)
               : ConvertDischarge(ReadNumber(request_.to), units_.discharge, kToBase);
    } catch (const ArithmeticFault&) {
      // Beyond what the unit can hold: as far as the section goes.
    }
  }
  table_ = BuildSectionRating(inputs_.section, inputs_.method, inputs_.slope,
                              {request_.step, 0, to, request_.rows});
  if (table_.problem.empty() && solved_.ok)
    marks_ = SectionRatingMarks(inputs_.section, inputs_.method, inputs_.slope, solved_);
}

std::string SectionRatingViewModel::RangeUnit() const {
  return RatingColumnUnit(
      request_.step == RatingStep::Depth ? RatingColumn::Depth : RatingColumn::Discharge, units_);
}

std::string SectionRatingViewModel::Description() const {
  const std::string section = table_.problem.empty() ? SectionRatingDescription(inputs_) : "";
  return sheetTitle_.empty() ? section : sheetTitle_ + ": " + section;
}

std::string SectionRatingViewModel::Note() const {
  if (!table_.problem.empty()) return table_.problem;
  std::string note = "Depths above the lowest point.";
  if (table_.cutAt) {
    const double cut = request_.step == RatingStep::Depth
                           ? ConvertLength(*table_.cutAt, units_.length, kFromBase)
                           : ConvertDischarge(*table_.cutAt, units_.discharge, kFromBase);
    note += " The range stops at bank-full (" + ShortNumber(cut) + " " + RangeUnit() + ").";
  }
  return note;
}

std::string SectionRatingViewModel::ProposedName(const std::string& extension) const {
  return ProposedRatingFileName(fileName_, extension, "section-rating");
}

}  // namespace rivulet
