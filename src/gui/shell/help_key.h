// F1 in any window opens the help page at that window's own section.
#pragma once

#include <QString>
#include <string>

#include "core/shell/services.h"

class QAction;
class QWidget;

namespace rivulet {

/// An action with F1 on window that opens the help page at anchor ("" for its top); add
/// it to a Help menu too where the window has one.
QAction* AddHelpKey(QWidget& window, Services& services, const std::string& anchor,
                    const QString& text = "&Help");

}  // namespace rivulet
