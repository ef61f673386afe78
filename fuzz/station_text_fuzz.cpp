// Station-elevation text from files and the clipboard: whatever the bytes, the reader
// either refuses with a message or gives as many finite stations as elevations, within the
// section's limit, and a section built from them is solved or refused without a fault.
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/sections/section_csv.h"
#include "core/sections/section_solve.h"
#include "fuzz_support.h"

using rivulet::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const rivulet::StationText t = rivulet::ReadStationText(text);
  // An editor's byte-order mark in front changes nothing.
  if (!text.starts_with("\xEF\xBB\xBF") && text.size() + 3 <= rivulet::kMaxStationTextBytes) {
    const rivulet::StationText marked =
        rivulet::ReadStationText("\xEF\xBB\xBF" + std::string(text));
    Require(marked.ok == t.ok && marked.station == t.station && marked.elevation == t.elevation &&
                marked.message == t.message,
            "a byte-order mark changed what was read");
  }
  if (!t.ok) {
    Require(!t.message.empty(), "a refusal without a message");
    return 0;
  }
  Require(t.station.size() == t.elevation.size(), "stations and elevations differ in number");
  Require(!t.station.empty() && t.station.size() <= rivulet::kMaxSectionPoints,
          "point count outside 1..5000");
  for (size_t i = 0; i < t.station.size(); ++i)
    Require(std::isfinite(t.station[i]) && std::isfinite(t.elevation[i]), "a non-finite value");
  rivulet::SectionInputs in;
  in.section.station = t.station;
  in.section.elevation = t.elevation;
  in.section.n = {0.035};
  in.slope = 0.001;
  in.discharge = 1;
  const rivulet::SectionResults r = rivulet::SolveSection(in);
  Require(r.ok || !r.message.empty(), "a failed solve without a message");
  if (r.ok) Require(std::isfinite(r.depth) && r.depth > 0, "a solved depth not above 0");
  return 0;
}
