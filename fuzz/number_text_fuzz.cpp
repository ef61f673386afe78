// The number reader and writer: every text the user types or a file holds goes through
// ReadNumber and IsNumericText, and every result comes back out through FormatNumber.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "core/shell/number_text.h"
#include "fuzz_support.h"

using rivulet::fuzz::Require;

namespace {

void CheckWritten(double v) {
  if (!std::isfinite(v)) return;
  const std::string text = rivulet::FormatNumber(v);
  Require(rivulet::IsNumericText(text), "FormatNumber wrote a text it does not read: " + text);
  const double back = rivulet::ReadNumber(text);
  // Fifteen significant digits: the text reads back to within a few units of the 15th digit.
  if (std::isnormal(v))
    Require(std::abs(back - v) <= std::abs(v) * 1e-14, "FormatNumber lost digits: " + text);
  // A 15-digit decimal survives the trip through a double unchanged.
  if (std::isnormal(back))
    Require(rivulet::FormatNumber(back) == text, "FormatNumber is not stable: " + text);
  const std::string fixed = rivulet::FormatFixed3(v);
  Require(rivulet::IsNumericText(fixed), "FormatFixed3 wrote " + fixed);
  Require(std::abs(rivulet::ReadNumber(fixed) - v) <= 0.0005 + std::abs(v) * 1e-15,
          "FormatFixed3 is off: " + fixed);
  const std::string manning = rivulet::FormatManningPattern(v);
  Require(rivulet::IsNumericText(manning), "FormatManningPattern wrote " + manning);
  // The short form of sentences and comment lines: every byte one the number wrote.
  const std::string shortText = rivulet::ShortNumber(v);
  Require(rivulet::IsNumericText(shortText), "ShortNumber wrote " + shortText);
  if (std::isnormal(v))
    Require(std::abs(rivulet::ReadNumber(shortText) - v) <= std::abs(v) * 5e-4,
            "ShortNumber is off: " + shortText);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const double v = rivulet::ReadNumber(text);
  Require(std::isfinite(v), "ReadNumber gave a non-finite value");
  const bool numeric = rivulet::IsNumericText(text);
  if (numeric) {
    // A numeric text holds nothing after its number but blanks, so it reads the same
    // with more blanks around it.
    const std::string padded = " " + std::string(text) + " ";
    Require(rivulet::IsNumericText(padded), "blanks around a number made it non-numeric");
    Require(rivulet::ReadNumber(padded) == v, "blanks around a number changed its value");
  }
  if (!numeric && v != 0) {
    // The value came from a numeric beginning; what follows it spoils the whole.
    Require(text.find_first_of("0123456789") != std::string_view::npos, "a value from no digit");
  }
  if (const auto n = rivulet::ReadFileNumber(text)) {
    Require(std::abs(*n - v) <= 0.5, "ReadFileNumber rounded too far");
    Require(rivulet::ReadFileNumber(rivulet::FormatFileNumber(*n)) == *n,
            "a written file number reads back differently");
  }
  CheckWritten(v);
  if (size >= sizeof(double)) {
    double raw;
    std::memcpy(&raw, data, sizeof raw);
    CheckWritten(raw);
  }
  return 0;
}
