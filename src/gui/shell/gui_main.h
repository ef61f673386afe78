// Starts the windowed program.
#pragma once

namespace rivulet {

/// Runs the Qt application: the main window, a file named on the command line opened in it.
int GuiMain(int argc, char** argv);

}  // namespace rivulet
