// Inputs the fuzzers found that broke a window invariant, kept as calculation files: each
// must now be turned away by the input checks, with the sheet left as the file set it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/files_fixture.h"
#include "invariants_support.h"

namespace rivulet {
namespace {

// The 26 lines of a calculation file, CR LF ended.
std::string CalcFile(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& l : lines) bytes += l + "\r\n";
  return bytes;
}

struct RegressionCase {
  const char* name;
  std::string bytes;
  const char* message;
};

using InvariantsRegressionTest = FilesTest;

TEST_F(InvariantsRegressionTest, FilesThatOnceGaveNegativeResultsAreTurnedAway) {
  const RegressionCase cases[] = {
      // No section chosen: the solver works a gutter, but the side slope went unchecked and
      // a negative one gave negative results marked complete.
      {"no section, negative side slope",
       CalcFile({"Rivulet", "Version 2.0.1", "-1 ",   "Velocity", "False", "1",     " 0 ",
                 "False",   "0.5",           " 2 ",   "True",     "",      " 2 ",   "False",
                 "-3",      " 0 ",           "False", "1",        " 0 ",   "False", "0.013",
                 " 0 ",     " 2 ",           " 2 ",   " 0 ",      " 2 "}),
       "Invalid value for side slope: X values should be greater than or equal to zero."},
      // No side-slope unit chosen: the number is read as x per 1 and must be checked so.
      {"trapezoid, no side-slope unit, negative side slope",
       CalcFile({"Rivulet", "Version 2.0.1", " 3 ",   "Velocity", "True", "",      " 0 ",
                 "False",   "0.5",           " 2 ",   "False",    "1",    " 2 ",   "False",
                 "-3",      "-1 ",           "False", "1",        " 0 ",  "False", "0.013",
                 " 0 ",     " 2 ",           " 2 ",   " 0 ",      " 2 "}),
       "Invalid value for side slope: X values should be greater than or equal to zero."},
  };
  for (const RegressionCase& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile(folder / "case.rvl", c.bytes);
    services.messages.clear();
    ASSERT_EQ(OpenCalcFile(form, (folder / "case.rvl").string(), "case.rvl"), OpenResult::Loaded);
    ASSERT_FALSE(services.messages.empty());
    EXPECT_EQ(services.messages[0].text, c.message);
    EXPECT_EQ(services.messages[0].title, "Oops!");
    EXPECT_NE(form.txtStatus.Text(), kStatusComplete);
    EXPECT_EQ(invariants::BoxWithNonFinite(form), "");
  }
}

// A file in a single-byte code page can put bytes into a box that are no UTF-8: each such
// byte is a character of its own, so cutting back never takes the digit before it.
TEST_F(InvariantsRegressionTest, StrayBytesAreCutOneByOne) {
  const struct {
    const char* in;
    const char* kept;
  } cases[] = {
      {"0.0\xB6"
       "2\xEC",
       "0.0"},  // found by the input filter fuzzer
      {"2.5\xB0", "2.5"},
      {"12\xC3\xA9", "12"},
      {"\xB6.", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    form.txtDepth.SetText("");
    form.txtDepth.SetText(c.in);
    EXPECT_EQ(form.txtDepth.Text(), c.kept);
  }
}

}  // namespace
}  // namespace rivulet
