#include "core/cases/case_columns.h"

#include <algorithm>
#include <cctype>

namespace rivulet {
namespace {

// The value and unit columns every output has, so that any unknown has its column.
constexpr CaseField kValueFields[] = {
    CaseField::Flow,  CaseField::FlowUnit,  CaseField::Depth,     CaseField::DepthUnit,
    CaseField::Width, CaseField::WidthUnit, CaseField::SideSlope, CaseField::SideSlopeUnit,
    CaseField::Slope, CaseField::SlopeUnit, CaseField::ManningsN};

const std::vector<std::string>& ResultColumns() {
  static const std::vector<std::string> names{
      "status",   "message",      "area",    "areaUnit",    "otherFlow", "otherFlowUnit",
      "altValue", "altValueUnit", "altFlow", "altFlowUnit", "altArea",   "altAreaUnit"};
  return names;
}

// The details that carry no unit.
bool Unitless(const std::string& key) {
  return key == "froudeNumber" || key == "regime" || key == "slopeClass";
}

// The column of the unknown's value.
CaseField ValueField(CaseUnknown u) {
  switch (u) {
    case CaseUnknown::Velocity:
    case CaseUnknown::Discharge:
      return CaseField::Flow;
    case CaseUnknown::Depth:
      return CaseField::Depth;
    case CaseUnknown::Diameter:
    case CaseUnknown::Width:
      return CaseField::Width;
    case CaseUnknown::SideSlope:
      return CaseField::SideSlope;
    case CaseUnknown::Slope:
      return CaseField::Slope;
    case CaseUnknown::ManningsN:
      break;
  }
  return CaseField::ManningsN;
}

// Equal but for letter case, as the table reads its words.
bool SameLetters(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

const std::vector<CaseField>& CaseColumns::Required() {
  static const std::vector<CaseField> fields{CaseField::Section, CaseField::SolveFor,
                                             CaseField::Flow,    CaseField::Depth,
                                             CaseField::Slope,   CaseField::ManningsN};
  return fields;
}

CaseColumns CaseColumns::FromHeader(const std::vector<std::string>& header, bool withDetails,
                                    std::string& error) {
  CaseColumns c;
  error.clear();
  c.withDetails_ = withDetails;
  c.inputWidth_ = header.size();
  c.output_ = header;
  for (size_t i = 0; i < header.size(); ++i) {
    if (!c.index_.emplace(header[i], i).second) {
      for (size_t f = 0; f < kCaseFieldCount; ++f)
        if (header[i] == CaseFieldName(static_cast<CaseField>(f)))
          error = "the column \"" + header[i] + "\" appears more than once";
    }
    if (!error.empty()) return c;
  }
  for (CaseField f : Required()) {
    if (!c.index_.count(CaseFieldName(f))) {
      error = std::string("the required column \"") + CaseFieldName(f) + "\" is missing";
      return c;
    }
  }
  auto add = [&c](const std::string& name) {
    if (c.index_.emplace(name, c.output_.size()).second) c.output_.push_back(name);
  };
  for (CaseField f : kValueFields) add(CaseFieldName(f));
  c.resultNames_ = ResultColumns();
  if (withDetails) {
    for (const std::string& key : CaseDetailKeys()) {
      c.resultNames_.push_back(key);
      if (!Unitless(key)) c.resultNames_.push_back(key + "Unit");
    }
  }
  for (const std::string& name : c.resultNames_) add(name);
  for (size_t f = 0; f < kCaseFieldCount; ++f) {
    const auto it = c.index_.find(CaseFieldName(static_cast<CaseField>(f)));
    // Only columns that came with the table are read; added ones start empty.
    if (it != c.index_.end() && it->second < c.inputWidth_) c.field_[f] = it->second;
  }
  return c;
}

std::optional<size_t> CaseColumns::Find(const std::string& name) const {
  const auto it = index_.find(name);
  if (it == index_.end()) return std::nullopt;
  return it->second;
}

CaseCells CaseColumns::CellsOf(const std::vector<std::string>& record) const {
  CaseCells cells{};
  for (size_t f = 0; f < kCaseFieldCount; ++f)
    if (field_[f] && *field_[f] < record.size()) cells[f] = record[*field_[f]];
  return cells;
}

void CaseColumns::Put(const std::string& name, std::string text,
                      std::vector<std::string>& cells) const {
  if (const auto i = Find(name)) cells[*i] = std::move(text);
}

void CaseColumns::ClearResults(std::vector<std::string>& cells) const {
  // A result unit the row chose is an input and stays.
  for (const std::string& name : resultNames_) {
    const auto i = Find(name);
    if (!i) continue;
    bool chosen = false;
    for (CaseField f : {CaseField::OtherFlowUnit, CaseField::AreaUnit, CaseField::AltValueUnit,
                        CaseField::AltFlowUnit, CaseField::AltAreaUnit})
      chosen = chosen || field_[static_cast<size_t>(f)] == i;
    if (!chosen) cells[*i].clear();
  }
}

void CaseColumns::WriteRejected(const std::string& message, std::vector<std::string>& cells) const {
  cells.resize(output_.size());
  ClearResults(cells);
  // The unknown's cell holds the last run's answer, which no longer stands.
  if (const auto solveFor = field_[static_cast<size_t>(CaseField::SolveFor)]) {
    std::string word = cells[*solveFor];
    word.erase(0, word.find_first_not_of(" \t"));
    word.erase(word.find_last_not_of(" \t") + 1);
    const auto& words = CaseUnknownWords();
    for (size_t u = 0; u < words.size(); ++u) {
      if (!SameLetters(words[u], word)) continue;
      if (const auto value = Find(CaseFieldName(ValueField(static_cast<CaseUnknown>(u)))))
        cells[*value].clear();
    }
  }
  Put("status", kStatusNotCalculated, cells);
  Put("message", message, cells);
}

void CaseColumns::WriteOutcome(const CaseInput& caseInput, const CaseOutcome& o,
                               std::vector<std::string>& cells) const {
  cells.resize(output_.size());
  ClearResults(cells);
  const bool refused = !o.solved && o.status != kStatusNoSolution;
  Put("status",
      refused               ? kStatusNotCalculated
      : o.surcharge.empty() ? o.status
                            : kStatusSurcharged,
      cells);
  Put("message",
      !o.surcharge.empty() ? o.surcharge
      : o.messages.empty() ? std::string()
                           : o.messages.front().text,
      cells);
  // Units left empty say which the start sheet used.
  auto fillUnit = [&](CaseField f, const std::string& unit) {
    const auto i = Find(CaseFieldName(f));  // every unit field has an output column
    if (i && cells[*i].empty()) cells[*i] = unit;
  };
  fillUnit(CaseField::FlowUnit, o.flowUnit);
  if (!caseInput.runningFull) fillUnit(CaseField::DepthUnit, o.depthUnit);
  fillUnit(CaseField::WidthUnit, o.widthUnit);
  fillUnit(CaseField::SideSlopeUnit, o.sideSlopeUnit);
  fillUnit(CaseField::SlopeUnit, o.slopeUnit);
  const auto value = Find(CaseFieldName(ValueField(caseInput.unknown)));
  cells[*value] = o.unknownText;
  if (!o.solved) return;
  Put("area", o.area, cells);
  fillUnit(CaseField::AreaUnit, o.areaUnit);
  Put("otherFlow", o.otherFlow, cells);
  fillUnit(CaseField::OtherFlowUnit, o.otherFlowUnit);
  Put("altValue", o.altValue, cells);
  Put("altFlow", o.altFlow, cells);
  Put("altArea", o.altArea, cells);
  // An alternate's unit belongs to a value that exists.
  if (!o.altValue.empty()) fillUnit(CaseField::AltValueUnit, o.altValueUnit);
  if (!o.altFlow.empty()) fillUnit(CaseField::AltFlowUnit, o.altFlowUnit);
  if (!o.altArea.empty()) fillUnit(CaseField::AltAreaUnit, o.altAreaUnit);
  for (const CaseDetail& d : o.details) {
    Put(d.key, d.text, cells);
    if (!Unitless(d.key)) Put(d.key + "Unit", d.unit, cells);
  }
}

CaseRowState CaseColumns::Compute(const CaseStart& start, std::vector<std::string>& cells) const {
  if (cells.size() > inputWidth_) {
    const std::string message = "the row has " + std::to_string(cells.size()) +
                                " cells, the header " + std::to_string(inputWidth_);
    cells.resize(inputWidth_);
    WriteRejected(message, cells);
    return CaseRowState::Rejected;
  }
  cells.resize(inputWidth_);
  const ParsedCase parsed = ParseCase(CellsOf(cells), start.VelocityMode());
  if (!parsed.caseInput) {
    WriteRejected(parsed.error, cells);
    return CaseRowState::Rejected;
  }
  const CaseOutcome o = RunCase(start, *parsed.caseInput, withDetails_);
  WriteOutcome(*parsed.caseInput, o, cells);
  if (!o.solved) return CaseRowState::Unsolved;
  return o.surcharge.empty() ? CaseRowState::Solved : CaseRowState::Surcharged;
}

}  // namespace rivulet
