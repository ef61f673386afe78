#include "core/files/view_settings.h"

#include <optional>

#include "core/files/defaults_file.h"
#include "core/shell/text_file.h"

namespace rivulet {
namespace {

constexpr size_t kMaxLines = 16;
constexpr char kFlowDetailsKey[] = "FlowDetails=";
constexpr char kDigitsKey[] = "DisplayDigits=";

std::optional<std::vector<std::string>> ReadViewSettings(const StartupValues& startup) {
  const std::string path = FindInFolders(SettingsFolders(startup), kViewSettingsFileName);
  auto lines = path.empty() ? std::nullopt : ReadLines(path, kMaxLines);
  if (!lines || lines->empty() || (*lines)[0] != kViewSettingsHeader) return std::nullopt;
  return lines;
}

}  // namespace

std::vector<std::string> ViewSettingsLines(const frmRivulet& form, int displayDigits) {
  std::vector<std::string> lines{
      kViewSettingsHeader,
      std::string(kFlowDetailsKey) + (form.mnuFlowDetails.Checked() ? "True" : "False")};
  if (displayDigits != 0) lines.push_back(kDigitsKey + std::to_string(displayDigits));
  return lines;
}

int ReadDisplayDigits(const StartupValues& startup) {
  const auto lines = ReadViewSettings(startup);
  if (!lines) return 0;
  for (const std::string& line : *lines) {
    const std::string l = Trim(line);
    if (l.rfind(kDigitsKey, 0) != 0) continue;
    const std::string value = Trim(l.substr(sizeof kDigitsKey - 1));
    if (value.empty() || value.size() > 2 ||
        value.find_first_not_of("0123456789") != std::string::npos)
      return 0;
    const int digits = std::stoi(value);
    return digits >= kMinDisplayDigits && digits <= kMaxDisplayDigits ? digits : 0;
  }
  return 0;
}

bool WriteViewSettings(const frmRivulet& form, int displayDigits) {
  return !WriteToFirstWritable(SettingsFolders(form.Startup()), kViewSettingsFileName,
                               ViewSettingsLines(form, displayDigits))
              .empty();
}

void ApplyViewSettings(frmRivulet& form) {
  const auto lines = ReadViewSettings(form.Startup());
  if (!lines) return;
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
    // The digits chosen in Options stay as the file has them.
    if (WriteViewSettings(form, ReadDisplayDigits(form.Startup())) || reported) return;
    // Once is enough: the choice still works for this session.
    reported = true;
    form.Svc().MessageBox(
        "The View menu's choices could not be saved in RIVULET.VEW in the configuration "
        "folder or the program folder, so Rivulet will not remember them next time.",
        kProductName, MessageIcon::Exclamation);
  };
}

}  // namespace rivulet
