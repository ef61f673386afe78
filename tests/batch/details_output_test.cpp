#include "core/batch/details_output.h"

#include <algorithm>
#include <charconv>
#include <nlohmann/json.hpp>
#include <sstream>

#include "core/batch/batch.h"
#include "core/files/view_settings.h"
#include "core/window/flow_details_table.h"
#include "files/files_fixture.h"
#include "support/recording_services.h"

namespace rivulet {
namespace {

using DetailsOutputTest = FilesTest;

// The storm sewer example: 450 mm, 150 L/s, 5/1000, n 0.013, depth in mm.
constexpr char kSewer[] =
    "Rivulet\r\nVersion 2.0.1\r\n 0 \r\nDischarge\r\nFalse\r\n150\r\n 2 \r\nTrue\r\n\r\n 0 \r\n"
    "False\r\n450\r\n 0 \r\nFalse\r\n\r\n 2 \r\nFalse\r\n5\r\n 0 \r\nFalse\r\n0.013\r\n 0 \r\n"
    " 2 \r\n 0 \r\n 0 \r\n 2 \r\n";
// A 1 m pipe at 1/1000 asked for 1.05 m/s, depth unknown: two depths.
constexpr char kTwoDepths[] =
    "Rivulet\r\nVersion 2.0.1\r\n 0 \r\nVelocity\r\nFalse\r\n1.05\r\n 0 \r\nTrue\r\n\r\n 2 \r\n"
    "False\r\n1\r\n 2 \r\nFalse\r\n\r\n 2 \r\nFalse\r\n1\r\n 0 \r\nFalse\r\n0.013\r\n 0 \r\n"
    " 2 \r\n 2 \r\n 2 \r\n 0 \r\n";

// The number after "key":{"value": in a JSON text.
std::optional<double> JsonValue(const std::string& json, const std::string& key, size_t from = 0) {
  const std::string probe = "\"" + key + "\":{\"value\":";
  const size_t at = json.find(probe, from);
  if (at == std::string::npos) return std::nullopt;
  const char* begin = json.data() + at + probe.size();
  double v = 0;
  if (std::from_chars(begin, json.data() + json.size(), v).ec != std::errc()) return std::nullopt;
  return v;
}

TEST_F(DetailsOutputTest, JsonMemberNamesDoNotFollowTheCaptions) {
  WriteFile(folder / "sewer.rvl", kSewer);
  ASSERT_EQ(OpenNamedFile(form, (folder / "sewer.rvl").string()), OpenResult::Loaded);
  const std::string before = CalculationJson(form, "sewer.rvl");
  // Reworded captions on screen; scripts that read the JSON must not notice.
  form.optDepth.SetCaption("Flow Depth");
  form.optSlope.SetCaption("Slope");
  form.optManning.SetCaption("Manning's n");
  form.lblArea.SetCaption("Area");
  form.lblArea2.SetCaption("Alt. Area");
  EXPECT_EQ(CalculationJson(form, "sewer.rvl"), before);
  for (const char* key : {"\"solvedFor\":\"depth\"", "\"channelSlope\":{", "\"manningsN\":{",
                          "\"flowArea\":{", "\"altFlowArea\":{", "\"diameter\":{"})
    EXPECT_NE(before.find(key), std::string::npos) << key;
}

TEST_F(DetailsOutputTest, JsonCarriesEverythingWithItsUnitExactly) {
  WriteFile(folder / "sewer.rvl", kSewer);
  ASSERT_EQ(OpenNamedFile(form, (folder / "sewer.rvl").string()), OpenResult::Loaded);
  const std::string json = CalculationJson(form, "sewer.rvl");
  EXPECT_EQ(json.find('\n'), std::string::npos);
  for (const char* part :
       {"{\"file\":\"sewer.rvl\",\"status\":\"Calculations Complete!\",\"section\":\"Circular "
        "Pipe\","
        "\"solvedFor\":\"depth\",\"inputs\":{\"discharge\":{\"value\":150,\"unit\":\"L/s\","
        "\"text\":\"150\"}",
        "\"sideSlope\":{\"value\":null,\"unit\":\"degrees\",\"text\":\"\"}",
        "\"manningsN\":{\"value\":0.013,\"unit\":\"\",\"text\":\"0.013\"}",
        "\"altDepth\":{\"value\":null,\"unit\":\"mm\",\"text\":\"N/A\"}",
        "\"details\":{\"state\":\"current\",\"primary\":{\"depth\":",
        "\"regime\":{\"value\":null,\"unit\":\"\",\"text\":\"Subcritical\"}",
        "\"averageShear\":{\"value\":", "\"unit\":\"Pa\"",
        "\"alternate\":null},\"surcharged\":false,\"design\":null}",
        "\"pipeCapacity\":\"Below full flow (201.6 L/s): one part-full depth carries this "
        "discharge.\""}) {
    EXPECT_NE(json.find(part), std::string::npos) << part;
  }
  // Under design settings the object also carries the standard size and the checks.
  const DesignSettings settings = DefaultDesignSettings();
  const std::string designed = CalculationJson(form, "sewer.rvl", &settings);
  EXPECT_NE(designed.find("\"design\":{\"checks\":[{\"limit\":0.6,\"name\":\"minimumVelocity\""),
            std::string::npos)
      << designed;
  EXPECT_NE(designed.find("\"standardDiameter\":{\"unit\":\"mm\",\"value\":450"), std::string::npos)
      << designed;
  // Numbers are written to read back as the very doubles the table holds.
  const DetailsTable table = FlowDetailsTable(form);
  for (const DetailRow& row : table.rows) {
    if (!row.primary.value) continue;
    const auto v = JsonValue(json, row.key, json.find("\"details\""));
    ASSERT_TRUE(v) << row.key;
    EXPECT_EQ(*v, *row.primary.value) << row.key;
  }
}

TEST_F(DetailsOutputTest, JsonOfAFileNameInAnotherEncodingIsStillJson) {
  const std::string name = "caf\xE9.rvl";  // Latin-1, as an old disk may hold it
  WriteFile(folder / name, kSewer);
  ASSERT_EQ(OpenNamedFile(form, (folder / name).string()), OpenResult::Loaded);
  const nlohmann::json j = nlohmann::json::parse(CalculationJson(form, name), nullptr, false);
  ASSERT_FALSE(j.is_discarded());
  EXPECT_EQ(j["file"], "caf\xEF\xBF\xBD.rvl");
}

TEST_F(DetailsOutputTest, ReportBlockListsBothSolutions) {
  WriteFile(folder / "two.rvl", kTwoDepths);
  ASSERT_EQ(OpenNamedFile(form, (folder / "two.rvl").string()), OpenResult::Loaded);
  const std::vector<std::string> lines = DetailsReportLines(form);
  auto find = [&](const std::string& start, size_t from = 0) {
    for (size_t i = from; i < lines.size(); ++i)
      if (lines[i].rfind(start, 0) == 0) return i;
    return lines.size();
  };
  const std::string margin(15, ' ');
  const size_t heading = find(margin + "Flow Details");
  const size_t alternate = find(margin + "Alternate Solution (Alt. Depth)");
  ASSERT_LT(heading, alternate);
  ASSERT_LT(alternate, lines.size());
  const size_t first = find(margin + "Depth ", heading);
  const size_t second = find(margin + "Depth ", alternate);
  ASSERT_LT(second, lines.size());
  // Label in 20 columns, value in 21, then the unit.
  EXPECT_EQ(lines[first], margin + "Depth               " + form.txtDepth.Text() +
                              std::string(21 - form.txtDepth.Text().size(), ' ') + "meters");
  EXPECT_EQ(lines[second], margin + "Depth               " + form.txtDDS.Text() +
                               std::string(21 - form.txtDDS.Text().size(), ' ') + "meters");
  EXPECT_LT(find(margin + "Flow Regime         Subcritical", alternate), lines.size());
  EXPECT_LT(find(margin + "Between full flow", alternate), lines.size());
  for (const std::string& l : lines) EXPECT_LE(l.size(), 10u + 60u + 8u) << l;

  form.txtSlope.SetText("2");
  const auto stale = DetailsReportLines(form);
  EXPECT_EQ(stale[4], margin + "Out of date: Input has been modified, please recalculate.");
}

TEST_F(DetailsOutputTest, BatchOutputsAndStatuses) {
  WriteFile(folder / "sewer.rvl", kSewer);
  WriteFile(folder / "two.rvl", kTwoDepths);
  WriteFile(folder / "junk.rvl", "not a calculation\r\n");
  const StartupValues startup = StartupValues::ForFolder((folder / "prog").string());
  const std::vector<std::string> files{(folder / "sewer.rvl").string(),
                                       (folder / "junk.rvl").string(),
                                       (folder / "two.rvl").string()};
  struct Case {
    BatchOutput output;
    int records;  // JSON lines, or reports (form feeds + 1)
  };
  for (const Case& c : {Case{BatchOutput::Json, 2}, Case{BatchOutput::ReportsWithDetails, 2}}) {
    std::ostringstream out, err;
    EXPECT_EQ(RunBatch(files, startup, c.output, out, err), kBatchBadFile);
    EXPECT_NE(err.str().find("junk.rvl: cannot be opened"), std::string::npos);
    const std::string text = out.str();
    if (c.output == BatchOutput::Json) {
      EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), c.records);
      EXPECT_EQ(text.rfind("{\"file\":", 0), 0u);
      EXPECT_NE(text.find("\"alternate\":{\"depth\":"), std::string::npos);
    } else {
      EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), c.records - 1);
      EXPECT_NE(text.find("Flow Details"), std::string::npos);
      EXPECT_NE(text.find("Alternate Solution (Alt. Depth)"), std::string::npos);
    }
  }
  std::ostringstream plain, err;
  EXPECT_EQ(RunBatch({files[0]}, startup, BatchOutput::Reports, plain, err), kBatchAllSolved);
  EXPECT_EQ(plain.str().find("Flow Details"), std::string::npos);
}

TEST_F(DetailsOutputTest, FlowDetailsChoiceIsRememberedBesideTheDefaults) {
  AttachViewSettings(form);
  EXPECT_FALSE(form.mnuFlowDetails.Checked());  // no file: the panel starts hidden
  form.mnuFlowDetails.Click();
  EXPECT_TRUE(form.mnuFlowDetails.Checked());
  EXPECT_EQ(ReadFile(folder / "RIVULET.VEW"), "Rivulet View Settings File\r\nFlowDetails=True\r\n");

  RecordingServices s;
  frmRivulet next(s, form.Startup());
  AttachViewSettings(next);
  EXPECT_TRUE(next.mnuFlowDetails.Checked());
  next.mnuFlowDetails.Click();
  EXPECT_EQ(ReadFile(folder / "RIVULET.VEW"),
            "Rivulet View Settings File\r\nFlowDetails=False\r\n");
  EXPECT_TRUE(s.messages.empty());

  // The defaults file is untouched: 14 lines, as ever.
  ASSERT_TRUE(mnuOptionsWriteDefaults_Click(form));
  const std::string defaults = ReadFile(folder / "RIVULET.DEF");
  EXPECT_EQ(std::count(defaults.begin(), defaults.end(), '\n'), 14);

  // A file with another header, or an unknown value, changes nothing.
  struct Case {
    const char* content;
    bool checked;
  };
  const Case cases[] = {{"Something Else\r\nFlowDetails=True\r\n", false},
                        {"Rivulet View Settings File\r\nFlowDetails=Maybe\r\n", false},
                        {"Rivulet View Settings File\r\nLater=1\r\n  FlowDetails= True \r\n", true},
                        {"rivulet view settings file\r\nFlowDetails=True\r\n", false}};
  for (const Case& c : cases) {
    WriteFile(folder / "RIVULET.VEW", c.content);
    frmRivulet f(s, form.Startup());
    ApplyViewSettings(f);
    EXPECT_EQ(f.mnuFlowDetails.Checked(), c.checked) << c.content;
  }

  // An unusable program folder sends the file to the configuration folder.
  const auto blocked = folder / "blocked";
  WriteFile(blocked, "x");
  frmRivulet elsewhere(
      s, StartupValues::ForFolder((blocked / "sub").string(), (folder / "cfg").string()));
  AttachViewSettings(elsewhere);
  elsewhere.mnuFlowDetails.Click();
  EXPECT_EQ(ReadFile(folder / "cfg" / "RIVULET.VEW"),
            "Rivulet View Settings File\r\nFlowDetails=True\r\n");
  frmRivulet again(s, elsewhere.Startup());
  ApplyViewSettings(again);
  EXPECT_TRUE(again.mnuFlowDetails.Checked());
}

}  // namespace
}  // namespace rivulet
