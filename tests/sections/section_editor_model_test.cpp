// The section editor's view-model: table edits reach the worksheet as whole lists in the
// points' unit, a file's lists come back into the tables once, and the picture is in
// metres with the results' texts.
#include "core/worksheets/section_editor_model.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/worksheets/section_sheet.h"

namespace rivulet {
namespace {

class SectionEditorModelTest : public ::testing::Test {
 protected:
  SectionEditorModelTest() { editor.SetPoints({0, 10, 20}, {3, 1, 3}); }

  const nlohmann::json& Sent(const char* list) const {
    static const nlohmann::json none;
    const nlohmann::json* entry = sheet.ListInput(list);
    return entry ? *entry : none;
  }

  WorksheetModel sheet{IrregularSectionKind()};
  SectionEditorModel editor{sheet};
};

TEST_F(SectionEditorModelTest, AddedPointsGoHalfwayOrOneUnitBeyondAnEnd) {
  const struct {
    int after, row;
    double station, elevation;
  } rows[] = {{-1, 0, -1, 3}, {0, 1, 5, 2}, {1, 2, 15, 2}, {2, 3, 21, 3}, {99, 3, 21, 3}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.after);
    editor.SetPoints({0, 10, 20}, {3, 1, 3});
    ASSERT_EQ(r.row, editor.AddPointAfter(r.after));
    ASSERT_EQ(4u, Sent("points")["station"].size());
    EXPECT_EQ(r.station, Sent("points")["station"][r.row].get<double>());
    EXPECT_EQ(r.elevation, Sent("points")["elevation"][r.row].get<double>());
  }
}

TEST_F(SectionEditorModelTest, PointEditsAndRemovals) {
  EXPECT_FALSE(editor.SetPoint(1, 1, NAN));
  EXPECT_FALSE(editor.SetPoint(3, 0, 1));
  ASSERT_TRUE(editor.SetPoint(1, 1, -0.5));
  EXPECT_EQ(-0.5, Sent("points")["elevation"][1].get<double>());
  EXPECT_FALSE(editor.RemovePoints({5, -1}));
  ASSERT_TRUE(editor.RemovePoints({2, 0, 2}));
  EXPECT_EQ(nlohmann::json({10}), Sent("points")["station"]);
}

TEST_F(SectionEditorModelTest, ZonesKeepTheirFirstRowAndSendTheirNumbers) {
  editor.SetZones({{"", "0.035"}});
  editor.AddZone();  // halfway along the section, with the last n
  editor.AddZone();  // halfway from the last zone's start to the right end
  EXPECT_EQ((std::vector<SectionZoneRow>{{"", "0.035"}, {"10", "0.035"}, {"15", "0.035"}}),
            editor.Zones());
  EXPECT_TRUE(editor.DeleteZone(0));  // the first is kept: the last goes
  EXPECT_TRUE(editor.DeleteZone(1));
  EXPECT_FALSE(editor.DeleteZone(0));
  ASSERT_EQ(1u, editor.Zones().size());

  // A cell that is not a number goes to the file as null, for the sheet to name.
  editor.SetZones({{"left end", "0.04"}, {"4 ", "n?"}});
  EXPECT_EQ(nlohmann::json::parse(R"({"unit": "m", "breaks": [4], "n": [0.04, null]})"),
            Sent("nZones"));
  EXPECT_EQ("", editor.Zones()[0].from);
}

TEST_F(SectionEditorModelTest, AFileReadFillsTheTablesOnceInThePointsUnit) {
  EXPECT_FALSE(editor.Follow());  // its own edits
  Document d;
  d.kind = "section";
  d.inputs["points"] = {{"unit", "ft"}, {"station", {0, 5, 10}}, {"elevation", {4, 1, 3}}};
  d.inputs["nZones"] = {{"unit", "m"}, {"breaks", {1.524}}, {"n", {0.04, 0.03}}};
  ASSERT_EQ("", sheet.Load(d, ""));
  ASSERT_TRUE(editor.Follow());
  EXPECT_FALSE(editor.Follow());
  EXPECT_EQ("ft", editor.Unit());
  EXPECT_EQ((std::vector<double>{0, 5, 10}), editor.Stations());
  EXPECT_EQ((std::vector<SectionZoneRow>{{"", "0.04"}, {"5", "0.03"}}), editor.Zones());
  EXPECT_FALSE(sheet.HasUnsavedChanges());

  const SectionPicture p = editor.Picture();
  EXPECT_DOUBLE_EQ(5 * 0.3048, p.station[1]);
  ASSERT_EQ(1u, p.breaks.size());
  EXPECT_DOUBLE_EQ(1.524, p.breaks[0]);
  EXPECT_EQ((std::vector<std::string>{"n 0.04", "n 0.03"}), p.zoneLabels);
  EXPECT_FALSE(p.waterSurface);
}

TEST_F(SectionEditorModelTest, ThePictureCarriesTheCurrentResults) {
  editor.SetPoints({0, 2, 18, 20}, {1253, 1250, 1250, 1253});
  editor.SetZones({{"", "0.035"}});
  sheet.SetUnknown("discharge");
  sheet.SetText("longitudinalSlope", "0.002");
  sheet.SetText("waterSurfaceElevation", "1251.9");
  sheet.Calculate();
  ASSERT_EQ(ResultsState::Current, sheet.State()) << sheet.StatusText();
  SectionPicture p = editor.Picture();
  ASSERT_TRUE(p.waterSurface);
  EXPECT_DOUBLE_EQ(1251.9, *p.waterSurface);
  EXPECT_TRUE(p.criticalSurface);
  EXPECT_EQ("1251.900 m", p.waterText);
  EXPECT_EQ("1.9 m", p.depthText);

  editor.SetPoint(1, 1, 1249);  // results out of date: no water drawn
  p = editor.Picture();
  EXPECT_FALSE(p.waterSurface);
  EXPECT_EQ("", p.waterText);
}

}  // namespace
}  // namespace rivulet
