// A list input's rows from comma-separated text, as a spreadsheet saves them: the first
// record names the members, each further record is one row. A header "length [m]" gives
// the member "length" with its numbers in metres; text columns (ids, structure names,
// words) stay strings. The result is the list as a worksheet file writes it.
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace rivulet {

/// Rows and columns beyond these are refused: far past any network drawn by hand.
inline constexpr std::size_t kMaxListCsvRows = 100000;
inline constexpr std::size_t kMaxListCsvColumns = 64;

struct ListCsv {
  nlohmann::json rows = nlohmann::json::array();
  std::string error;  ///< "" when read; else why not, naming the line
};

/// The rows of the text. Members named in textColumns keep their cells as strings; any
/// other cell that reads as a number (a "," taken as the decimal point when there is no
/// ".") becomes {"value": x, "unit": u} ("unit" only when the header gives one); any other
/// text stays a string (a word such as "inlet"). An empty cell leaves its member out.
ListCsv ListRowsFromCsv(std::string_view text, const std::vector<std::string>& textColumns);

}  // namespace rivulet
