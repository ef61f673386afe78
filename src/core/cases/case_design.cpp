#include "core/cases/case_design.h"

#include "core/design/sheet_design.h"
#include "core/shell/number_text.h"

namespace rivulet {
namespace {

// The table has shown each row's messages already; its printout only needs the results.
class QuietServices : public HeadlessServices {
 public:
  void MessageBox(const std::string&, const std::string&, MessageIcon) override {}
};

}  // namespace

std::vector<CaseDesignCells> CaseDesigns(const CaseDocument& document,
                                         const std::vector<size_t>& rows, const CaseStart& start,
                                         const DesignSettings& settings) {
  std::vector<CaseDesignCells> out;
  out.reserve(rows.size());
  for (size_t row : rows) {
    CaseDesignCells cells;
    std::string error;
    const auto input = document.InputOf(row, start.VelocityMode(), error);
    if (!input) {
      out.push_back(cells);
      continue;
    }
    QuietServices services;
    frmRivulet form(services, start.Startup());
    start.Load(form);
    ApplyCase(form, *input);
    form.cmdCalculate_Click();
    const std::optional<SheetDesign> design = DesignOfSheet(form, settings);
    if (!design) {
      out.push_back(cells);
      continue;
    }
    std::string failed, warned;
    for (const DesignCheck& c : design->result.checks) {
      const std::string mark = CheckMark(c);
      std::string& list = mark == "Fail" ? failed : warned;
      if (mark == "Fail" || mark == "Warn") list += (list.empty() ? "" : ", ") + c.name;
    }
    cells.checks = !failed.empty()   ? "Fail: " + failed
                   : !warned.empty() ? "Warn: " + warned
                                     : "Meets the limits";
    const DesignResult& r = design->result;
    if (r.list && r.standard) {
      const std::vector<SizeFigure> figures = StandardSizeFigures(*design);
      if (!figures.empty())
        cells.standardSize =
            SignificantFigures(figures[0].value, 6) + " " + figures[0].unit + ", " + r.list->name;
    } else if (r.list) {
      cells.standardSize = r.sizeNote;
    }
    out.push_back(std::move(cells));
  }
  return out;
}

}  // namespace rivulet
