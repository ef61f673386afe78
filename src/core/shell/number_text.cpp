#include "core/shell/number_text.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

#include "core/shell/utf8_text.h"

namespace rivulet {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the numeric beginning of text starting at pos (0 when there is none).
size_t NumericPrefixLength(std::string_view text, size_t pos) {
  size_t i = pos;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    size_t expDigits = 0;
    while (j < text.size() && IsDigit(text[j])) ++j, ++expDigits;
    if (expDigits > 0) i = j;
  }
  return i - pos;
}

double ParsePrefix(std::string_view text, size_t pos, size_t len) {
  std::string_view number = text.substr(pos, len);
  bool negative = false;
  if (!number.empty() && (number[0] == '+' || number[0] == '-')) {
    negative = number[0] == '-';
    number.remove_prefix(1);
  }
  double value = 0;
  auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), value,
                                   std::chars_format::general);
  if (ec == std::errc::result_out_of_range) {
    // from_chars leaves the value unset: tiny exponents are 0, huge ones overflow.
    const auto e = number.find_first_of("eE");
    const bool tiny = e != std::string_view::npos && number.substr(e + 1).starts_with("-");
    value = tiny ? 0.0 : std::numeric_limits<double>::max();
  } else if (ec != std::errc()) {
    value = 0;
  }
  return negative ? -value : value;
}

}  // namespace

double ReadNumber(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  const size_t len = NumericPrefixLength(text, pos);
  if (len == 0) return 0.0;
  return ParsePrefix(text, pos, len);
}

bool IsNumericText(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size() && IsBlank(text[pos])) ++pos;
  const size_t len = NumericPrefixLength(text, pos);
  if (len == 0) return false;
  size_t end = pos + len;
  while (end < text.size() && IsBlank(text[end])) ++end;
  return end == text.size();
}

std::string DecimalPointText(std::string_view text) {
  std::string out(text);
  const size_t comma = out.find(',');
  if (comma == out.npos || out.find(',', comma + 1) != out.npos || out.find('.') != out.npos)
    return out;
  out[comma] = '.';
  return out;
}

// std::to_chars never looks at the locale, unlike printf, which the GUI toolkit's
// setlocale(LC_ALL, "") would turn to a comma in many countries.
bool IsNumberBeingTyped(std::string_view text) {
  if (IsNumericText(text)) return true;
  size_t end = text.size();
  while (end > 0 && IsBlank(text[end - 1])) --end;
  if (end > 0 && (text[end - 1] == '+' || text[end - 1] == '-')) --end;
  if (end == 0 || (text[end - 1] != 'e' && text[end - 1] != 'E')) return false;
  const std::string_view mantissa = text.substr(0, end - 1);
  // A mantissa with a digit: "e" alone, "-e" or ".e" start no number.
  return IsNumericText(mantissa) && mantissa.find_first_of("0123456789") != std::string_view::npos;
}

std::string NumericInputText(std::string text, long* cuts) {
  if (cuts) *cuts = 0;
  // "." is the decimal point and digit grouping is never valid, so a comma can only be a
  // decimal point typed the way many countries write it.
  std::replace(text.begin(), text.end(), ',', '.');
  if (text.empty() || IsNumberBeingTyped(text)) return text;
  // Each cut would re-enter a change handler; doing the cuts here and assigning once gives
  // the same text without a recursion as deep as a pasted text is long. Nothing from the
  // first character a number cannot hold onwards can survive the cuts.
  size_t firstForeign = text.size();
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (!(c == ' ' || c == '\t' || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E' ||
          (c >= '0' && c <= '9'))) {
      firstForeign = i;
      break;
    }
  }
  long cut = static_cast<long>(CharacterCount(std::string_view(text).substr(firstForeign)));
  text.resize(firstForeign);
  while (!(text.empty() || IsNumberBeingTyped(text))) {
    if (text == ".")
      text = "0.";
    else
      DropLastCharacter(text);
    ++cut;
  }
  if (cuts) *cuts = cut;
  return text;
}

std::string CharsOf(double value, std::chars_format format, int precision) {
  // The longest is a fixed form: 309 whole digits, a sign, a point and the decimals.
  std::string s(320 + static_cast<size_t>(std::max(precision, 0)), '\0');
  const auto [end, ec] = std::to_chars(s.data(), s.data() + s.size(), value, format, precision);
  s.resize(ec == std::errc() ? static_cast<size_t>(end - s.data()) : 0);
  return s;
}

std::string ShortestChars(double value) {
  char buf[64];  // a shortest form takes at most 24
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  return ec == std::errc() ? std::string(buf, end) : std::string();
}

std::string FormatNumber(double value) {
  if (value == 0) return "0";
  std::string s = CharsOf(value, std::chars_format::general, 15);
  for (char& c : s)
    if (c == 'e') c = 'E';
  return s;
}

namespace {
std::string Fixed(double value, int decimals) {
  return CharsOf(value, std::chars_format::fixed, decimals);
}
}  // namespace

std::string FormatFixed3(double value) {
  std::string s = Fixed(value, 3);
  if (s == "-0.000") s = "0.000";
  return s;
}

std::string FormatManningPattern(double value) {
  std::string s = Fixed(value, 14);
  const auto dot = s.find('.');
  if (dot != std::string::npos) {
    size_t end = s.size();
    while (end > dot + 1 && s[end - 1] == '0') --end;
    if (end == dot + 1) end = dot;  // no decimals left: drop the point too
    s.resize(end);
  }
  return s;
}

std::string FormatFileNumber(long value) {
  std::string s = std::to_string(value);
  return value >= 0 ? " " + s + " " : s + " ";
}

std::optional<int> ReadFileNumber(std::string_view text) {
  const double v = ReadNumber(text);
  const double r = std::nearbyint(v);  // default rounding mode: halves to even
  if (!(r >= std::numeric_limits<int>::min() && r <= std::numeric_limits<int>::max()))
    return std::nullopt;
  return static_cast<int>(r);
}

std::string SignificantFigures(double value, int digits) {
  return CharsOf(value, std::chars_format::general, digits);
}

std::string ShortNumber(double value) {
  if (value == 0 || !std::isfinite(value)) return FormatNumber(value);
  const int magnitude = static_cast<int>(std::floor(std::log10(std::abs(value))));
  if (magnitude < -4) return CharsOf(value, std::chars_format::general, 4);
  // Whole numbers of up to 63 digits are written out as they always were; past that the
  // general form ("1e+100"), not a hundred digits of which only fifteen mean anything.
  if (magnitude >= 63) return CharsOf(value, std::chars_format::general, 15);
  const int decimals = std::max(0, 3 - magnitude);
  std::string s = CharsOf(value, std::chars_format::fixed, decimals);
  if (s.find('.') != std::string::npos) {
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
  }
  return s;
}

// Four significant figures turn a water surface of 1251.90 m into "1252": a level is
// only useful to the millimetre-or-so a survey is read to, whatever its size.
std::string SurveyLevelText(double value, double metresPerUnit) {
  if (!std::isfinite(value) || std::abs(value) >= 1e15 || !(metresPerUnit > 0))
    return FormatNumber(value);
  constexpr double kResolution = 0.003048;  // 0.01 ft, the coarsest step a level is given to
  int decimals = 0;
  for (double step = metresPerUnit; step > kResolution * (1 + 1e-9) && decimals < 9; step /= 10)
    ++decimals;
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  if (res.ec != std::errc()) return FormatNumber(value);
  std::string s(buf, res.ptr);
  if (s.starts_with('-') && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
  return s;
}

}  // namespace rivulet
