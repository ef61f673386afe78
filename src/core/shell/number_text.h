// Numbers as the sheet and the files hold them: always "." as the decimal point,
// whatever the user's locale.
#pragma once

#include <charconv>
#include <optional>
#include <string>
#include <string_view>

namespace rivulet {

/// The leading number of a text: blanks skipped, then the longest beginning made of an
/// optional sign, digits with one ".", and an optional exponent. Empty or non-numeric
/// text reads as 0; what follows the number is ignored ("12abc" is 12, ".5" is 0.5).
double ReadNumber(std::string_view text);

/// True when the whole text, blanks around it allowed, is one number: a lone ".", a lone
/// sign or "1e" are not numbers.
bool IsNumericText(std::string_view text);

/// A number's text with a comma written for the decimal point ("47,5") turned into "47.5";
/// any other text (one with a point as well, or two commas) comes back as it is.
std::string DecimalPointText(std::string_view text);

/// A number, or one being typed whose exponent is not finished yet ("2.5e", "2.5e-"); it
/// still reads as its leading number.
bool IsNumberBeingTyped(std::string_view text);

/// What the numeric input filter leaves of a typed or pasted text: cut back from its end
/// one character at a time until it is numeric or empty, "." becoming "0.". cuts, when
/// given, receives the number of characters cut.
std::string NumericInputText(std::string text, long* cuts = nullptr);

/// std::to_chars in the given format and precision into room enough for any double, its
/// result checked: the text it wrote and never a byte it did not ("" if it still failed).
std::string CharsOf(double value, std::chars_format format, int precision);

/// The shortest text std::to_chars gives that reads back as the same double.
std::string ShortestChars(double value);

/// A double as a plain decimal number with up to 15 significant digits ("0.5", "1250",
/// "1E+15" where the digits would run out).
std::string FormatNumber(double value);

/// A number to about four significant figures for sentences and drawings: whole digits
/// all kept, trailing zeros dropped ("2.5", "0.01235", "1235"); below 1e-4, and from
/// 1e63, in the general form ("1.234e-05", "1e+100").
std::string ShortNumber(double value);

/// The value to so many significant figures, trailing zeros dropped, as printf's "%.*g"
/// writes it in the C locale: "0.6", "1.13", "1e+08", whatever locale the program runs in.
std::string SignificantFigures(double value, int digits);

/// The "0.000" pattern: three decimals, at least one digit before the point.
std::string FormatFixed3(double value);

/// Manning's n in the "0.##############" pattern: a leading 0, at most 14 decimals,
/// no trailing zeros.
std::string FormatManningPattern(double value);

/// A whole number as the files write it: one leading blank when 0 or more, one trailing
/// blank (" 2 ", "-1 ").
std::string FormatFileNumber(long value);

/// A file's number line: the leading number rounded to a whole number, halves to the
/// even neighbour. Empty text reads 0; nullopt when the value does not fit an int.
std::optional<int> ReadFileNumber(std::string_view text);

/// An elevation or station in a length unit of metresPerUnit metres, to the resolution a
/// survey is read to: the coarsest power of ten of the unit no coarser than 0.01 ft, trailing
/// zeros kept ("1251.900" in m, "4107.28" in ft, "125190" in mm). Beyond 1e15 in the unit, or
/// not finite, as FormatNumber writes it.
std::string SurveyLevelText(double value, double metresPerUnit);

}  // namespace rivulet
