#include "core/window/shell_commands.h"

#include "core/shell/app_texts.h"
#include "core/shell/clipboard_commands.h"

namespace rivulet {

void AttachShellCommands(frmRivulet& form) {
  Services& s = form.Svc();
  form.mnuCut.onClick = [&form, &s] { CutCommand(s, form.activeControl); };
  form.mnuCopy.onClick = [&form, &s] { CopyCommand(s, form.activeControl); };
  form.mnuPaste.onClick = [&form, &s] { PasteCommand(s, form.activeControl); };
  form.mnuHelpContents.onClick = [&form, &s] {
    HelpContentsCommand(s, form.Startup().helpPagePath);
  };
  // A failed launch of a web link shows nothing.
  form.mnuLinksTarnHome.onClick = [&s] { s.ShellOpen(kMakerHomeUrl); };
  form.mnuLinksRV.onClick = [&s] { s.ShellOpen(kProductUrl); };
  form.mnuTarnEmail.onClick = [&s] { s.ShellOpen(kMakerMailUrl); };
}

}  // namespace rivulet
