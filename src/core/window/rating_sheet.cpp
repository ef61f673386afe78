#include "core/window/rating_sheet.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/hydraulics/checked_math.h"
#include "core/hydraulics/sheet_reader.h"
#include "core/hydraulics/units.h"
#include "core/shell/number_text.h"
#include "core/window/flow_details_table.h"

namespace rivulet {
namespace {

// Five significant digits tell one row from the next in any sensible table.
constexpr int kSignificantDigits = 5;
constexpr int kMaxDecimals = 12;

// The section, slope and n as typed; a value that cannot be converted reads 0, which the
// channel check then names.
RatingChannel TypedChannel(const frmRivulet& f) {
  RatingChannel c;
  c.section.shape = SectionOf(f);
  const double diam = ReadOrZero([&] { return ReadDiameterRow(f); });
  if (c.section.shape == SectionKind::Pipe) c.section.diameter = diam;
  if (HasBottomWidth(c.section.shape)) c.section.width = diam;
  if (HasSideSlope(c.section.shape))
    c.section.side = ReadOrZero([&] { return ReadSideSlope(f, 4 * std::atan(1.0)); });
  c.slope = ReadOrZero([&] { return ReadSlope(f); });
  c.n = ReadManningN(f);
  return c;
}

double TypedDepth(const frmRivulet& f) {
  return ReadOrZero([&] { return ReadDepth(f); });
}

std::string Describe(const frmRivulet& f, const RatingChannel& c) {
  const ChannelSection& s = c.section;
  std::string text = SectionName(SectionOf(f));
  std::string sep = ": ";
  auto add = [&](const std::string& name, double shown, const std::string& unit) {
    text += sep + name + " " + ShortNumber(shown) + (unit.empty() ? "" : " " + unit);
    sep = ", ";
  };
  try {
    const double pi = 4 * std::atan(1.0);
    const int length = f.cboDiam.ListIndex();
    if (s.shape == SectionKind::Pipe)
      add("diameter", ConvertLength(s.diameter, length, kFromBase), f.cboDiam.Text());
    if (HasBottomWidth(s.shape))
      add("width", ConvertLength(s.width, length, kFromBase), f.cboDiam.Text());
    if (HasSideSlope(s.shape)) {
      std::string unit = "(";
      unit.append(f.cboSide.Text()).append(")");
      add("side slope", ConvertSideSlope(s.side, f.cboSide.ListIndex(), kFromBase, pi), unit);
    }
    add("slope", ConvertSlope(c.slope, f.cboSlope.ListIndex(), kFromBase), f.cboSlope.Text());
    add("n", c.n, "");
  } catch (const ArithmeticFault&) {
    // A side slope of 0 has no angle: the description stops at what it could say.
  }
  return text;
}

void SetDefaults(RatingSource& src, double depth) {
  const ChannelSection& s = src.channel.section;
  if (s.shape == SectionKind::Pipe) {
    src.defaultTopDepth = s.diameter > 0 ? s.diameter : 1;
  } else if (depth > 0) {
    src.defaultTopDepth = 2 * depth;
  } else {
    src.defaultTopDepth = s.width > 0 ? s.width : 1;
  }
  if (!src.problem.empty()) return;
  try {
    src.defaultTopDischarge =
        s.shape == SectionKind::Pipe
            ? PipeMaximumFlow(s.diameter, src.channel.slope, src.channel.n).discharge
            : RatingRowAt(src.channel, src.defaultTopDepth).discharge;
  } catch (const ArithmeticFault&) {
    src.defaultTopDischarge = 0;
  }
}

}  // namespace

RatingSource RatingSourceOf(const frmRivulet& form) {
  RatingSource src;
  double depth = 0;
  if (form.LastSolve() && form.Results() == ResultsState::Current) {
    const SolvedFlows flows = FlowsOf(*form.LastSolve());
    src.channel = {flows.primary.section, flows.primary.slope, flows.primary.n};
    RatingSolution solution{flows.primary.depth, flows.primary.discharge, std::nullopt};
    // A second side slope is another channel; only a second depth lies on this curve.
    if (flows.alternate && flows.alternate->depth != flows.primary.depth)
      solution.alternateDepth = flows.alternate->depth;
    src.solution = solution;
    depth = flows.primary.depth;
  } else {
    src.channel = TypedChannel(form);
    depth = TypedDepth(form);
  }
  src.problem = RatingChannelProblem(src.channel);
  SetDefaults(src, depth);
  src.description = Describe(form, src.channel);
  return src;
}

RatingUnits RatingUnitsOf(const frmRivulet& f) {
  const bool velocityFirst = f.VelocityGiven();
  const ComboBox& vel = velocityFirst ? f.cboVelDis1 : f.cboVelDis2;
  const ComboBox& dis = velocityFirst ? f.cboVelDis2 : f.cboVelDis1;
  return {f.cboDepth.ListIndex(), f.cboArea.ListIndex(), vel.ListIndex(), dis.ListIndex()};
}

std::vector<RatingColumn> RatingColumns(bool pipe) {
  std::vector<RatingColumn> columns{RatingColumn::Depth, RatingColumn::Area, RatingColumn::Velocity,
                                    RatingColumn::Discharge, RatingColumn::Froude};
  if (pipe) columns.push_back(RatingColumn::PercentFull);
  return columns;
}

std::string RatingColumnTitle(RatingColumn column) {
  switch (column) {
    case RatingColumn::Depth:
      return "Depth";
    case RatingColumn::Area:
      return "Flow Area";
    case RatingColumn::Velocity:
      return "Velocity";
    case RatingColumn::Discharge:
      return "Discharge";
    case RatingColumn::Froude:
      return "Froude Number";
    case RatingColumn::PercentFull:
      return "Percent Full";
  }
  return "";
}

std::string RatingColumnUnit(RatingColumn column, const RatingUnits& u) {
  auto entry = [](const std::vector<std::string>& list, int position) {
    return position >= 0 && position < static_cast<int>(list.size()) ? list[position]
                                                                     : std::string("?");
  };
  switch (column) {
    case RatingColumn::Depth:
      return entry(LengthUnits(), u.length);
    case RatingColumn::Area:
      return entry(AreaUnits(), u.area);
    case RatingColumn::Velocity:
      return entry(VelocityUnits(), u.velocity);
    case RatingColumn::Discharge:
      return entry(DischargeUnits(), u.discharge);
    case RatingColumn::Froude:
      return "-";
    case RatingColumn::PercentFull:
      return "%";
  }
  return "";
}

std::string RatingColumnHeader(RatingColumn column, const RatingUnits& units) {
  return RatingColumnTitle(column) + " (" + RatingColumnUnit(column, units) + ")";
}

std::optional<double> RatingCellValue(const RatingRow& row, RatingColumn column,
                                      const RatingUnits& u) {
  switch (column) {
    case RatingColumn::Depth:
      return ConvertLength(row.depth, u.length, kFromBase);
    case RatingColumn::Area:
      return ConvertArea(row.area, u.area, kFromBase);
    case RatingColumn::Velocity:
      return ConvertVelocity(row.velocity, u.velocity, kFromBase);
    case RatingColumn::Discharge:
      return ConvertDischarge(row.discharge, u.discharge, kFromBase);
    case RatingColumn::Froude:
      return row.froude;
    case RatingColumn::PercentFull:
      return row.percentFull;
  }
  return std::nullopt;
}

int RatingColumnDecimals(const std::vector<RatingRow>& rows, RatingColumn column,
                         const RatingUnits& units) {
  double largest = 0;
  for (const RatingRow& row : rows) {
    if (const auto v = RatingCellValue(row, column, units); v && std::isfinite(*v))
      largest = std::max(largest, std::abs(*v));
  }
  if (largest == 0) return kSignificantDigits - 1;
  const int magnitude = static_cast<int>(std::floor(std::log10(largest)));
  return std::clamp(kSignificantDigits - 1 - magnitude, 0, kMaxDecimals);
}

std::string RatingCellText(const std::optional<double>& value, int decimals) {
  if (!value) return "";
  return CharsOf(*value, std::chars_format::fixed, decimals);
}

std::string RatingMarkName(RatingMarkKind kind) {
  switch (kind) {
    case RatingMarkKind::Solution:
      return "Solution";
    case RatingMarkKind::Alternate:
      return "Alternate";
    case RatingMarkKind::Critical:
      return "Critical depth";
    case RatingMarkKind::FullFlow:
      return "Full flow";
    case RatingMarkKind::MaximumFlow:
      return "Maximum";
  }
  return "";
}

std::string RatingRowText(const RatingRow& row, const RatingUnits& units) {
  std::string text;
  for (RatingColumn column : RatingColumns(row.percentFull.has_value())) {
    const auto v = RatingCellValue(row, column, units);
    if (!v) continue;
    if (!text.empty()) text += "\n";
    const std::string unit = RatingColumnUnit(column, units);
    text += RatingColumnTitle(column) + ": " + ShortNumber(*v) + (unit == "-" ? "" : " " + unit);
  }
  return text;
}

void RatingSettings::Follow(const RatingSource& source, const RatingUnits& sheetUnits) {
  if (!sheetUnits_) {
    units_ = sheetUnits;
  } else {
    // Only the units the sheet changed: the window keeps its own choice of the others.
    if (sheetUnits.length != sheetUnits_->length) units_.length = sheetUnits.length;
    if (sheetUnits.area != sheetUnits_->area) units_.area = sheetUnits.area;
    if (sheetUnits.velocity != sheetUnits_->velocity) units_.velocity = sheetUnits.velocity;
    if (sheetUnits.discharge != sheetUnits_->discharge) units_.discharge = sheetUnits.discharge;
  }
  sheetUnits_ = sheetUnits;
  defaultDepth_ = source.defaultTopDepth;
  defaultDischarge_ = source.defaultTopDischarge;
  if (defaultRange_) UseDefaultRange();
}

void RatingSettings::SetStep(RatingStep step) {
  if (step == step_) return;
  step_ = step;
  UseDefaultRange();
}

void RatingSettings::UseDefaultRange() {
  from_ = 0;
  to_ = step_ == RatingStep::Depth ? defaultDepth_ : defaultDischarge_;
  defaultRange_ = true;
}

double RatingSettings::ToShown(double base) const {
  return step_ == RatingStep::Depth ? ConvertLength(base, units_.length, kFromBase)
                                    : ConvertDischarge(base, units_.discharge, kFromBase);
}

double RatingSettings::FromShown(double shown) const {
  return step_ == RatingStep::Depth ? ConvertLength(shown, units_.length, kToBase)
                                    : ConvertDischarge(shown, units_.discharge, kToBase);
}

double RatingSettings::ShownFrom() const { return ToShown(from_); }
double RatingSettings::ShownTo() const { return ToShown(to_); }

void RatingSettings::SetShownRange(double from, double to) {
  from_ = FromShown(from);
  to_ = FromShown(to);
  defaultRange_ = false;
}

}  // namespace rivulet
