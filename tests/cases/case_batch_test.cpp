// The batch command: exit statuses, the output file replaced only by a complete run, and
// columns it does not know carried through.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "cases_fixture.h"

namespace rivulet {
namespace {

using cases_test::TempFolder;

const std::string kGood =
    "name,section,solveFor,flow,flowUnit,depth,depthUnit,width,widthUnit,slope,slopeUnit,"
    "manningsN\n"
    "a,pipe,depth,0.05,m3/s,,m,0.45,m,5,/1000,0.013\n"
    "b,rectangle,discharge,,cfs,1.5,ft,4,ft,0.2,%,0.015\n";

struct CommandRun {
  int status;
  std::string out, err;
};

CommandRun Command(const TempFolder& folder, const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = RunCasesCommand(args, folder.Startup(), out, err);
  return {status, out.str(), err.str()};
}

TEST(CaseBatchTest, ExitStatusesAndMessages) {
  TempFolder folder;
  folder.Write("good.csv", kGood);
  folder.Write("bad-row.csv", kGood + "c,pipe,depth,1,m3/s,,m,0.45,m,5,/1000,zero\n");
  folder.Write("no-n.csv", "section,solveFor,flow,depth,slope\npipe,depth,1,,1\n");
  folder.Write("twice.csv", "section,solveFor,flow,depth,slope,manningsN,depth\n");
  folder.Write("empty.csv", "");
  folder.Write("header-only.csv", "section,solveFor,flow,depth,slope,manningsN\r\n");
  struct Case {
    const char* file;
    int status;
    const char* err;
  };
  const Case cases[] = {
      {"good.csv", kCasesAllSolved, ""},
      {"bad-row.csv", kCasesSomeUnsolved, "rivulet: 1 of 3 rows not solved\n"},
      {"no-n.csv", kCasesUnreadable, "rivulet: the required column \"manningsN\" is missing\n"},
      {"twice.csv", kCasesUnreadable, "rivulet: the column \"depth\" appears more than once\n"},
      {"empty.csv", kCasesUnreadable, "rivulet: the case table has no header row\n"},
      {"header-only.csv", kCasesAllSolved, ""},
  };
  for (const Case& c : cases) {
    const CommandRun r = Command(folder, {folder.File(c.file)});
    EXPECT_EQ(r.status, c.status) << c.file;
    EXPECT_EQ(r.err, c.err) << c.file;
    // A table that cannot be read writes nothing at all.
    if (c.status == kCasesUnreadable) {
      EXPECT_EQ(r.out, "") << c.file;
    }
  }
  const CommandRun missing = Command(folder, {folder.File("missing.csv")});
  EXPECT_EQ(missing.status, kCasesUnreadable);
  EXPECT_NE(missing.err.find("missing.csv: cannot be opened"), std::string::npos);
  EXPECT_EQ(Command(folder, {}).status, kCasesUnreadable);
  EXPECT_EQ(Command(folder, {folder.File("good.csv"), "-o"}).status, kCasesUnreadable);
}

TEST(CaseBatchTest, OutputFileIsReplacedOnlyByACompleteRun) {
  TempFolder folder;
  folder.Write("good.csv", kGood);
  folder.Write("no-n.csv", "section,solveFor,flow,depth,slope\n");
  folder.Write("out.csv", "old results\n");
  EXPECT_EQ(Command(folder, {folder.File("no-n.csv"), "-o", folder.File("out.csv")}).status,
            kCasesUnreadable);
  EXPECT_EQ(folder.Read("out.csv"), "old results\n");
  const CommandRun r =
      Command(folder, {folder.File("good.csv"), "--details", "-o", folder.File("out.csv")});
  EXPECT_EQ(r.status, kCasesAllSolved);
  EXPECT_EQ(r.out, "");
  const auto records = cases_test::Records(folder.Read("out.csv"));
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[1][0], "a");
  EXPECT_NE(std::find(records[0].begin(), records[0].end(), "froudeNumber"), records[0].end());
  // Rows end in CR LF, as RFC 4180 writes them.
  EXPECT_NE(folder.Read("out.csv").find("\r\n"), std::string::npos);
}

TEST(CaseBatchTest, QuoteLeftOpenLeavesTheOutputFileAlone) {
  TempFolder folder;
  folder.Write("open.csv", kGood + "\"c,pipe,depth,1,m3/s,,m,0.45,m,5,/1000,0.013\n" + kGood);
  folder.Write("out.csv", "old results\n");
  const CommandRun r = Command(folder, {folder.File("open.csv"), "-o", folder.File("out.csv")});
  EXPECT_EQ(r.status, kCasesUnreadable);
  EXPECT_EQ(r.err,
            "rivulet: the case table could not be read: the quote that opens on line 4 is never "
            "closed\n");
  EXPECT_EQ(folder.Read("out.csv"), "old results\n");
}

TEST(CaseBatchTest, FormulaTextsAreWrittenAsText) {
  const std::string csv =
      "name,section,solveFor,flow,flowUnit,depth,depthUnit,width,widthUnit,slope,slopeUnit,"
      "manningsN,note\n"
      "+SUM(A1),pipe,depth,0.05,m3/s,,m,0.45,m,5,/1000,0.013,-2\n";
  const auto r = cases_test::RunText(csv, CaseStart::BuiltIn(StartupValues::ForFolder("/x")));
  EXPECT_EQ(r.status, kCasesAllSolved) << r.err;
  EXPECT_NE(r.out.find("\r\n'+SUM(A1),pipe,"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(",0.013,-2,"), std::string::npos) << r.out;
  ASSERT_EQ(r.rows.size(), 1u);
  EXPECT_EQ(r.rows[0].at("name"), "+SUM(A1)");
}

TEST(CaseBatchTest, UnknownColumnsAndOddCellsPassThrough) {
  const std::string big(1 << 20, 'n');
  const std::string csv =
      "\xEF\xBB\xBF"
      "job,section,solveFor,flow,flowUnit,depth,depthUnit,width,widthUnit,"
      "slope,slopeUnit,manningsN,\"remark, free\"\r\n"
      "\"" +
      big +
      "\",pipe,depth,0.05,m3/s,,m,0.45,m,5,/1000,0.013,\"kept, as \"\"is\"\"\"\r\n"
      "\r\n"
      "2,pipe,depth,0.06,m3/s,,m,0.45,m,5,/1000,0.013,last";
  const auto r = cases_test::RunText(csv, CaseStart::BuiltIn(StartupValues::ForFolder("/x")));
  EXPECT_EQ(r.status, kCasesAllSolved) << r.err;
  ASSERT_EQ(r.rows.size(), 2u);
  EXPECT_EQ(r.rows[0].at("job"), big);
  EXPECT_EQ(r.rows[0].at("remark, free"), "kept, as \"is\"");
  EXPECT_EQ(r.rows[1].at("remark, free"), "last");
  EXPECT_EQ(r.rows[1].at("status"), kStatusComplete);
  // The input's columns come first, in their order; the missing value columns and the
  // results follow.
  const auto header = cases_test::Records(r.out)[0];
  EXPECT_EQ(header[0], "job");
  EXPECT_EQ(header[12], "remark, free");
  EXPECT_EQ(header[13], "sideSlope");
  EXPECT_EQ(header[15], "status");
}

}  // namespace
}  // namespace rivulet
