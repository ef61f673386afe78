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

}  // namespace
}  // namespace rivulet
