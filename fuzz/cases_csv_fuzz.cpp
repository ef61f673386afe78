// The case table's CSV: whatever the bytes, the table is refused as a whole with a
// message, or every row comes back with the header's width and a status; the reader gives
// the same records whether the bytes arrive at once or split anywhere.
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/cases/case_batch.h"
#include "core/cases/case_columns.h"
#include "core/cases/csv_reader.h"
#include "core/files/csv_cell.h"
#include "fuzz_support.h"

using rivulet::fuzz::Require;

namespace {

using Records = std::vector<std::vector<std::string>>;

bool ReadSplit(std::string_view text, size_t split, Records& records) {
  rivulet::CsvReader reader([&](std::vector<std::string>& r) { records.push_back(r); });
  return reader.Feed(text.substr(0, split)) && reader.Feed(text.substr(split)) && reader.Finish();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  Records whole, split;
  const bool wholeRead = ReadSplit(text, 0, whole);
  const bool splitRead = ReadSplit(text, size / 2, split);
  Require(wholeRead == splitRead && whole == split, "records depend on where the bytes split");
  // Whatever a cell holds, the guard against formulas is undone exactly on reading.
  for (const auto& record : whole)
    for (const std::string& cell : record)
      Require(rivulet::SpreadsheetCellText(rivulet::SpreadsheetSafeCell(cell)) == cell,
              "a cell written for spreadsheets does not read back as it was");

  static const rivulet::CaseStart start =
      rivulet::CaseStart::BuiltIn(rivulet::StartupValues::ForFolder("/nonexistent/rivulet"));
  std::istringstream in(text);
  std::ostringstream out, err;
  const int status = rivulet::RunCaseStream(in, start, true, out, err);
  Require(status >= rivulet::kCasesAllSolved && status <= rivulet::kCasesUnreadable,
          "an exit status outside 0..2");
  if (status == rivulet::kCasesUnreadable) {
    Require(!err.str().empty(), "a refused table without a message");
    return 0;
  }
  Records output;
  std::istringstream again(out.str());
  std::string error;
  Require(rivulet::ReadCsvStream(
              again, [&](std::vector<std::string>& r) { output.push_back(r); }, error),
          "the output is not CSV the reader takes back: " + error);
  Require(!output.empty(), "no header row written");
  bool allSolved = true;
  size_t statusColumn = output[0].size();
  for (size_t i = 0; i < output[0].size(); ++i)
    if (output[0][i] == "status") statusColumn = i;
  Require(statusColumn < output[0].size(), "no status column");
  for (size_t r = 1; r < output.size(); ++r) {
    Require(output[r].size() == output[0].size(), "a row narrower or wider than the header");
    const std::string& s = output[r][statusColumn];
    Require(s == rivulet::kStatusComplete || s == rivulet::kStatusNoSolution ||
                s == rivulet::kStatusNotCalculated,
            "an unknown status [" + s + "]");
    allSolved = allSolved && s == rivulet::kStatusComplete;
  }
  Require(allSolved == (status == rivulet::kCasesAllSolved), "the exit status disagrees with rows");
  return 0;
}
