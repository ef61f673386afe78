// The culvert worksheet (kind "culvert"): reads a document into the culvert calculation's
// inputs and turns its results into named results, the performance table, method lines and
// warnings.
#pragma once

#include <string>
#include <vector>

#include "core/culverts/culvert.h"
#include "core/worksheets/file_units.h"
#include "core/worksheets/kinds.h"

namespace rivulet {

/// The culvert kind: its inputs, unknowns, options and solve.
const WorksheetKind& CulvertKind();

/// The calculation's inputs from a culvert document, in base units; throws WorksheetError
/// naming the field when one is missing or unreadable.
CulvertInputs ReadCulvertInputs(const Document& document);

/// What a solved culvert outcome carries for its window.
struct CulvertSolved {
  CulvertInputs inputs;
  CulvertResults results;
};

/// The performance table as CSV (separator ',' or '\t'), flows and levels in the units given,
/// a header naming each column with its unit; lines end in CR LF.
std::string CulvertPerformanceCsv(const std::vector<PerformancePoint>& points,
                                  const FileUnit& level, const FileUnit& discharge,
                                  char separator = ',');

}  // namespace rivulet
