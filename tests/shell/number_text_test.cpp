#include "core/shell/number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>

namespace rivulet {
namespace {

struct ReadCase {
  const char* text;
  double value;
};

TEST(ReadNumber, TakesTheLeadingNumber) {
  const ReadCase cases[] = {
      {"12abc", 12},
      {"N/A", 0},
      {".5", 0.5},
      {"", 0},
      {"  7.25", 7.25},
      {"-3", -3},
      {"+4", 4},
      {"1e3", 1000},
      {"1E-2x", 0.01},
      {"1e", 1},
      {"2e+", 2},
      {"inf", 0},
      {"nan", 0},
      {"0x1A", 0},
      {"1,5", 1},
      {"-.5", -0.5},
      {".", 0},
      {"-", 0},
      {"1.2.3", 1.2},
      {"1e999", 1.7976931348623157e308},
      {"1e-999", 0},
      {"\t9", 9},
      {"0012", 12},
      {"5 6", 5},
      // The spellings from_chars and strtod take for infinities and NaN are not numbers.
      {"NaN", 0},
      {"-inf", 0},
      {"+INF", 0},
      {"infinity", 0},
      {"nan(0x1)", 0},
      {" -NAN", 0},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(ReadNumber(c.text), c.value) << c.text;
}

TEST(IsNumericText, AcceptsWholeNumbersOnly) {
  const char* numeric[] = {"0", "12", " 12 ", "-1", "+1", "0.", ".5", "1e5", "1E-5", "-0.25e+2"};
  const char* notNumeric[] = {"",    ".",     "-",    "+",        "1e",      "1e+", "12a",
                              "1x2", "1.2.3", "e5",   "--1",      "1 2",     "inf", "1,5",
                              "NaN", "-inf",  "+INF", "infinity", "nan(0x1)"};
  for (const char* t : numeric) EXPECT_TRUE(IsNumericText(t)) << t;
  for (const char* t : notNumeric) EXPECT_FALSE(IsNumericText(t)) << t;
}

TEST(NumericInputText, CommaIsTheDecimalPointAndExponentsMayBeHalfTyped) {
  const std::pair<const char*, const char*> cases[] = {
      {"0,013", "0.013"}, {"1,50", "1.50"},    {",5", ".5"},       {"1,000,000", "1.000"},
      {"2.5e", "2.5e"},   {"2.5e-", "2.5e-"},  {"2.5E+", "2.5E+"}, {"2.5e-4", "2.5e-4"},
      {"e", ""},          {"-e", ""},          {".e", "0."},       {"2.5e-x", "2.5e-"},
      {"12abc", "12"},    {"2.5e--", "2.5e-"},
  };
  for (const auto& [typed, kept] : cases) {
    EXPECT_EQ(NumericInputText(typed), kept) << typed;
  }
  // A half-typed exponent still reads as its leading number.
  EXPECT_EQ(ReadNumber("2.5e-"), 2.5);
  EXPECT_TRUE(IsNumberBeingTyped("2.5e+"));
  EXPECT_FALSE(IsNumberBeingTyped("e-"));
  EXPECT_FALSE(IsNumericText("2.5e"));
}

// Table cells read a decimal comma as value boxes do, but never guess at a text that
// could be digit grouping or a list.
TEST(DecimalPointText, TurnsALoneDecimalCommaIntoAPoint) {
  const std::pair<const char*, const char*> cases[] = {
      {"47,5", "47.5"},   {" -0,013 ", " -0.013 "}, {"1,000.5", "1,000.5"},
      {"1,0,0", "1,0,0"}, {"m3/s", "m3/s"},         {"2,5e-3", "2.5e-3"},
  };
  for (const auto& [typed, read] : cases) EXPECT_EQ(DecimalPointText(typed), read) << typed;
}

TEST(FormatNumber, PlainDecimalWithFifteenDigits) {
  EXPECT_EQ(FormatNumber(0.5), "0.5");
  EXPECT_EQ(FormatNumber(1250), "1250");
  EXPECT_EQ(FormatNumber(0), "0");
  EXPECT_EQ(FormatNumber(-2.5), "-2.5");
  EXPECT_EQ(FormatNumber(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(FormatNumber(0.1 + 0.2), "0.3");
  EXPECT_EQ(FormatNumber(1e20), "1E+20");
  // Whatever is written reads back to the same 15 digits.
  for (double v : {0.9653467, 123456.789012345, 3.5e-7}) {
    EXPECT_EQ(FormatNumber(ReadNumber(FormatNumber(v))), FormatNumber(v));
  }
}

TEST(FormatPatterns, FixedAndManning) {
  EXPECT_EQ(FormatFixed3(12), "12.000");
  EXPECT_EQ(FormatFixed3(0.0132), "0.013");
  EXPECT_EQ(FormatFixed3(0.4), "0.400");
  EXPECT_EQ(FormatManningPattern(0.013), "0.013");
  EXPECT_EQ(FormatManningPattern(0.0130000000000001), "0.013");
  EXPECT_EQ(FormatManningPattern(0.5), "0.5");
  EXPECT_EQ(FormatManningPattern(0.012345678901234567), "0.01234567890123");
}

TEST(ShortNumber, FourSignificantFiguresWithoutTrailingZeros) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0, "0"},
      {2.5, "2.5"},
      {-2.5, "-2.5"},
      {1, "1"},
      {99.99, "99.99"},
      {9.99951, "10"},
      {1234.56, "1235"},
      {123456.7, "123457"},
      {0.0123456, "0.01235"},
      {0.00012346, "0.0001235"},
      {0.00001234, "1.234e-05"},
      // Beyond a double's digits: the general form, not a hundred whole digits that
      // overflowed the text and left whatever the buffer held.
      {123456789012345.0, "123456789012345"},
      {7830699688414622.0, "7830699688414622"},
      {1e62, "100000000000000003502199685943161173046080317798311825604870144"},
      {1e100, "1e+100"},
      {-1.5e300, "-1.5e+300"},
  };
  for (const auto& c : cases) EXPECT_EQ(ShortNumber(c.value), c.text) << c.value;
}

TEST(CharsOf, WritesTheWholeOfTheLongestForms) {
  // The largest double in the fixed form has 309 whole digits.
  const std::string fixed = CharsOf(-1.7976931348623157e308, std::chars_format::fixed, 14);
  EXPECT_EQ(fixed.size(), 1 + 309 + 1 + 14u);
  EXPECT_EQ(fixed.substr(0, 6), "-17976");
  EXPECT_EQ(CharsOf(5e-324, std::chars_format::general, 40).substr(0, 6), "4.9406");
  EXPECT_EQ(ShortestChars(-2.2250738585072014e-308), "-2.2250738585072014e-308");
}

TEST(FileNumbers, WriteWithBlanksReadRoundingHalvesToEven) {
  EXPECT_EQ(FormatFileNumber(2), " 2 ");
  EXPECT_EQ(FormatFileNumber(0), " 0 ");
  EXPECT_EQ(FormatFileNumber(-1), "-1 ");
  EXPECT_EQ(FormatFileNumber(11), " 11 ");
  const std::pair<const char*, int> cases[] = {{" 3 ", 3},  {"", 0},     {"2.5", 2}, {"3.5", 4},
                                               {"-0.5", 0}, {"1.6x", 2}, {"-1 ", -1}};
  for (const auto& [text, value] : cases) EXPECT_EQ(ReadFileNumber(text), value) << text;
  EXPECT_FALSE(ReadFileNumber("1e300").has_value());
}

TEST(NumberText, IgnoresTheCommaLocale) {
  const char* old = std::setlocale(LC_ALL, nullptr);
  const std::string saved = old ? old : "C";
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "fr_FR.UTF-8"))
    GTEST_SKIP() << "no comma-decimal locale installed";
  EXPECT_DOUBLE_EQ(ReadNumber("2.5"), 2.5);
  EXPECT_EQ(FormatNumber(2.5), "2.5");
  EXPECT_EQ(FormatFixed3(2.5), "2.500");
  EXPECT_EQ(SignificantFigures(0.6, 4), "0.6");
  std::setlocale(LC_ALL, saved.c_str());
}

TEST(NumberText, SignificantFiguresWritesWhatPrintfWritesInTheCLocale) {
  const double values[] = {
      0.6,   1.1302890597792397, 1e8, 1.9999999999999771, 0.00012345, -0.5, 123456.5, 80.00001, 0,
      3e-310};
  for (const double v : values) {
    for (const int digits : {4, 6, 10, 17}) {
      char expected[64];
      std::snprintf(expected, sizeof expected, "%.*g", digits, v);
      EXPECT_EQ(SignificantFigures(v, digits), expected) << v << " to " << digits;
    }
  }
}

}  // namespace
}  // namespace rivulet
