#include "core/shell/clipboard_commands.h"

#include "core/shell/startup.h"

namespace rivulet {
namespace {

// Read-only result fields may be copied from but not changed: their text is the solver's.
TextBox* Editable(Control* active) {
  auto* box = dynamic_cast<TextBox*>(active);
  return box && !box->ReadOnly() && box->Enabled() ? box : nullptr;
}

}  // namespace

void CopyCommand(Services& services, Control* active) {
  auto* box = dynamic_cast<TextBox*>(active);
  // An empty selection keeps what the clipboard holds, as users expect of Copy.
  if (box && box->SelLength() > 0) services.SetClipboardText(box->SelectedText());
}

void CutCommand(Services& services, Control* active) {
  CopyCommand(services, active);
  if (TextBox* box = Editable(active); box && box->SelLength() > 0) box->ReplaceSelection("");
}

void PasteCommand(Services& services, Control* active) {
  TextBox* box = Editable(active);
  if (!box) return;
  std::string text = services.ClipboardText().value_or("");
  // A single-line box takes the first line of a multi-line clipboard.
  if (const auto eol = text.find_first_of("\r\n"); eol != std::string::npos) text.resize(eol);
  // Silence would let the user believe the whole value went in.
  if (box->ReplaceSelection(text))
    services.MessageBox("The pasted text was cut to " + std::to_string(box->MaxLength()) +
                            " characters, the most this box holds.",
                        kProductName, MessageIcon::Exclamation);
}

void HelpContentsCommand(Services& services, const std::string& helpPagePath) {
  if (services.ShellOpen(helpPagePath) || services.ShowHelpPage(helpPagePath)) return;
  // Without a browser or viewer the user can still open the page by hand, given where it is.
  std::string file = helpPagePath;
  if (file.rfind("file://", 0) == 0) file.erase(0, 7);
  if (const auto hash = file.find('#'); hash != std::string::npos) file.resize(hash);
  services.MessageBox(
      "Unable to open on-line help.  Ensure that a Web-Browser is properly installed.\n\n"
      "The help page is the file " +
          file + "; open it in any web browser.",
      "Oops", MessageIcon::Stop);
}

}  // namespace rivulet
