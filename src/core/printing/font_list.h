// The printer's font list and its cache file RIVULET.FTS, so that the print window asks
// the printer only for its number of fonts unless that number has changed.
#pragma once

#include <string>
#include <vector>

#include "core/printing/printer.h"

namespace rivulet {

inline constexpr char kFontListFileName[] = "RIVULET.FTS";

/// The font names for the print window. The first folder whose font list file says the
/// printer's current number of fonts supplies them; otherwise the printer's names are
/// enumerated and the file is rewritten in the first folder where that works. The names
/// still come back when no folder can be written.
std::vector<std::string> LoadFontList(Printer& printer, const std::vector<std::string>& folders);

/// The position in names of the font a new print window starts with (-1 for an empty
/// list): Courier New, else Courier, else the first entry; but when that font is
/// proportional, the first fixed-pitch font, because the report's columns need one.
int InitialFontIndex(const std::vector<std::string>& names, Printer& printer);

}  // namespace rivulet
