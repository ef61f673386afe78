// Reading a worksheet file: any bytes, read as File > Open and the batch mode read them,
// every input asked for in every dimension, solved, reported, written and read again.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "core/shell/utf8_text.h"
#include "core/worksheets/worksheet_json.h"
#include "core/worksheets/worksheet_report.h"
#include "worksheets/test_kind.h"

namespace {

void Require(bool holds, const std::string& what) {
  if (holds) return;
  std::fprintf(stderr, "invariant broken: %s\n", what.c_str());
  std::abort();
}

constexpr rivulet::Dimension kDimensions[] = {
    rivulet::Dimension::None,     rivulet::Dimension::Length,    rivulet::Dimension::Area,
    rivulet::Dimension::Velocity, rivulet::Dimension::Discharge, rivulet::Dimension::Slope,
    rivulet::Dimension::Shear};

// Every typed read either gives a finite value within its bounds or a refusal naming it.
void ReadEveryInput(const rivulet::Document& d) {
  for (auto it = d.inputs.begin(); it != d.inputs.end(); ++it) {
    for (rivulet::Dimension dim : kDimensions) {
      try {
        const double v = d.Input(it.key(), dim, rivulet::Allowed::Positive);
        Require(std::isfinite(v) && v > 0, "a positive input read as " + std::to_string(v));
      } catch (const rivulet::WorksheetError& e) {
        Require(e.Field() == it.key(), "a refusal named " + e.Field() + " for " + it.key());
      }
      if (!it.value().is_object()) continue;
      for (auto m = it.value().begin(); m != it.value().end(); ++m) {
        try {
          for (double v : d.InputList(it.key(), m.key(), dim, rivulet::Allowed::NonNegative))
            Require(std::isfinite(v) && v >= 0, "a list item read as " + std::to_string(v));
        } catch (const rivulet::WorksheetError& e) {
          Require(e.Field() == it.key(), "a list refusal named " + e.Field());
        }
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const rivulet::WorksheetRead read = rivulet::ParseWorksheet(bytes);
  Require(read.document.has_value() == read.message.empty(), "a read both failed and gave");
  if (!read.document) return 0;
  const rivulet::Document& d = *read.document;
  ReadEveryInput(d);

  // The test kind always; a built-in kind too when the file names one, so its reader and
  // calculation see the same bytes.
  const rivulet::WorksheetKind* builtIn = rivulet::FindKind(rivulet::BuiltInKinds(), d.kind);
  for (const rivulet::WorksheetKind* kind : {&rivulet::testing::StripKind(), builtIn}) {
    if (!kind) continue;
    const rivulet::SheetOutcome outcome = rivulet::SolveWorksheet(*kind, d);
    Require(outcome.ok == (outcome.message == rivulet::kCalculationsComplete), "status mismatch");
    Require(outcome.ok || outcome.results.empty(), "a failed solve gave results");
    Require(!outcome.ok || d.ResultUnitProblem(outcome.results).empty(),
            "a result solved for a unit of another dimension");
    for (const std::string& line : rivulet::WorksheetReportLines(*kind, d, outcome, ""))
      Require(rivulet::CharacterCount(line) <= 70, "report line too wide: " + line);
    const auto json =
        nlohmann::json::parse(rivulet::WorksheetJsonLine("f.rvw", d, outcome), nullptr, false);
    Require(!json.is_discarded(), "the --json line does not parse");
  }

  // Written and read again, the document is the same.
  const std::string text = rivulet::WorksheetText(d);
  const rivulet::WorksheetRead again = rivulet::ParseWorksheet(text);
  Require(again.document.has_value(), "a written worksheet did not read: " + again.message);
  Require(rivulet::WorksheetText(*again.document) == text, "a written worksheet changed");
  return 0;
}
