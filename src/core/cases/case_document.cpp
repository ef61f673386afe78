#include "core/cases/case_document.h"

#include <algorithm>
#include <fstream>
#include <sstream>

#include "core/cases/csv_reader.h"
#include "core/files/csv_cell.h"
#include "core/shell/text_file.h"

namespace rivulet {
namespace {

// Beyond this the batch command is the tool: it streams, the window holds every row.
constexpr size_t kMaxWindowRows = 200000;

std::string Lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

}  // namespace

std::vector<std::string> StandardCaseHeader() {
  std::vector<std::string> names;
  for (size_t f = 0; f < kCaseFieldCount; ++f)
    names.emplace_back(CaseFieldName(static_cast<CaseField>(f)));
  return names;
}

CaseDocument::CaseDocument() { SetHeader(StandardCaseHeader()); }

void CaseDocument::SetHeader(const std::vector<std::string>& fileHeader) {
  std::string error;
  // The file's columns, then the standard and result ones it lacks, all read back as
  // input columns so that every one of them can be edited and saved.
  header_ = CaseColumns::FromHeader(fileHeader, false, error).OutputHeader();
  columns_ = CaseColumns::FromHeader(header_, false, error);
  const CaseColumns bare = CaseColumns::FromHeader(StandardCaseHeader(), false, error);
  result_.assign(header_.size(), false);
  for (size_t i = bare.InputWidth(); i < bare.OutputHeader().size(); ++i) {
    const std::string& name = bare.OutputHeader()[i];
    const bool chosenUnit = name == "otherFlowUnit" || name == "areaUnit" ||
                            name == "altValueUnit" || name == "altFlowUnit" ||
                            name == "altAreaUnit";
    if (auto c = columns_.Find(name); c && !chosenUnit) result_[*c] = true;
  }
}

bool CaseDocument::IsResultColumn(size_t column) const {
  return column < result_.size() && result_[column];
}

std::vector<std::string> CaseDocument::Fit(std::vector<std::string> cells) const {
  cells.resize(header_.size());
  return cells;
}

void CaseDocument::SetCell(size_t row, size_t column, std::string text) {
  CaseDocumentRow& r = rows_[row];
  if (r.cells[column] == text) return;
  r.cells[column] = std::move(text);
  r.mark = CaseRowMark::Pending;
  modified_ = true;
}

void CaseDocument::InsertRows(size_t position, std::vector<std::vector<std::string>> rows) {
  std::vector<CaseDocumentRow> added;
  added.reserve(rows.size());
  for (auto& cells : rows) added.push_back({Fit(std::move(cells)), CaseRowMark::Pending});
  rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(std::min(position, rows_.size())),
               std::make_move_iterator(added.begin()), std::make_move_iterator(added.end()));
  modified_ = modified_ || !added.empty();
}

void CaseDocument::DuplicateRow(size_t row) {
  CaseDocumentRow copy = rows_[row];
  rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(row) + 1, std::move(copy));
  modified_ = true;
}

void CaseDocument::RemoveRows(std::vector<size_t> rows) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  for (auto it = rows.rbegin(); it != rows.rend(); ++it)
    if (*it < rows_.size()) rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(*it));
  modified_ = modified_ || !rows.empty();
}

void CaseDocument::Compute(size_t row, const CaseStart& start) {
  CaseDocumentRow& r = rows_[row];
  switch (columns_.Compute(start, r.cells)) {
    case CaseRowState::Solved:
      r.mark = CaseRowMark::Solved;
      break;
    case CaseRowState::Surcharged:
      r.mark = CaseRowMark::Surcharged;
      break;
    case CaseRowState::Unsolved: {
      const auto status = columns_.Find("status");
      r.mark = status && r.cells[*status] == kStatusNoSolution ? CaseRowMark::Unsolved
                                                               : CaseRowMark::Rejected;
      break;
    }
    case CaseRowState::Rejected:
      r.mark = CaseRowMark::Rejected;
      break;
  }
}

size_t CaseDocument::CountMarked(CaseRowMark mark) const {
  return static_cast<size_t>(
      std::count_if(rows_.begin(), rows_.end(), [mark](const auto& r) { return r.mark == mark; }));
}

bool CaseDocument::Open(const std::string& path, std::string& error) {
  // Opening a named pipe would wait for a writer that may never come.
  if (const std::string why = NotAFileToRead(path); !why.empty()) {
    error = path + " cannot be opened: " + why + ".";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + " cannot be opened.";
    return false;
  }
  // The header line tells a spreadsheet's semicolons from commas; its first bytes suffice.
  std::string head(4096, '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<size_t>(in.gcount()));
  const char delimiter = CsvDelimiterOf(head);
  in.clear();
  in.seekg(0);
  std::optional<std::vector<std::string>> fileHeader;
  std::vector<std::vector<std::string>> rows;
  std::string readError;
  bool tooMany = false;
  const bool read = ReadCsvStream(
      in,
      [&](std::vector<std::string>& cells) {
        if (!fileHeader)
          fileHeader = std::move(cells);
        else if (rows.size() < kMaxWindowRows)
          rows.push_back(std::move(cells));
        else
          tooMany = true;
      },
      readError, delimiter);
  if (!read) {
    error = path + " could not be read: " + readError + ".";
    return false;
  }
  if (!fileHeader) {
    error = path + " has no header row.";
    return false;
  }
  if (tooMany) {
    error = path + " has more than " + std::to_string(kMaxWindowRows) +
            " rows; the command rivulet --cases computes tables of any length.";
    return false;
  }
  std::string headerError;
  CaseColumns::FromHeader(*fileHeader, false, headerError);
  if (!headerError.empty()) {
    error = path + ": " + headerError + ".";
    return false;
  }
  const std::vector<std::string> fileColumns = *fileHeader;
  SetHeader(fileColumns);
  rows_.clear();
  InsertRows(0, std::move(rows));
  // Rows saved with their results keep them until they are edited or recalculated.
  if (const auto status = columns_.Find("status")) {
    for (CaseDocumentRow& r : rows_) {
      const std::string& s = r.cells[*status];
      r.mark = s == kStatusComplete        ? CaseRowMark::Solved
               : s == kStatusNoSolution    ? CaseRowMark::Unsolved
               : s == kStatusNotCalculated ? CaseRowMark::Rejected
               : s == kStatusSurcharged    ? CaseRowMark::Surcharged
                                           : CaseRowMark::Pending;
    }
  }
  readAs_ = delimiter == ';' ? "semicolon-separated, a comma in a number its decimal point"
                             : "comma-separated";
  modified_ = false;
  return true;
}

bool CaseDocument::Save(const std::string& path) const {
  return ReplaceFileSafely(path, [this](const std::string& tempPath) {
    std::ofstream out(tempPath, std::ios::binary | std::ios::trunc);
    // The mark lets spreadsheets read the units' ² and ³.
    out << "\xEF\xBB\xBF" << CsvRecordText(header_);
    for (const CaseDocumentRow& r : rows_) out << CsvRecordText(r.cells);
    out.flush();
    return static_cast<bool>(out);
  });
}

std::string CaseDocument::RowsAsText(const std::vector<size_t>& rows) const {
  auto line = [](const std::vector<std::string>& cells) {
    std::string s;
    for (size_t i = 0; i < cells.size(); ++i) {
      if (i) s += '\t';
      // A tab or line break inside a cell would split it; spreadsheets take a blank.
      std::string cell = cells[i];
      for (char& c : cell)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
      s += SpreadsheetSafeCell(cell);
    }
    return s + "\n";
  };
  std::string text = line(header_);
  for (size_t r : rows)
    if (r < rows_.size()) text += line(rows_[r].cells);
  return text;
}

std::vector<std::vector<std::string>> CaseDocument::RowsFromText(const std::string& text) const {
  std::vector<std::vector<std::string>> records;
  if (text.find('\t') != std::string::npos) {
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) {
      if (!l.empty() && l.back() == '\r') l.pop_back();
      if (l.empty()) continue;
      std::vector<std::string> cells;
      std::istringstream cellsIn(l);
      for (std::string c; std::getline(cellsIn, c, '\t');)
        cells.emplace_back(SpreadsheetCellText(c));
      if (l.back() == '\t') cells.emplace_back();
      records.push_back(std::move(cells));
    }
  } else {
    std::istringstream in(text);
    std::string error;
    ReadCsvStream(
        in, [&](std::vector<std::string>& r) { records.push_back(r); }, error);
  }
  if (records.empty()) return {};
  // A first line naming the section and the unknown is a header: cells go by name.
  const auto& first = records.front();
  auto names = [&](const char* n) {
    return std::any_of(first.begin(), first.end(),
                       [n](const std::string& c) { return Lower(c) == Lower(n); });
  };
  if (!(names("section") && names("solveFor"))) {
    for (auto& r : records) r = Fit(std::move(r));
    return records;
  }
  std::vector<std::optional<size_t>> target;
  for (const std::string& name : first) {
    std::optional<size_t> column;
    for (size_t i = 0; i < header_.size() && !column; ++i)
      if (Lower(header_[i]) == Lower(name)) column = i;
    target.push_back(column);
  }
  std::vector<std::vector<std::string>> rows;
  for (size_t i = 1; i < records.size(); ++i) {
    std::vector<std::string> cells(header_.size());
    for (size_t c = 0; c < records[i].size() && c < target.size(); ++c)
      if (target[c]) cells[*target[c]] = records[i][c];
    rows.push_back(std::move(cells));
  }
  return rows;
}

std::optional<CaseInput> CaseDocument::InputOf(size_t row, bool startVelocityMode,
                                               std::string& error) const {
  ParsedCase parsed = ParseCase(columns_.CellsOf(rows_[row].cells), startVelocityMode);
  error = parsed.error;
  return parsed.caseInput;
}

std::vector<std::string> CaseDocument::RowFromSheet(const frmRivulet& f) const {
  std::vector<std::string> cells(header_.size());
  auto put = [&](CaseField field, const std::string& text) {
    if (const auto c = columns_.Find(CaseFieldName(field))) cells[*c] = text;
  };
  const int section = f.cboSection.ListIndex();
  if (section >= 0 && section < static_cast<int>(CaseSectionWords().size()))
    put(CaseField::Section, CaseSectionWords()[section]);
  const bool pipe = IsPipeSection(section);
  const bool locked = pipe && f.chkLocDiam.Value() == 1;
  const bool velocityFirst = f.VelocityGiven();
  std::string unknown;
  if (f.optVelDis1.Value()) unknown = velocityFirst ? "velocity" : "discharge";
  if (f.optDepth.Value()) unknown = "depth";
  if (f.optDiam.Value()) unknown = pipe ? "diameter" : "width";
  if (f.optSide.Value()) unknown = "sideSlope";
  if (f.optSlope.Value()) unknown = "slope";
  if (f.optManning.Value()) unknown = "manningsN";
  put(CaseField::SolveFor, unknown);
  put(CaseField::Name, f.currentFileName);
  if (locked) put(CaseField::RunningFull, "true");
  put(CaseField::Flow, f.txtVelDis1.Text());
  put(CaseField::FlowUnit, f.cboVelDis1.Text());
  if (!locked) put(CaseField::Depth, f.txtDepth.Text());
  put(CaseField::DepthUnit, f.cboDepth.Text());
  const SectionKind kind = SectionKindAt(section);
  if (kind != SectionKind::Triangle) {  // a pipe's diameter goes in the width column
    put(CaseField::Width, f.txtDiam.Text());
    put(CaseField::WidthUnit, f.cboDiam.Text());
  }
  if (HasSideSlope(kind)) {
    put(CaseField::SideSlope, f.txtSide.Text());
    put(CaseField::SideSlopeUnit, f.cboSide.Text());
  }
  put(CaseField::Slope, f.txtSlope.Text());
  put(CaseField::SlopeUnit, f.cboSlope.Text());
  put(CaseField::ManningsN, f.txtManning.Text());
  put(CaseField::OtherFlowUnit, f.cboVelDis2.Text());
  put(CaseField::AreaUnit, f.cboArea.Text());
  if (pipe || AltIsSideSlope(section)) put(CaseField::AltValueUnit, f.cboDDS.Text());
  put(CaseField::AltFlowUnit, f.cboVelDis3.Text());
  put(CaseField::AltAreaUnit, f.cboArea2.Text());
  return cells;
}

}  // namespace rivulet
