// Every kind of row against the calculation file: a generated grid of cases, each written
// as a CSV row and as a .rvl file opened on a freshly started sheet, must show the same
// status, messages and texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cases_fixture.h"
#include "core/cases/case_columns.h"
#include "core/cases/case_units.h"
#include "core/files/calc_file.h"
#include "core/files/defaults_file.h"
#include "core/shell/number_text.h"
#include "core/window/flow_details_table.h"

namespace rivulet {
namespace {

using cases_test::NamedRow;
using cases_test::TempFolder;

// One set of inputs with their units, as a user of one system of units types them.
struct ValueSet {
  const char* discharge;  // in the discharge unit
  const char* velocity;   // in the velocity unit
  const char* depth;
  const char* width;
  const char* side;
  const char* slope;
  const char* n;
  int dischargeUnit, velocityUnit, lengthUnit, sideUnit, slopeUnit, areaUnit;
  bool ascii;  // write units in their ASCII spelling where there is one
};

const ValueSet kSets[] = {
    // Metric, the sheet's own unit texts.
    {"0.05", "1.2", "0.2", "0.45", "2", "5", "0.013", 0, 0, 2, 0, 0, 2, false},
    // US customary in ASCII: cfs, ft/s, in, %.
    {"12", "3", "9", "24", "30", "0.4", "0.015", 4, 2, 3, 2, 1, 3, true},
    // Millimetres and litres, a pipe deeper than its diameter, a steep slope.
    {"30", "0.8", "600", "450", "0.5", "40", "0.011", 2, 0, 0, 1, 0, 0, false},
    // A pipe between its full-flow and its largest discharge: two depths.
    {"210", "1.35", "300", "450", "2", "5", "0.013", 2, 0, 0, 0, 0, 1, false},
    // Beyond any section's reach: a failing solve or a refused input.
    {"900", "45", "0.1", "0.3", "0", "0.001", "0.04", 0, 0, 2, 0, 3, 2, true},
};

const char* UnitText(UnitList list, int position, bool ascii) {
  static const std::vector<std::pair<UnitList, std::vector<const char*>>> asciiTexts{
      {UnitList::Discharge, {"m3/s", "m3/d", "L/s", "L/d", "cfs", "ft3/d"}},
      {UnitList::Length, {"mm", "cm", "m", "in", "ft"}},
      {UnitList::Area, {"mm2", "cm2", "m2", "in2", "ft2"}},
      {UnitList::Slope, {"permille", "%", "/10", "ft/ft"}}};
  if (ascii)
    for (const auto& [l, texts] : asciiTexts)
      if (l == list && position < static_cast<int>(texts.size())) return texts[position];
  return UnitTexts(list)[position].c_str();
}

struct GridCase {
  int section;
  CaseUnknown unknown;
  bool velocityMode;
  const ValueSet* set;
  std::string label;
};

std::vector<GridCase> Grid() {
  const std::vector<std::vector<CaseUnknown>> unknowns{
      {CaseUnknown::Velocity, CaseUnknown::Discharge, CaseUnknown::Depth, CaseUnknown::Diameter,
       CaseUnknown::Slope, CaseUnknown::ManningsN},
      {CaseUnknown::Velocity, CaseUnknown::Discharge, CaseUnknown::Depth, CaseUnknown::Width,
       CaseUnknown::Slope, CaseUnknown::ManningsN},
      {CaseUnknown::Velocity, CaseUnknown::Discharge, CaseUnknown::Depth, CaseUnknown::SideSlope,
       CaseUnknown::Slope, CaseUnknown::ManningsN},
      {CaseUnknown::Velocity, CaseUnknown::Discharge, CaseUnknown::Depth, CaseUnknown::Width,
       CaseUnknown::SideSlope, CaseUnknown::Slope, CaseUnknown::ManningsN},
  };
  std::vector<GridCase> grid;
  for (int section = 0; section < 5; ++section) {
    for (CaseUnknown u : unknowns[std::min(section, 3)]) {
      for (size_t s = 0; s < std::size(kSets); ++s) {
        for (bool velocityMode : {true, false}) {
          if (u == CaseUnknown::Velocity && !velocityMode) continue;
          if (u == CaseUnknown::Discharge && velocityMode) continue;
          grid.push_back({section, u, velocityMode, &kSets[s],
                          CaseSectionWords()[section] + "/" +
                              CaseUnknownWords()[static_cast<int>(u)] + "/set" + std::to_string(s) +
                              (velocityMode ? "/V" : "/Q")});
        }
      }
    }
  }
  return grid;
}

const char* kHeader =
    "name,section,solveFor,flow,flowUnit,depth,depthUnit,width,widthUnit,sideSlope,"
    "sideSlopeUnit,slope,slopeUnit,manningsN,otherFlowUnit,areaUnit,altValueUnit,altFlowUnit,"
    "altAreaUnit\n";

bool Is(const GridCase& g, CaseUnknown u) { return g.unknown == u; }

std::string CsvRow(const GridCase& g) {
  const ValueSet& s = *g.set;
  const UnitList flowList = g.velocityMode ? UnitList::Velocity : UnitList::Discharge;
  const UnitList otherList = g.velocityMode ? UnitList::Discharge : UnitList::Velocity;
  const int flowUnit = g.velocityMode ? s.velocityUnit : s.dischargeUnit;
  const int otherUnit = g.velocityMode ? s.dischargeUnit : s.velocityUnit;
  const bool altSide = g.section == 3 || g.section == 4;
  std::vector<std::string> cells{g.label,
                                 CaseSectionWords()[g.section],
                                 CaseUnknownWords()[static_cast<int>(g.unknown)],
                                 g.velocityMode ? s.velocity : s.discharge,
                                 UnitText(flowList, flowUnit, s.ascii),
                                 s.depth,
                                 UnitText(UnitList::Length, s.lengthUnit, s.ascii),
                                 s.width,
                                 UnitText(UnitList::Length, s.lengthUnit, s.ascii),
                                 s.side,
                                 UnitText(UnitList::SideSlope, s.sideUnit, s.ascii),
                                 s.slope,
                                 UnitText(UnitList::Slope, s.slopeUnit, s.ascii),
                                 s.n,
                                 UnitText(otherList, otherUnit, s.ascii),
                                 UnitText(UnitList::Area, s.areaUnit, s.ascii),
                                 altSide ? UnitText(UnitList::SideSlope, s.sideUnit, s.ascii)
                                         : UnitText(UnitList::Length, s.lengthUnit, s.ascii),
                                 UnitText(otherList, otherUnit, s.ascii),
                                 UnitText(UnitList::Area, s.areaUnit, s.ascii)};
  return CsvRecordText(cells);
}

// The same case as a calculation file. Values a section has no box for are written empty,
// as the sheet leaves them, with the start sheet's unit positions.
std::vector<std::string> RvlLines(const GridCase& g, const frmRivulet& fresh) {
  const ValueSet& s = *g.set;
  const bool hasWidth = g.section != 2, hasSide = g.section >= 2;
  auto flag = [](bool on) { return std::string(on ? "True" : "False"); };
  auto pos = [](int p) { return FormatFileNumber(p); };
  const bool flowUnknown = Is(g, CaseUnknown::Velocity) || Is(g, CaseUnknown::Discharge);
  const bool widthUnknown = Is(g, CaseUnknown::Diameter) || Is(g, CaseUnknown::Width);
  const int flowUnit = g.velocityMode ? s.velocityUnit : s.dischargeUnit;
  const int otherUnit = g.velocityMode ? s.dischargeUnit : s.velocityUnit;
  const bool altSide = g.section == 3 || g.section == 4;
  return {"Rivulet",
          "Version " + BuildVersionString(),
          pos(g.section),
          g.velocityMode ? "Velocity" : "Discharge",
          flag(flowUnknown),
          flowUnknown ? "" : (g.velocityMode ? s.velocity : s.discharge),
          pos(flowUnit),
          flag(Is(g, CaseUnknown::Depth)),
          Is(g, CaseUnknown::Depth) ? "" : s.depth,
          pos(s.lengthUnit),
          flag(widthUnknown),
          widthUnknown || !hasWidth ? "" : s.width,
          pos(hasWidth ? s.lengthUnit : fresh.cboDiam.ListIndex()),
          flag(Is(g, CaseUnknown::SideSlope)),
          Is(g, CaseUnknown::SideSlope) || !hasSide ? "" : s.side,
          pos(hasSide ? s.sideUnit : fresh.cboSide.ListIndex()),
          flag(Is(g, CaseUnknown::Slope)),
          Is(g, CaseUnknown::Slope) ? "" : s.slope,
          pos(s.slopeUnit),
          flag(Is(g, CaseUnknown::ManningsN)),
          Is(g, CaseUnknown::ManningsN) ? "" : s.n,
          pos(otherUnit),
          pos(s.areaUnit),
          pos(altSide ? s.sideUnit : s.lengthUnit),
          pos(otherUnit),
          pos(s.areaUnit)};
}

const TextBox& UnknownBox(const frmRivulet& f, CaseUnknown u) {
  switch (u) {
    case CaseUnknown::Velocity:
    case CaseUnknown::Discharge:
      return f.txtVelDis1;
    case CaseUnknown::Depth:
      return f.txtDepth;
    case CaseUnknown::Diameter:
    case CaseUnknown::Width:
      return f.txtDiam;
    case CaseUnknown::SideSlope:
      return f.txtSide;
    case CaseUnknown::Slope:
      return f.txtSlope;
    default:
      return f.txtManning;
  }
}

const char* ValueColumn(CaseUnknown u) {
  switch (u) {
    case CaseUnknown::Velocity:
    case CaseUnknown::Discharge:
      return "flow";
    case CaseUnknown::Depth:
      return "depth";
    case CaseUnknown::Diameter:
    case CaseUnknown::Width:
      return "width";
    case CaseUnknown::SideSlope:
      return "sideSlope";
    case CaseUnknown::Slope:
      return "slope";
    default:
      return "manningsN";
  }
}

std::string Shown(const TextBox& box) { return box.Text() == "N/A" ? "" : box.Text(); }

// The grid under one start: no defaults file, or one that starts in discharge mode with
// US units and results fixed to three decimals.
void CompareGrid(const std::string& defaultsFile) {
  TempFolder folder;
  if (!defaultsFile.empty()) folder.Write(kDefaultsFileName, defaultsFile);
  const CaseStart start(folder.Startup());
  const std::vector<GridCase> grid = Grid();
  std::string csv = kHeader;
  for (const GridCase& g : grid) csv += CsvRow(g);
  const auto result = cases_test::RunText(csv, start, true);
  ASSERT_EQ(result.rows.size(), grid.size());
  size_t solved = 0, unsolved = 0, alternates = 0;

  for (size_t i = 0; i < grid.size(); ++i) {
    const GridCase& g = grid[i];
    SCOPED_TRACE(g.label);
    CaseServices services;
    frmRivulet form(services, folder.Startup());
    AttachCalcFileCommands(form);
    AttachDefaultsCommands(form);
    form.Form_Load();
    std::string bytes;
    for (const std::string& l : RvlLines(g, form)) bytes += l + "\r\n";
    folder.Write("case.rvl", bytes);
    ASSERT_EQ(OpenCalcFile(form, folder.File("case.rvl"), "case.rvl"), OpenResult::Loaded);

    const NamedRow& row = result.rows[i];
    const bool complete = form.txtStatus.Text() == kStatusComplete;
    (complete ? solved : unsolved)++;
    // A surcharged pipe's row says so, where the sheet says it under its status line.
    const auto surcharge = SurchargeOf(form);
    if (surcharge)
      EXPECT_EQ(row.at("status"), kStatusSurcharged);
    else if (complete || form.txtStatus.Text() == kStatusNoSolution)
      EXPECT_EQ(row.at("status"), form.txtStatus.Text());
    else
      EXPECT_EQ(row.at("status"), kStatusNotCalculated);
    EXPECT_EQ(row.at("message"), surcharge                   ? SurchargeSentence(*surcharge)
                                 : services.messages.empty() ? ""
                                                             : services.messages[0].text);
    if (!complete) {
      EXPECT_EQ(row.at(ValueColumn(g.unknown)), "");
      EXPECT_EQ(row.at("area"), "");
      continue;
    }
    EXPECT_EQ(row.at(ValueColumn(g.unknown)), UnknownBox(form, g.unknown).Text());
    EXPECT_EQ(row.at("area"), form.txtArea.Text());
    // A unit the row named stays as spelled; it must be the one the sheet used.
    EXPECT_EQ(FindUnit(UnitList::Area, row.at("areaUnit")), form.cboArea.ListIndex());
    EXPECT_EQ(row.at("otherFlow"), form.txtVelDis2.Text());
    EXPECT_EQ(row.at("altValue"), Shown(form.txtDDS));
    if (!Shown(form.txtDDS).empty()) ++alternates;
    EXPECT_EQ(row.at("altFlow"), Shown(form.txtVelDis3));
    EXPECT_EQ(row.at("altArea"), Shown(form.txtArea2));
    const DetailsTable details = FlowDetailsTable(form);
    for (const DetailRow& d : details.rows) {
      // Depth, velocity and the like are the row's own columns, not details.
      if (std::find(CaseDetailKeys().begin(), CaseDetailKeys().end(), d.key) ==
          CaseDetailKeys().end())
        continue;
      const bool words = d.key == "regime" || d.key == "slopeClass";
      const std::string expected =
          d.primary.value ? d.primary.text : (words && d.primary.text != "-" ? d.primary.text : "");
      EXPECT_EQ(row.at(d.key), expected) << d.key;
      if (d.primary.value && row.count(d.key + "Unit")) {
        EXPECT_EQ(row.at(d.key + "Unit"), d.unit);
      }
    }
  }
  // The grid must exercise both outcomes, or it proves little.
  EXPECT_GT(solved, grid.size() / 2);
  EXPECT_GT(unsolved, 10u);
  EXPECT_GE(alternates, 2u);
}

TEST(RvlRouteTest, GridMatchesCalculationFilesOnTheBuiltInStart) { CompareGrid(""); }

TEST(RvlRouteTest, GridMatchesCalculationFilesUnderADefaultsFile) {
  // Discharge mode, feet, ft³/s and results fixed to three decimals.
  CompareGrid(
      "Rivulet Default Values File\r\n 2 \r\n 3 \r\n 4 \r\n 4 \r\n 4 \r\n 1 \r\n 1 \r\n 2 \r\n"
      " 4 \r\n 4 \r\n 4 \r\n 4 \r\nTrue\r\n");
}

}  // namespace
}  // namespace rivulet
