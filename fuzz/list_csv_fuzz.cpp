// A list input from CSV: whatever the bytes, a refusal with a message and no rows, or rows
// that are objects whose members are strings or finite numbers with at most a unit.
#include <cmath>
#include <cstdint>
#include <string_view>

#include "core/worksheets/list_csv.h"
#include "fuzz_support.h"

using rivulet::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const rivulet::ListCsv read = rivulet::ListRowsFromCsv(text, {"id", "from", "to"});
  Require(read.rows.is_array(), "rows that are not a list");
  if (!read.error.empty()) {
    Require(read.rows.empty(), "rows beside a refusal");
    return 0;
  }
  Require(read.rows.size() <= rivulet::kMaxListCsvRows, "more rows than the limit");
  for (const nlohmann::json& row : read.rows) {
    Require(row.is_object() && !row.empty(), "a row that is no object or is empty");
    for (auto it = row.begin(); it != row.end(); ++it) {
      if (it.value().is_string()) continue;
      Require(it.value().is_object() && it.value().contains("value"), "a cell of no form");
      const double v = it.value()["value"].get<double>();
      Require(std::isfinite(v), "a number that is not finite");
    }
    // Whatever was read writes out as JSON again.
    (void)row.dump();
  }
  return 0;
}
