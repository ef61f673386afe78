#include "core/files/defaults_file.h"

#include "core/shell/number_text.h"
#include "core/shell/text_file.h"

namespace rivulet {
namespace {

constexpr size_t kDefaultsLines = 14;

// The lists of lines 3 to 13, in file order.
std::vector<ComboBox*> Lists(frmRivulet& f) {
  return {&f.cboSection, &f.cboVelDis1, &f.cboDepth, &f.cboDiam,  &f.cboSide,   &f.cboSlope,
          &f.cboVelDis2, &f.cboArea,    &f.cboDDS,   &f.cboArea2, &f.cboVelDis3};
}

void RestoreDefaults(frmRivulet& form) {
  if (!form.VelocityGiven()) form.cmdVelDis_Click();
  const int positions[] = {0, 0, 2, 2, 2, 0, 0, 2, 2, 2, 0};
  const auto lists = Lists(form);
  for (size_t i = 0; i < lists.size(); ++i) lists[i]->SetListIndex(positions[i]);
  form.mnuOptionsFix.SetChecked(false);
}

}  // namespace

std::vector<std::string> DefaultsFileLines(frmRivulet& form) {
  std::vector<std::string> lines{kDefaultsHeader, FormatFileNumber(form.VelocityGiven() ? 1 : 2)};
  for (ComboBox* list : Lists(form)) lines.push_back(FormatFileNumber(list->ListIndex()));
  lines.push_back(form.mnuOptionsFix.Checked() ? "True" : "False");
  return lines;
}

void mnuOptionsRestoreDefaults_Click(frmRivulet& form) {
  BusyPointer busy(form.Svc());
  RestoreDefaults(form);
}

std::optional<std::vector<std::string>> ReadDefaultsFile(const StartupValues& startup) {
  const std::string path = FindInFolders(SettingsFolders(startup), kDefaultsFileName);
  if (path.empty()) return std::nullopt;
  return ReadLines(path, kDefaultsLines);
}

void ApplyDefaultsLines(frmRivulet& form, const std::optional<std::vector<std::string>>& lines) {
  if (!lines || lines->empty() || (*lines)[0] != kDefaultsHeader) {
    RestoreDefaults(form);
    return;
  }
  const std::vector<std::string>& l = *lines;
  if (l.size() > 1) {
    const auto mode = ReadFileNumber(l[1]);
    const bool velocity = form.VelocityGiven();
    if ((mode == 1 && !velocity) || (mode == 2 && velocity)) form.cmdVelDis_Click();
  }
  // A short file or a position outside its list leaves those lists as they are.
  const auto lists = Lists(form);
  for (size_t i = 0; i < lists.size() && i + 2 < l.size(); ++i) {
    if (auto n = ReadFileNumber(l[i + 2])) lists[i]->SetListIndex(*n);
  }
  if (l.size() > 13) {
    const std::string flag = Trim(l[13]);
    if (flag == "True") form.mnuOptionsFix.SetChecked(true);
    if (flag == "False") form.mnuOptionsFix.SetChecked(false);
  }
}

void mnuOptionsApplyDefaults_Click(frmRivulet& form) {
  BusyPointer busy(form.Svc());
  ApplyDefaultsLines(form, ReadDefaultsFile(form.Startup()));
}

bool mnuOptionsWriteDefaults_Click(frmRivulet& form) {
  BusyPointer busy(form.Svc());
  if (!WriteToFirstWritable(SettingsFolders(form.Startup()), kDefaultsFileName,
                            DefaultsFileLines(form))
           .empty())
    return true;
  form.Svc().MessageBox(
      "The default values could not be written to RIVULET.DEF in the program folder or in "
      "the configuration folder.",
      kProductName, MessageIcon::Exclamation);
  return false;
}

void AttachDefaultsCommands(frmRivulet& form) {
  form.mnuOptionsRestoreDefaults.onClick = [&form] { mnuOptionsRestoreDefaults_Click(form); };
  form.mnuOptionsApplyDefaults.onClick = [&form] { mnuOptionsApplyDefaults_Click(form); };
  form.mnuOptionsWriteDefaults.onClick = [&form] { mnuOptionsWriteDefaults_Click(form); };
  form.defaultsFileExists = [&form] {
    return !FindInFolders(SettingsFolders(form.Startup()), kDefaultsFileName).empty();
  };
}

}  // namespace rivulet
