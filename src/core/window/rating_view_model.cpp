#include "core/window/rating_view_model.h"

#include <charconv>
#include <stdexcept>

#include "core/hydraulics/units.h"
#include "core/shell/number_text.h"

namespace rivulet {

std::optional<RatingRequest> RatingCurveRequest(const RatingTable& table, RatingStep step) {
  if (!table.problem.empty() || table.rows.empty()) return std::nullopt;
  // Discharge steps leave wide gaps in depth near the invert; the curve does not.
  if (step == RatingStep::Depth && table.rows.size() >= static_cast<size_t>(kRatingCurveRows))
    return std::nullopt;
  return RatingRequest{RatingStep::Depth, table.rows.front().depth, table.rows.back().depth,
                       kRatingCurveRows};
}

std::string RatingNote(const RatingNoteFacts& f) {
  if (!f.problem.empty()) return f.problem;
  std::vector<std::string> notes;
  if (!f.solutionMarked)
    notes.push_back(f.calculated ? "The results are not current: Calculate to mark the solution."
                                 : "Calculate to mark the solution on the curve.");
  if (f.cutAt && f.step == RatingStep::Depth)
    notes.push_back("The depths stop at the pipe's crown.");
  if (f.cutAt && f.step == RatingStep::Discharge)
    notes.push_back("The discharges stop at the pipe's maximum, " +
                    ShortNumber(ConvertDischarge(*f.cutAt, f.units.discharge, kFromBase)) + " " +
                    RatingColumnUnit(RatingColumn::Discharge, f.units) + ".");
  if (f.pipe && f.step == RatingStep::Discharge)
    notes.push_back(
        "From full flow to the maximum a pipe carries each discharge at two depths; "
        "the table gives the lower.");
  std::string joined;
  for (const std::string& note : notes) joined += (joined.empty() ? "" : " ") + note;
  return joined;
}

std::string RatingRangeText(double value) {
  // std::to_chars never looks at the locale, which the GUI toolkit sets from the user's.
  return CharsOf(value, std::chars_format::general, 6);
}

std::string RatingRangeUnit(const RatingSettings& settings) {
  return RatingColumnUnit(
      settings.Step() == RatingStep::Depth ? RatingColumn::Depth : RatingColumn::Discharge,
      settings.Units());
}

RatingRangeEdit EditRatingRange(RatingSettings& settings, RatingRangeEnd end,
                                const std::string& typed) {
  using Outcome = RatingRangeEdit::Outcome;
  const bool from = end == RatingRangeEnd::From;
  const std::string name = from ? "From" : "To";
  if (!IsNumericText(typed)) {
    const bool blank = typed.find_first_not_of(" \t\r\n\f\v") == std::string::npos;
    return {Outcome::Refused,
            blank ? name + " needs a value: the range is kept as it was."
                  : name + " \"" + typed + "\" is not a number: the range is kept as it was."};
  }
  const double value = ReadNumber(typed);
  try {
    const double shown = from ? settings.ShownFrom() : settings.ShownTo();
    if (typed == RatingRangeText(shown)) return {Outcome::Unchanged, ""};
    settings.SetShownRange(from ? value : settings.ShownFrom(), from ? settings.ShownTo() : value);
  } catch (const std::exception&) {
    return {Outcome::Refused, name + " " + typed + " " + RatingRangeUnit(settings) +
                                  " is out of reach in that unit: the range is kept as it was."};
  }
  return {Outcome::Changed, ""};
}

std::string ProposedRatingFileName(const std::string& sheetFileName, const std::string& extension,
                                   const std::string& unsavedName) {
  std::string name = sheetFileName;
  if (const auto dot = name.rfind('.'); dot != std::string::npos) name.erase(dot);
  return (name.empty() ? unsavedName : name + "-rating") + "." + extension;
}

void RatingViewModel::Refresh() {
  source_ = RatingSourceOf(form_);
  settings_.Follow(source_, RatingUnitsOf(form_));
  title_ =
      form_.currentFileName.empty() ? "Rating Table" : "Rating Table - " + form_.currentFileName;
  Rebuild();
}

void RatingViewModel::SetStep(RatingStep step) {
  settings_.SetStep(step);
  Rebuild();
}

void RatingViewModel::SetRows(int rows) {
  settings_.SetRows(rows);
  Rebuild();
}

void RatingViewModel::UseDefaultRange() {
  settings_.UseDefaultRange();
  Rebuild();
}

void RatingViewModel::SetUnits(const RatingUnits& units) {
  settings_.SetUnits(units);
  Rebuild();
}

RatingRangeEdit RatingViewModel::EditRange(RatingRangeEnd end, const std::string& typed) {
  const RatingRangeEdit edit = EditRatingRange(settings_, end, typed);
  if (edit.outcome == RatingRangeEdit::Outcome::Changed) Rebuild();
  return edit;
}

void RatingViewModel::Rebuild() {
  const RatingBuildRequest request{source_.channel, settings_.Request()};
  if (!source_.problem.empty()) {
    table_ = {{}, source_.problem, {}};
    curve_.clear();
    built_.reset();
  } else if (built_ != request) {
    table_ = BuildRatingTable(request.channel, request.request);
    const auto curve = RatingCurveRequest(table_, request.request.step);
    curve_ = curve ? BuildRatingTable(request.channel, *curve).rows : std::vector<RatingRow>{};
    built_ = request;
    ++builds_;
  }
  marks_.clear();
  if (table_.problem.empty() && !table_.rows.empty())
    marks_ = RatingMarks(source_.channel, source_.solution);
}

std::string RatingViewModel::Note() const {
  return RatingNote({table_.problem, source_.solution.has_value(), form_.LastSolve().has_value(),
                     settings_.Step(), Pipe(), table_.cutAt, settings_.Units()});
}

std::optional<std::pair<std::string, std::string>> RatingViewModel::RangeTexts() const {
  try {
    return std::pair(RatingRangeText(settings_.ShownFrom()), RatingRangeText(settings_.ShownTo()));
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

std::string RatingViewModel::ProposedName(const std::string& extension) const {
  return ProposedRatingFileName(form_.currentFileName, extension);
}

}  // namespace rivulet
