#include "core/shell/utf8_text.h"

#include <gtest/gtest.h>

namespace rivulet {
namespace {

TEST(PadRight, CountsCharactersNotBytes) {
  const struct {
    const char* text;
    size_t width;
    size_t minBlanks;
    const char* padded;
  } cases[] = {
      {"abc", 5, 0, "abc  "},
      {"", 3, 0, "   "},
      {"m³/s", 6, 0, "m³/s  "},  // the superscript is one character in two bytes
      {"τ", 3, 1, "τ  "},
      {"abcdef", 4, 0, "abcdef"},  // a longer text is kept whole
      {"abcdef", 4, 1, "abcdef "},
      {"abcd", 4, 1, "abcd "},  // as wide as the column: still one blank before the next
      {"abc", 4, 1, "abc "},
      {"lb/ft²", 6, 2, "lb/ft²  "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(PadRight(c.text, c.width, c.minBlanks), c.padded);
  }
}

TEST(ValidUtf8, ReplacesEachStrayByteAndKeepsWellFormedText) {
  const std::string r = "\xEF\xBF\xBD";  // U+FFFD
  const struct {
    std::string text, valid;
  } cases[] = {
      {"plain", "plain"},
      {"m³/s τ 𝄞", "m³/s τ 𝄞"},
      {"caf\xE9.rvl", "caf" + r + ".rvl"},  // Latin-1
      {"\xC3", r},                          // cut short at the end
      {"\xC0\xAF", r + r},                  // overlong "/"
      {"\xED\xA0\x80", r + r + r},          // a surrogate
      {"\xF4\x90\x80\x80", r + r + r + r},  // past U+10FFFF
      {"\x80x", r + "x"},                   // a lone continuation byte
  };
  for (const auto& c : cases) EXPECT_EQ(ValidUtf8(c.text), c.valid) << c.text;
}

}  // namespace
}  // namespace rivulet
