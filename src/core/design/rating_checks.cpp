#include "core/design/rating_checks.h"

#include "core/design/design_checks.h"
#include "core/hydraulics/flow_details.h"
#include "core/shell/number_text.h"

namespace rivulet {
namespace {

// Positions of the foot units in the velocity list.
constexpr int kFeetPerSecond = 2;
constexpr int kFeetPerDay = 3;
constexpr double kFoot = 0.3048;

struct Mark {
  const char* check;  // the check's name, as LimitChecks gives it
  const char* mark;
};

constexpr Mark kMarks[] = {{"minimumVelocity", "V<min"}, {"maximumVelocity", "V>max"},
                           {"depthRatio", "y/D>max"},    {"freeboard", "FB<min"},
                           {"nearCritical", "Fr~1"},     {"liningShear", "shear>perm"}};

// Four figures read at a glance beside a limit.
std::string Num(double v) { return SignificantFigures(v, 4); }

bool IsPipe(const RatingCheckBasis& b) { return b.channel.section.shape == SectionKind::Pipe; }

}  // namespace

RatingCheckBasis RatingCheckBasisFor(const RatingChannel& channel, const RatingUnits& units,
                                     const DesignSettings& settings) {
  RatingCheckBasis b;
  b.channel = channel;
  b.system = units.velocity == kFeetPerSecond || units.velocity == kFeetPerDay ? UnitSystem::US
                                                                               : UnitSystem::SI;
  b.criteria = settings.CriteriaFor(b.system);
  // Full-flow velocity is the pipe's, the same on every row: the Flow Details judge it.
  b.criteria.minFullVelocity.reset();
  return b;
}

std::vector<std::string> RatingRowMarks(const RatingCheckBasis& basis, const RatingRow& row) {
  DesignInput in;
  in.isPipe = IsPipe(basis);
  in.diameter = basis.channel.section.diameter;
  in.depth = row.depth;
  in.slope = basis.channel.slope;
  in.n = basis.channel.n;
  in.discharge = row.discharge;
  in.velocity = row.velocity;
  in.froude = row.froude;
  // The shear on the bed at the deepest point, as the Flow Details give it.
  in.maximumShear = kUnitWeight * row.depth * basis.channel.slope;
  in.criteriaSystem = basis.system;
  const std::vector<DesignCheck> checks = LimitChecks(in, basis.criteria);
  std::vector<std::string> marks;
  for (const Mark& m : kMarks) {
    for (const DesignCheck& c : checks) {
      if (c.name == m.check && c.pass == false) marks.emplace_back(m.mark);
    }
  }
  return marks;
}

std::string RatingRowMarksText(const RatingCheckBasis& basis, const RatingRow& row) {
  const std::vector<std::string> marks = RatingRowMarks(basis, row);
  if (marks.empty()) return kRatingChecksMet;
  std::string text;
  for (const std::string& m : marks) text += (text.empty() ? "" : " ") + m;
  return text;
}

std::vector<std::string> RatingChecksLegend(const RatingCheckBasis& basis) {
  const DesignCriteria& c = basis.criteria;
  const bool us = basis.system == UnitSystem::US;
  const double foot = us ? kFoot : 1;
  const std::string speed = us ? " ft/s" : " m/s";
  const std::string length = us ? " ft" : " m";
  std::vector<std::string> lines{
      "V<min: velocity below the self-cleansing minimum " + Num(c.minVelocity / foot) + speed,
      "V>max: velocity above the maximum " + Num(c.maxVelocity / foot) + speed};
  if (IsPipe(basis)) lines.push_back("y/D>max: depth ratio above " + Num(c.maxDepthRatio));
  if (!IsPipe(basis) && c.minFreeboard && c.bankHeight)
    lines.push_back("FB<min: freeboard to the bank height " + Num(*c.bankHeight / foot) + length +
                    " below " + Num(*c.minFreeboard / foot) + length);
  lines.push_back("Fr~1: near-critical flow, Froude number " + Num(kNearCriticalLow) + " to " +
                  Num(kNearCriticalHigh));
  if (!IsPipe(basis) && c.permissibleShear) {
    const double perShear = us ? kPascalPerPsf : 1;
    lines.push_back("shear>perm: maximum shear times " + Num(c.shearSafetyFactor) +
                    " above the permissible " + Num(*c.permissibleShear / perShear) +
                    (us ? " lb/ft²" : " Pa") + (c.lining.empty() ? "" : " of " + c.lining));
  }
  lines.push_back(std::string(kRatingChecksMet) + ": every limit met");
  return lines;
}

std::string RatingChecksParagraph(const RatingCheckBasis& basis) {
  std::string paragraph = "Design checks: ";
  const std::vector<std::string> legend = RatingChecksLegend(basis);
  for (size_t i = 0; i < legend.size(); ++i) paragraph += (i ? "; " : "") + legend[i];
  return paragraph + ".";
}

std::string RatingChecksHeader(const RatingCheckBasis& basis) {
  std::string header = std::string(kRatingChecksTitle) + " (";
  const std::vector<std::string> legend = RatingChecksLegend(basis);
  for (size_t i = 0; i < legend.size(); ++i) header += (i ? "; " : "") + legend[i];
  return header + ")";
}

}  // namespace rivulet
