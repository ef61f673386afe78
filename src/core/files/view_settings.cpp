#include "core/files/view_settings.h"

#include "core/files/defaults_file.h"
#include "core/shell/text_file.h"

namespace rivulet {
namespace {

constexpr size_t kMaxLines = 16;
constexpr char kFlowDetailsKey[] = "FlowDetails=";

}  // namespace

std::vector<std::string> ViewSettingsLines(const frmRivulet& form) {
  return {kViewSettingsHeader,
          std::string(kFlowDetailsKey) + (form.mnuFlowDetails.Checked() ? "True" : "False")};
}

void ApplyViewSettings(frmRivulet& form) {
  const std::string path = FindInFolders(SettingsFolders(form.Startup()), kViewSettingsFileName);
  const auto lines = path.empty() ? std::nullopt : ReadLines(path, kMaxLines);
  if (!lines || lines->empty() || (*lines)[0] != kViewSettingsHeader) return;
  // Lines it does not know are left for later versions.
  for (const std::string& line : *lines) {
    const std::string l = Trim(line);
    if (l.rfind(kFlowDetailsKey, 0) != 0) continue;
    const std::string value = Trim(l.substr(sizeof kFlowDetailsKey - 1));
    if (value == "True") form.mnuFlowDetails.SetChecked(true);
    if (value == "False") form.mnuFlowDetails.SetChecked(false);
  }
}

void AttachViewSettings(frmRivulet& form) {
  ApplyViewSettings(form);
  form.mnuFlowDetails.onClick = [&form, reported = false]() mutable {
    form.mnuFlowDetails_Click();
    if (!WriteToFirstWritable(SettingsFolders(form.Startup()), kViewSettingsFileName,
                              ViewSettingsLines(form))
             .empty() ||
        reported)
      return;
    // Once is enough: the choice still works for this session.
    reported = true;
    form.Svc().MessageBox(
        "The View menu's choices could not be saved in RIVULET.VEW in the configuration "
        "folder or the program folder, so Rivulet will not remember them next time.",
        kProductName, MessageIcon::Exclamation);
  };
}

}  // namespace rivulet
