#include <gtest/gtest.h>

#include "core/shell/number_text.h"

namespace rivulet {
namespace {

// A level keeps the survey's resolution however large it is: four significant figures
// made 1251.90 m read "1252".
TEST(SurveyLevelText, ToTheSurveysResolutionInEachUnit) {
  constexpr double kFt = 0.3048, kIn = 0.0254;
  const struct {
    double value, metresPerUnit;
    const char* text;
  } rows[] = {
      {1251.9, 1, "1251.900"},          // m: to the millimetre
      {4107.283, kFt, "4107.28"},       // ft: to the hundredth
      {49287.4, kIn, "49287.4"},        // in: to the tenth
      {125190.04, 0.01, "125190.0"},    // cm: to the tenth
      {1251900.4, 0.001, "1251900"},    // mm: whole
      {12345678.9, 1, "12345678.900"},  // no significant-figure limit
      {-2.5, 1, "-2.500"},
      {-0.0004, 1, "0.000"},  // no minus zero
      {0, kFt, "0.00"},
      {1e16, 1, "1E+16"},  // beyond any survey: the general form
  };
  for (const auto& r : rows)
    EXPECT_EQ(r.text, SurveyLevelText(r.value, r.metresPerUnit)) << r.value;
}

}  // namespace
}  // namespace rivulet
