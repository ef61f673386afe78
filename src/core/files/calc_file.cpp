#include "core/files/calc_file.h"

#include <filesystem>

#include "core/files/defaults_file.h"
#include "core/shell/dialog_folder.h"
#include "core/shell/number_text.h"
#include "core/shell/text_file.h"

namespace rivulet {
namespace {

constexpr char kHeader[] = "Rivulet";

std::string Flag(bool on) { return on ? "True" : "False"; }
std::string Number(const ComboBox& list) { return FormatFileNumber(list.ListIndex()); }

FileDialogRequest Request(const frmRivulet& form, const std::string& title,
                          const std::string& proposedName) {
  return {title,
          {{"*.rvl ", "*.rvl"}, {"*.* ", "*.*"}},
          proposedName,
          "rvl",
          FileDialogStartFolder(form.currentFilePath)};
}

// Saying nothing on failure would let the user believe the work was kept.
bool SaveTo(frmRivulet& form, const std::string& path) {
  const SaveOutcome saved = SaveLines(path, CalcFileLines(form));
  if (saved) {
    form.SetModified(false);
    return true;
  }
  form.Svc().MessageBox("The calculation could not be saved to " + path + ": " + SaveCause(saved) +
                            ".  " + SaveAdvice(saved) +
                            "  The previous file, if any, is unchanged.",
                        kProductName, MessageIcon::Exclamation);
  return false;
}

// The fields of lines 5 to 26, in file order.
struct Field {
  enum Kind { kFlag, kText, kNumber } kind;
  OptionButton* option = nullptr;
  TextBox* text = nullptr;
  ComboBox* list = nullptr;
};

std::vector<Field> Fields(frmRivulet& f) {
  return {{Field::kFlag, &f.optVelDis1},
          {Field::kText, nullptr, &f.txtVelDis1},
          {Field::kNumber, nullptr, nullptr, &f.cboVelDis1},
          {Field::kFlag, &f.optDepth},
          {Field::kText, nullptr, &f.txtDepth},
          {Field::kNumber, nullptr, nullptr, &f.cboDepth},
          {Field::kFlag, &f.optDiam},
          {Field::kText, nullptr, &f.txtDiam},
          {Field::kNumber, nullptr, nullptr, &f.cboDiam},
          {Field::kFlag, &f.optSide},
          {Field::kText, nullptr, &f.txtSide},
          {Field::kNumber, nullptr, nullptr, &f.cboSide},
          {Field::kFlag, &f.optSlope},
          {Field::kText, nullptr, &f.txtSlope},
          {Field::kNumber, nullptr, nullptr, &f.cboSlope},
          {Field::kFlag, &f.optManning},
          {Field::kText, nullptr, &f.txtManning},
          {Field::kNumber, nullptr, nullptr, &f.cboVelDis2},
          {Field::kNumber, nullptr, nullptr, &f.cboArea},
          {Field::kNumber, nullptr, nullptr, &f.cboDDS},
          {Field::kNumber, nullptr, nullptr, &f.cboVelDis3},
          {Field::kNumber, nullptr, nullptr, &f.cboArea2}};
}

void SetFromLine(const Field& field, const std::string& line) {
  switch (field.kind) {
    case Field::kFlag: {
      const std::string flag = Trim(line);
      if (flag == "True") field.option->SetValue(true);
      if (flag == "False") field.option->SetValue(false);
      break;  // any other word does not fit: the button keeps its state
    }
    case Field::kText:
      field.text->SetText(line);
      break;
    case Field::kNumber:
      if (auto n = ReadFileNumber(line)) field.list->SetListIndex(*n);
      break;
  }
}

// The title records whether the sheet has a file.
bool HasFile(const frmRivulet& form) { return form.Title().find('[') != std::string::npos; }

// What follows the last slash, as the path's file name (none after a trailing slash).
std::string BareName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// The file named on a command line: surrounding double quotes removed, made absolute.
std::string NamedFilePath(const std::string& commandLineName) {
  std::string path = commandLineName;
  if (path.size() >= 1 && path.front() == '"') path.erase(0, 1);
  if (!path.empty() && path.back() == '"') path.pop_back();
  // An absolute name stays as it is; a batch names thousands of them.
  if (!path.empty() && path.front() == '/') return path;
  std::error_code ec;
  const auto absolute = std::filesystem::absolute(path, ec);
  if (!ec) path = absolute.string();
  return path;
}

}  // namespace

std::vector<std::string> CalcFileLines(frmRivulet& form) {
  std::vector<std::string> lines{kHeader, "Version " + form.Startup().version,
                                 Number(form.cboSection), form.optVelDis1.Caption()};
  for (const Field& field : Fields(form)) {
    switch (field.kind) {
      case Field::kFlag:
        lines.push_back(Flag(field.option->Value()));
        break;
      case Field::kText:
        lines.push_back(field.text->Text());
        break;
      case Field::kNumber:
        lines.push_back(Number(*field.list));
        break;
    }
  }
  return lines;
}

void ApplyCalcFileLines(frmRivulet& form, const std::vector<std::string>& l) {
  if (l.size() > 2) {
    if (auto n = ReadFileNumber(l[2])) form.cboSection.SetListIndex(*n);
  }
  if (l.size() > 3 && Trim(l[3]) != form.optVelDis1.Caption()) form.cmdVelDis_Click();
  const std::vector<Field> fields = Fields(form);
  // Lines a short file lacks leave their fields as they are.
  for (size_t i = 4; i < l.size() && i - 4 < fields.size(); ++i) SetFromLine(fields[i - 4], l[i]);
  // A file that selects the button already selected runs no click; the colours must still
  // say which box Calculate fills.
  form.HighlightUnknown();
}

namespace {

// Loads the lines read from the file; nullopt when it could not be read.
OpenResult LoadCalcLines(frmRivulet& form, const std::optional<std::vector<std::string>>& lines,
                         const std::string& path, const std::string& name) {
  if (!lines || lines->empty() || Trim((*lines)[0]) != kHeader) {
    form.Svc().MessageBox("Invalid File Format", kProductName, MessageIcon::None);
    return OpenResult::InvalidFormat;
  }
  ApplyCalcFileLines(form, *lines);
  form.currentFilePath = path;
  form.currentFileName = name;
  form.SetTitle(form.BaseTitle() + "  [" + name + "]");
  form.cmdCalculate_Click();
  form.SetModified(false);
  return OpenResult::Loaded;
}

}  // namespace

OpenResult OpenCalcFile(frmRivulet& form, const std::string& path, const std::string& name) {
  // The whole file is read and checked before the sheet is touched.
  return LoadCalcLines(form, ReadLines(path, kCalcFileLines), path, name);
}

OpenResult OpenNamedFile(frmRivulet& form, const std::string& commandLineName) {
  const std::string path = NamedFilePath(commandLineName);
  return OpenCalcFile(form, path, BareName(path));
}

size_t CalcFileReadLimit() { return LinesReadLimit(kCalcFileLines); }

OpenResult OpenNamedFileContent(frmRivulet& form, const std::string& commandLineName,
                                const std::optional<std::string>& bytes) {
  const std::string path = NamedFilePath(commandLineName);
  const auto lines = bytes ? SplitLines(*bytes, kCalcFileLines) : std::nullopt;
  return LoadCalcLines(form, lines, path, BareName(path));
}

std::string SheetName(const frmRivulet& form) {
  return HasFile(form) && !form.currentFileName.empty() ? form.currentFileName : "Untitled";
}

bool ConfirmDiscard(frmRivulet& form) {
  if (!form.Modified()) return true;
  switch (form.Svc().AskSaveChanges("Save changes to " + SheetName(form) + "?", kProductName)) {
    case SaveChoice::Save:
      return mnuSave_Click(form);
    case SaveChoice::Discard:
      return true;
    case SaveChoice::Cancel:
      break;
  }
  return false;
}

bool mnuNew_Click(frmRivulet& form) {
  if (!ConfirmDiscard(form)) return false;
  form.SetTitle(form.BaseTitle());
  for (TextBox* t : {&form.txtVelDis1, &form.txtDepth, &form.txtDiam, &form.txtSide, &form.txtSlope,
                     &form.txtManning, &form.txtVelDis2, &form.txtArea, &form.txtDDS,
                     &form.txtVelDis3, &form.txtArea2})
    t->SetText("");
  form.ClearResults();
  mnuOptionsRestoreDefaults_Click(form);
  form.SetModified(false);
  return true;
}

OpenResult mnuOpen_Click(frmRivulet& form) {
  if (!ConfirmDiscard(form)) return OpenResult::Cancelled;
  const auto choice = form.Svc().OpenFileDialog(Request(form, "Open", ""));
  if (!choice || choice->path.empty()) return OpenResult::Cancelled;
  return OpenCalcFile(form, choice->path, choice->name);
}

bool mnuSave_Click(frmRivulet& form) {
  if (!HasFile(form)) return mnuSaveAs_Click(form);
  return SaveTo(form, form.currentFilePath);
}

bool mnuSaveAs_Click(frmRivulet& form) {
  const auto choice = form.Svc().SaveFileDialog(Request(form, "Save As", form.currentFileName));
  if (!choice || choice->path.empty()) return false;
  // The sheet takes the new name only once the file is there: after a failed save the
  // title and the next Save still mean the previous file.
  if (!SaveTo(form, choice->path)) return false;
  form.currentFilePath = choice->path;
  form.currentFileName = choice->name.empty() ? BareName(choice->path) : choice->name;
  form.SetTitle(form.BaseTitle() + " [" + form.currentFileName + "]");
  return true;
}

void AttachCalcFileCommands(frmRivulet& form) {
  form.mnuNew.onClick = [&form] { mnuNew_Click(form); };
  form.mnuOpen.onClick = [&form] { mnuOpen_Click(form); };
  form.mnuSave.onClick = [&form] { mnuSave_Click(form); };
  form.mnuSaveAs.onClick = [&form] { mnuSaveAs_Click(form); };
}

}  // namespace rivulet
