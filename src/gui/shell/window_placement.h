// Placing windows when they load: in the middle of their screen.
#pragma once

class QWidget;

namespace rivulet {

/// Moves a window so that it stands in the middle of its screen:
/// left = (screen width - window width) / 2, top likewise.
void CentreOnScreen(QWidget& window);

}  // namespace rivulet
