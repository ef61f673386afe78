// Station-elevation points read from outside text: a CSV file or cells pasted from a
// spreadsheet (tab-separated), with or without a header row. Values stay in the units of
// their columns; the caller converts them with the units the user chose.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace rivulet {

/// Longer texts are refused unread: 5000 points take well under a megabyte.
inline constexpr std::size_t kMaxStationTextBytes = 4 * 1024 * 1024;

struct StationText {
  /// False with the reason, naming the line, in message.
  bool ok = false;
  std::string message;
  /// In the units of their columns.
  std::vector<double> station;
  std::vector<double> elevation;
  /// The header's names of the two columns read, "" without a header.
  std::string stationHeader, elevationHeader;
  /// A length unit named in each header ("m", "cm", "mm", "ft", "in"), or "".
  std::string stationUnit, elevationUnit;
  /// How the text was read, for the user to check: "semicolon-separated, decimal comma".
  std::string layout;
};

/// Reads the points. The first row is a header when its cells are not numbers; a header
/// picks the columns named like station and elevation, else the first two are read. Cells
/// are separated by commas, or by tabs or semicolons when the first line uses those; with
/// tabs or semicolons a comma in a number is its decimal point, as spreadsheets write it
/// where that is the custom.
StationText ReadStationText(std::string_view text);

/// The length unit named in a column header ("Station (ft)", "Elev [m]"), or "".
std::string LengthUnitInHeader(std::string_view header);

}  // namespace rivulet
