// The rating's row marks: each limit marks exactly the rows beyond it, in the unit system
// the rating is shown in, and the legend and CSV column carry what the marks mean.
#include "core/design/rating_checks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/files/rating_csv.h"

namespace rivulet {
namespace {

using Marks = std::vector<std::string>;

constexpr int kFeetPerSecondUnit = 2;

RatingChannel Rectangle(double slope) { return {{SectionKind::Rectangle, 0, 2, 0}, slope, 0.015}; }
RatingChannel Pipe() { return {{SectionKind::Pipe, 1.0, 0, 0}, 0.002, 0.013}; }

RatingRow Row(double depth, double velocity, std::optional<double> froude) {
  RatingRow r;
  r.depth = depth;
  r.velocity = velocity;
  r.discharge = velocity;  // not judged
  r.froude = froude;
  return r;
}

DesignSettings WithChannelLimits() {
  DesignSettings s = DefaultDesignSettings();
  s.metric.permissibleShear = 10;  // Pa
  s.metric.minFreeboard = 0.3;
  s.metric.bankHeight = 1.0;
  return s;
}

struct MarkCase {
  const char* name;
  RatingChannel channel;
  RatingRow row;
  int velocityUnit;
  Marks marks;
};

TEST(RatingChecks, EachLimitMarksTheRowsBeyondIt) {
  const MarkCase cases[] = {
      {"within every limit", Rectangle(0.001), Row(0.5, 1.0, 0.5), 0, {}},
      {"at the minimum velocity", Rectangle(0.001), Row(0.5, 0.6, 0.5), 0, {}},
      {"below the minimum velocity", Rectangle(0.001), Row(0.5, 0.599, 0.5), 0, {"V<min"}},
      {"at the maximum velocity", Rectangle(0.001), Row(0.5, 3.0, 0.5), 0, {}},
      {"fast and near critical", Rectangle(0.001), Row(0.5, 3.01, 1.0), 0, {"V>max", "Fr~1"}},
      {"lower edge of the band", Rectangle(0.001), Row(0.5, 1, 0.86), 0, {"Fr~1"}},
      {"upper edge of the band", Rectangle(0.001), Row(0.5, 1, 1.13), 0, {"Fr~1"}},
      {"beyond the band", Rectangle(0.001), Row(0.5, 1, 1.14), 0, {}},
      // 0.605 m/s meets 0.6 m/s but not 2 ft/s (0.6096 m/s).
      {"metric minimum", Rectangle(0.001), Row(0.5, 0.605, 0.5), 0, {}},
      {"US minimum", Rectangle(0.001), Row(0.5, 0.605, 0.5), kFeetPerSecondUnit, {"V<min"}},
      {"pipe at y/D 0.8", Pipe(), Row(0.8, 1, 0.5), 0, {}},
      {"pipe above y/D 0.8", Pipe(), Row(0.81, 1, 0.5), 0, {"y/D>max"}},
      {"pipe running full", Pipe(), Row(1.0, 1, std::nullopt), 0, {"y/D>max"}},
      // γ·y·S = 9.807 Pa at 0.1 m and 10.79 Pa at 0.11 m, against 10 Pa.
      {"shear within", Rectangle(0.01), Row(0.1, 1, 0.5), 0, {}},
      {"shear beyond", Rectangle(0.01), Row(0.11, 1, 0.5), 0, {"shear>perm"}},
      {"freeboard at the minimum", Rectangle(0.001), Row(0.7, 1, 0.5), 0, {}},
      {"freeboard below the minimum", Rectangle(0.001), Row(0.71, 1, 0.5), 0, {"FB<min"}},
  };
  const DesignSettings settings = WithChannelLimits();
  for (const MarkCase& c : cases) {
    SCOPED_TRACE(c.name);
    RatingUnits units;
    units.velocity = c.velocityUnit;
    const RatingCheckBasis basis = RatingCheckBasisFor(c.channel, units, settings);
    EXPECT_EQ(c.marks, RatingRowMarks(basis, c.row));
    const std::string text = RatingRowMarksText(basis, c.row);
    if (c.marks.empty()) {
      EXPECT_EQ(kRatingChecksMet, text);
    } else if (c.marks.size() == 2) {
      EXPECT_EQ(c.marks[0] + " " + c.marks[1], text);
    }
  }
}

// A pipe's shear and a channel's freeboard are not judged, however the settings stand;
// the full-flow velocity is the pipe's, not a row's.
TEST(RatingChecks, LimitsOnlyWhereTheyApply) {
  DesignSettings settings = WithChannelLimits();
  settings.metric.minFullVelocity = 100;
  const RatingCheckBasis pipe = RatingCheckBasisFor(Pipe(), RatingUnits{}, settings);
  EXPECT_EQ(Marks{}, RatingRowMarks(pipe, Row(0.79, 1, 0.5)));

  const RatingCheckBasis bare =
      RatingCheckBasisFor(Rectangle(0.01), RatingUnits{}, DefaultDesignSettings());
  EXPECT_EQ(Marks{}, RatingRowMarks(bare, Row(5, 1, 0.5)));
}

struct LegendCase {
  const char* name;
  RatingChannel channel;
  int velocityUnit;
  std::vector<std::string> has;
  std::vector<std::string> hasNot;
};

TEST(RatingChecks, LegendNamesTheMarksThatCanOccurWithTheirLimits) {
  const LegendCase cases[] = {
      {"metric pipe",
       Pipe(),
       0,
       {"V<min: velocity below the self-cleansing minimum 0.6 m/s", "V>max", "3 m/s",
        "y/D>max: depth ratio above 0.8", "Fr~1", "0.86 to 1.13", "OK"},
       {"FB<min", "shear>perm"}},
      {"US channel",
       Rectangle(0.001),
       kFeetPerSecondUnit,
       {"minimum 2 ft/s", "maximum 10 ft/s", "Fr~1"},
       {"y/D>max", "FB<min", "shear>perm"}},
      {"metric channel with its limits",
       Rectangle(0.001),
       0,
       {"FB<min: freeboard to the bank height 1 m below 0.3 m",
        "shear>perm: maximum shear times 1 above the permissible 10 Pa"},
       {"y/D>max"}},
  };
  for (const LegendCase& c : cases) {
    SCOPED_TRACE(c.name);
    RatingUnits units;
    units.velocity = c.velocityUnit;
    const DesignSettings settings = std::string(c.name) == "metric channel with its limits"
                                        ? WithChannelLimits()
                                        : DefaultDesignSettings();
    const RatingCheckBasis basis = RatingCheckBasisFor(c.channel, units, settings);
    const std::string header = RatingChecksHeader(basis);
    for (const std::string& s : c.has) EXPECT_NE(std::string::npos, header.find(s)) << s;
    for (const std::string& s : c.hasNot) EXPECT_EQ(std::string::npos, header.find(s)) << s;
  }
}

// The window's and the page's paragraph and the CSV's header say the same legend.
TEST(RatingChecks, ParagraphAndHeaderJoinTheSameLegend) {
  const RatingCheckBasis basis =
      RatingCheckBasisFor(Pipe(), RatingUnits{}, DefaultDesignSettings());
  const std::string paragraph = RatingChecksParagraph(basis), header = RatingChecksHeader(basis);
  const std::string legend =
      header.substr(header.find('(') + 1, header.size() - header.find('(') - 2);
  EXPECT_EQ(paragraph, "Design checks: " + legend + ".");
  EXPECT_EQ(
      paragraph.rfind("Design checks: V<min: velocity below the self-cleansing minimum 0.6 m/s; "
                      "V>max: velocity above the maximum 3 m/s; y/D>max: depth ratio above 0.8; ",
                      0),
      0u)
      << paragraph;
}

// The CSV carries the marks as a last column under the header with its legend, one per row.
TEST(RatingChecks, CsvCarriesTheMarksOfEveryRow) {
  const RatingChannel pipe = Pipe();
  const RatingTable t = BuildRatingTable(pipe, {RatingStep::Depth, 0, 1, 11});
  ASSERT_EQ("", t.problem);
  const RatingCheckBasis basis = RatingCheckBasisFor(pipe, RatingUnits{}, DefaultDesignSettings());
  RatingTextColumn column{RatingChecksHeader(basis), {}};
  for (const RatingRow& r : t.rows) column.cells.push_back(RatingRowMarksText(basis, r));
  const std::vector<std::string> lines = RatingLines(t.rows, true, RatingUnits{}, ',', &column);
  ASSERT_EQ(12u, lines.size());
  // The legend holds a comma, so the header is quoted.
  EXPECT_NE(std::string::npos, lines[0].find(",\"Design Checks (V<min")) << lines[0];
  // Dry, then slow near the invert, then too full from 0.9 D.
  EXPECT_EQ(",V<min", lines[1].substr(lines[1].rfind(',')));
  EXPECT_EQ(",OK", lines[6].substr(lines[6].rfind(',')));
  EXPECT_EQ(",y/D>max", lines[10].substr(lines[10].rfind(',')));
  EXPECT_EQ(",y/D>max", lines[11].substr(lines[11].rfind(',')));
  // Without the column the lines are as before.
  EXPECT_EQ(RatingLines(t.rows, true, RatingUnits{}, ',')[3],
            lines[3].substr(0, lines[3].rfind(',')));
}

}  // namespace
}  // namespace rivulet
