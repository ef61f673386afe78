#include <fstream>
#include <sstream>

#include "core/files/results_csv.h"
#include "support/temp_folder.h"
#include "window_fixture.h"

namespace rivulet {
namespace {

class ResultsCopyTest : public WindowTest {
 protected:
  // A 1 m pipe at 1/1000 and n 0.013 carrying 0.5 m³/s, solved for depth, in SI units.
  void SolvePipe() {
    form.cboSection.SetListIndex(0);
    if (form.optVelDis1.Caption() != "Discharge") form.cmdVelDis_Click();
    form.optDepth.SetValue(true);
    form.txtVelDis1.SetText("0.5");
    form.txtDiam.SetText("1");
    form.txtSlope.SetText("1");
    form.txtManning.SetText("0.013");
    form.cmdCalculate_Click();
    ASSERT_EQ(form.txtStatus.Text(), kStatusComplete);
  }
};

TEST_F(ResultsCopyTest, CopyResultsGivesLabelValueAndUnitCellsAndTheDetailsWhenShown) {
  SolvePipe();
  CopyResultsCommand(form);
  ASSERT_TRUE(services.clipboard);
  const std::string& text = *services.clipboard;
  EXPECT_EQ(text.rfind("Channel Section\tCircular Pipe\r\n", 0), 0u);
  EXPECT_NE(text.find("Discharge\t0.5\t" + form.cboVelDis1.Text() + "\t\r\n"), std::string::npos);
  // The unknown's row is marked as solved, with the figure the sheet shows.
  EXPECT_NE(text.find("Depth\t" + form.txtDepth.Text() + "\t" + form.cboDepth.Text() + "\tSolved"),
            std::string::npos);
  EXPECT_NE(text.find("Manning's N\t0.013\t\t\r\n"), std::string::npos);
  EXPECT_NE(text.find("Status\tCalculations Complete!\r\n"), std::string::npos);
  EXPECT_EQ(text.find("Quantity"), std::string::npos);

  form.mnuFlowDetails.SetChecked(true);
  CopyResultsCommand(form);
  EXPECT_NE(services.clipboard->find("\r\nQuantity\tValue\tUnit\r\n"), std::string::npos);
}

TEST_F(ResultsCopyTest, DetailsAsCsvQuoteWhatNeedsItAndEndInCrlf) {
  DetailsTable table;
  table.rows.push_back({"k", "Froude Number", "", "", {1.5, "1.5"}, {}});
  table.rows.push_back({"s", "Slope, \"critical\"", "1:x", "", {std::nullopt, "N/A"}, {}});
  EXPECT_EQ(DetailsTableText(table, ','),
            "Quantity,Value,Unit\r\nFroude Number,1.5,\r\n\"Slope, \"\"critical\"\"\",N/A,1:x\r\n");
  table.hasAlternate = true;
  table.rows[0].alternate = {0.7, "0.7"};
  EXPECT_EQ(DetailsTableText(table),
            "Quantity\tPrimary\tAlternate\tUnit\r\nFroude Number\t1.5\t0.7\t\r\n"
            "\"Slope, \"\"critical\"\"\"\tN/A\t\t1:x\r\n");
  EXPECT_EQ(DetailsTableText(DetailsTable{}), "");
}

TEST_F(ResultsCopyTest, SaveCsvWritesTheTableOrSaysNothingWhenCancelled) {
  SolvePipe();
  testing::TempFolder temp;
  const std::string path = (temp.path / "details.csv").string();
  services.saveAnswers.push_back(std::nullopt);
  EXPECT_FALSE(SaveDetailsCsvCommand(form));
  services.saveAnswers.push_back(FileChoice{path, "details.csv"});
  ASSERT_TRUE(SaveDetailsCsvCommand(form));
  std::ifstream in(path, std::ios::binary);
  std::stringstream written;
  written << in.rdbuf();
  EXPECT_EQ(written.str(), DetailsTableText(FlowDetailsTable(form), ','));
  EXPECT_EQ(written.str().rfind("Quantity,Value,Unit\r\n", 0), 0u);
  EXPECT_TRUE(services.messages.empty());
}

}  // namespace
}  // namespace rivulet
