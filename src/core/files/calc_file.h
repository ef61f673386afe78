// Calculation files (.rvl): the inputs of one sheet, 26 lines. New, Open, Save, Save As.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/window/frm_rivulet.h"

namespace rivulet {

inline constexpr size_t kCalcFileLines = 26;

/// The 26 lines of the file for the sheet as it stands.
std::vector<std::string> CalcFileLines(frmRivulet& form);

/// Puts the file's lines on the sheet (section first, then the lines in order) as Open
/// does, without naming the sheet or calculating.
void ApplyCalcFileLines(frmRivulet& form, const std::vector<std::string>& lines);

/// Outcome of loading a file into the sheet.
enum class OpenResult { Loaded, Cancelled, InvalidFormat };

/// Loads a file into the sheet (header check, section first, then the lines in order),
/// names the sheet after it and runs Calculate. An invalid file changes nothing and shows
/// "Invalid File Format".
OpenResult OpenCalcFile(frmRivulet& form, const std::string& path, const std::string& name);

/// Loads a file named on the command line (surrounding double quotes removed).
OpenResult OpenNamedFile(frmRivulet& form, const std::string& commandLineName);

/// The bytes OpenCalcFile looks at, at most: reading this much of a file is enough.
size_t CalcFileReadLimit();

/// OpenNamedFile with the file's leading bytes (at least CalcFileReadLimit() of them, or
/// the whole file) already read, or nullopt when they could not be: the batch reads each
/// file once. The file must be named without surrounding double quotes.
OpenResult OpenNamedFileContent(frmRivulet& form, const std::string& commandLineName,
                                const std::optional<std::string>& bytes);

/// "Save changes to NAME?" when the sheet was modified: Save (Save As for an unnamed sheet)
/// or Discard let the command go on, Cancel or a failed save stop it. True: go on.
bool ConfirmDiscard(frmRivulet& form);

/// The name the sheet goes by: its file's bare name, or "Untitled".
std::string SheetName(const frmRivulet& form);

/// New and Open ask about unsaved changes first; false when the user kept them.
bool mnuNew_Click(frmRivulet& form);
OpenResult mnuOpen_Click(frmRivulet& form);
/// Saves to the current file, or asks for one; false when nothing was saved.
bool mnuSave_Click(frmRivulet& form);
bool mnuSaveAs_Click(frmRivulet& form);

/// Connects the File menu's New, Open, Save and Save As to the sheet.
void AttachCalcFileCommands(frmRivulet& form);

}  // namespace rivulet
