#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "core/batch/batch.h"
#include "support/example_files.h"

namespace rivulet {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  return lines;
}

std::string FirstField(const std::string& line) { return line.substr(0, line.find(',')); }

struct BatchCase {
  const char* name;
  RatingBatchOptions options;
  size_t lines;
  const char* lastDepth;
};

TEST(RatingBatchTest, WritesTheCsvOfAFile) {
  const BatchCase cases[] = {
      {"defaults: 51 rows up to the diameter", {}, 52, "450"},
      {"rows and top in the file's unit", {7, 300}, 8, "300"},
      {"a top above the crown stops there", {3, 900}, 4, "450"},
  };
  for (const BatchCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::ostringstream out, err;
    const int status = RunRatingBatch(Example("storm-sewer-pipe.rvl"), c.options,
                                      StartupValues::ForFolder("/nonexistent"), out, err);
    EXPECT_EQ(status, 0) << err.str();
    EXPECT_EQ(out.str().back(), '\n') << "the last line has a line end";
    const auto lines = Lines(out.str());
    ASSERT_EQ(lines.size(), c.lines + 2);
    EXPECT_EQ(lines[0], "# Rivulet rating table");
    EXPECT_EQ(lines[1], "# Circular Pipe: diameter 450 mm, slope 5 /1000, n 0.013");
    EXPECT_EQ(lines[2],
              "Depth (mm),Flow Area (m²),Velocity (m/s),Discharge (L/s),Froude Number (-),"
              "Percent Full (%)");
    EXPECT_EQ(FirstField(lines.back()), c.lastDepth);
  }
  std::ostringstream out, err;
  EXPECT_EQ(
      RunRatingBatch("/nonexistent/x.rvl", {}, StartupValues::ForFolder("/nonexistent"), out, err),
      kBatchBadFile);
  EXPECT_EQ(out.str(), "");
  EXPECT_EQ(RunRatingBatch(Example("v-ditch.rvl"), {1, {}},
                           StartupValues::ForFolder("/nonexistent"), out, err),
            kBatchSomeUnsolved);
  EXPECT_NE(err.str().find("The number of rows must be from 2 to 1000000."), std::string::npos);
}

// A surveyed section's worksheet gives the rating its window shows; a missing file, a folder
// and a worksheet of another kind say what they are.
TEST(RatingBatchTest, AnIrregularSectionWorksheetHasItsRatingAndOthersSayWhyNot) {
  const StartupValues startup = StartupValues::ForFolder("/nonexistent");
  std::ostringstream out, err;
  EXPECT_EQ(RunRatingBatch(Example("ditch-survey.rvw"), {5, {}}, startup, out, err), 0)
      << err.str();
  const auto lines = Lines(out.str());
  ASSERT_GE(lines.size(), 7u);
  EXPECT_EQ(lines[0], "# Rivulet rating table");
  EXPECT_EQ(FirstField(lines[lines.size() - 6]).rfind("Depth (", 0), 0u);
  EXPECT_EQ(FirstField(lines[lines.size() - 5]), "0");

  const struct {
    std::string file;
    std::string message;
  } refusals[] = {
      {"/nonexistent/x.rvl", "/nonexistent/x.rvl: cannot be read: it does not exist\n"},
      {fs::temp_directory_path().string(),
       fs::temp_directory_path().string() + ": cannot be read: it is a folder\n"},
      {Example("gutter-composite-si.rvw"),
       Example("gutter-composite-si.rvw") +
           ": only calculation files and irregular-section worksheets have a rating\n"},
  };
  for (const auto& r : refusals) {
    std::ostringstream none, why;
    EXPECT_EQ(RunRatingBatch(r.file, {}, startup, none, why), kBatchBadFile);
    EXPECT_EQ(why.str(), r.message);
    EXPECT_EQ(none.str(), "");
  }
}

}  // namespace
}  // namespace rivulet
