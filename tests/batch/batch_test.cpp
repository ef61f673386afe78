#include "core/batch/batch.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "core/batch/details_output.h"
#include "core/batch/worksheet_batch.h"
#include "core/shell/text_file.h"
#include "files/files_fixture.h"

namespace rivulet {
namespace {

using BatchTest = FilesTest;

// One calculation file per section, mode and unknown, with alternate units that differ
// from the start-up ones, so that anything one sheet leaves behind shows in the next.
std::vector<std::string> WriteVariedFiles(frmRivulet& form, const std::filesystem::path& folder) {
  OptionButton* unknowns[] = {&form.optVelDis1, &form.optDepth, &form.optDiam,
                              &form.optSide,    &form.optSlope, &form.optManning};
  std::filesystem::create_directories(folder);
  std::vector<std::string> files;
  for (int section = 0; section < 5; ++section) {
    for (int u = 0; u < 6; ++u) {
      for (bool discharge : {false, true}) {
        mnuNew_Click(form);
        if (discharge) form.cmdVelDis_Click();
        form.cboSection.SetListIndex(section);
        unknowns[u]->SetValue(true);
        form.txtVelDis1.SetText(discharge ? "0.2" : "0.9");
        form.txtDepth.SetText("0.3");
        form.txtDiam.SetText("0.6");
        form.txtSide.SetText("40");
        form.txtSlope.SetText("3");
        form.txtManning.SetText("0.015");
        form.cboDDS.SetListIndex(u % 3);
        form.cboVelDis3.SetListIndex(1 + section % 3);
        form.cboArea2.SetListIndex(section % 5);
        const auto path = folder / ("v" + std::to_string(files.size()) + ".rvl");
        EXPECT_TRUE(WriteLinesSafely(path.string(), CalcFileLines(form)));
        files.push_back(path.string());
      }
    }
  }
  return files;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  return lines;
}

TEST_F(BatchTest, OrderOfTheFilesNeverChangesAnyFilesOutput) {
  const std::vector<std::string> files = WriteVariedFiles(form, folder / "in");
  // A defaults file that differs from the built-in arrangement: every file starts from it.
  form.cboSection.SetListIndex(3);
  form.cmdVelDis_Click();
  form.cboDDS.SetListIndex(1);
  ASSERT_TRUE(mnuOptionsWriteDefaults_Click(form));
  const StartupValues& startup = form.Startup();

  std::vector<std::string> alone;
  for (const std::string& f : files) {
    std::ostringstream out, err;
    RunBatch({f}, startup, BatchOutput::Json, out, err);
    alone.push_back(out.str());
  }
  std::ostringstream forwardOut, forwardErr, reverseOut, reverseErr;
  RunBatch(files, startup, BatchOutput::Json, forwardOut, forwardErr);
  std::vector<std::string> reversed(files.rbegin(), files.rend());
  RunBatch(reversed, startup, BatchOutput::Json, reverseOut, reverseErr);
  // The runner of the command line, which reads the defaults once for the whole run.
  std::ostringstream mixedOut, mixedErr;
  RunMixedBatch(reversed, startup, BatchOutput::Json, BuiltInKinds(), mixedOut, mixedErr);
  const auto forward = Lines(forwardOut.str());
  auto backward = Lines(reverseOut.str());
  auto mixed = Lines(mixedOut.str());
  std::reverse(backward.begin(), backward.end());
  std::reverse(mixed.begin(), mixed.end());
  ASSERT_EQ(forward.size(), files.size());
  ASSERT_EQ(backward.size(), files.size());
  ASSERT_EQ(mixed.size(), files.size());
  for (size_t i = 0; i < files.size(); ++i) {
    SCOPED_TRACE(files[i]);
    EXPECT_EQ(forward[i] + "\n", alone[i]);
    EXPECT_EQ(backward[i], forward[i]);
    EXPECT_EQ(mixed[i], forward[i]);
  }
}

TEST_F(BatchTest, EveryFileOfARunStartsFromTheDefaultsFile) {
  const std::vector<std::string> files = WriteVariedFiles(form, folder / "in");
  const auto reports = [&] {
    std::ostringstream out, err;
    RunMixedBatch({files[0], files[2], files[0]}, form.Startup(), BatchOutput::Reports,
                  BuiltInKinds(), out, err);
    std::vector<std::string> each{""};
    for (const std::string& line : Lines(out.str())) {
      if (line == "\f")
        each.emplace_back();
      else
        each.back() += line + "\n";
    }
    return each;
  };
  const auto plain = reports();
  form.mnuOptionsFix.SetChecked(true);  // results to three decimals from now on
  ASSERT_TRUE(mnuOptionsWriteDefaults_Click(form));
  const auto fixed = reports();
  ASSERT_EQ(plain.size(), 3u);
  ASSERT_EQ(fixed.size(), 3u);
  for (size_t i = 0; i < 3; ++i) EXPECT_NE(fixed[i], plain[i]) << "report " << i;
  EXPECT_EQ(fixed[2], fixed[0]);
}

TEST_F(BatchTest, OutputThatCannotBeWrittenFailsTheRun) {
  std::ofstream full("/dev/full");
  ASSERT_TRUE(full.is_open());
  full << std::string(100000, 'x');
  std::ostringstream err;
  EXPECT_EQ(FinishBatchOutput(full, "standard output", err, kBatchAllSolved), kBatchBadFile);
  EXPECT_EQ(err.str(), "rivulet: cannot write standard output: No space left on device\n");

  std::ostringstream fine, quiet;
  fine << "report";
  for (int status : {kBatchAllSolved, kBatchSomeUnsolved, kBatchBadFile})
    EXPECT_EQ(FinishBatchOutput(fine, "standard output", quiet, status), status);
  EXPECT_EQ(quiet.str(), "");
}

}  // namespace
}  // namespace rivulet
