// The rating table's units for a worksheet: the sheet's unit lists chosen to match the
// units the worksheet shows its depth, flow area, velocity and discharge in.
#pragma once

#include "core/window/rating_sheet.h"
#include "core/worksheets/document.h"

namespace rivulet {

/// The list positions of the units the document's results are shown in ("ft", "ft2",
/// "ft/s", "ft3/s" for US results); a unit the lists lack falls back to its system's.
RatingUnits RatingUnitsOfResults(const Document& document);

}  // namespace rivulet
