// The sheet's inputs and results and its flow details as delimited text: tab-separated for
// the clipboard, which spreadsheets take cell by cell, or comma-separated for a CSV file.
// Every figure goes with its unit in a column of its own.
#pragma once

#include <string>

#include "core/window/flow_details_table.h"
#include "core/window/frm_rivulet.h"

namespace rivulet {

/// "Channel Section", then one line per input and result (label, value, unit, and "Solved"
/// on the calculated ones), then the status. Lines end in CRLF.
std::string SheetResultsText(const frmRivulet& form, char separator = '\t');

/// A header line (Quantity, Primary, Alternate, Unit), then one line per row of the table;
/// the alternate column only when there is an alternate. Lines end in CRLF; "" when the table
/// has no rows.
std::string DetailsTableText(const DetailsTable& table, char separator = '\t');

/// Edit > Copy Results: the sheet's inputs and results, then its flow details while View >
/// Flow Details is checked, on the clipboard.
void CopyResultsCommand(frmRivulet& form);

/// Copy of the flow details table alone.
void CopyDetailsCommand(frmRivulet& form);

/// Save CSV of the flow details: asks for a file (beside the calculation file) and writes
/// the table; false when there is no table, the user cancelled, or the file could not be
/// written (after a message naming it).
bool SaveDetailsCsvCommand(frmRivulet& form);

}  // namespace rivulet
