// Entry point: the batch mode for --report and friends, otherwise the window.
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "core/files/batch.h"
#include "core/shell/startup.h"
#include "gui/shell/gui_main.h"

namespace {

void PrintUsage(std::ostream& out) {
  out << "Usage: rivulet [FILE.rvl]\n"
         "       rivulet --report FILE.rvl [FILE.rvl ...]\n"
         "       rivulet --version | --help\n"
         "\n"
         "Without options Rivulet opens its window; a calculation file named on the command\n"
         "line is opened in it.\n"
         "\n"
         "  --report FILE...  recompute each calculation file and print its results report\n"
         "                    to standard output (no window, no display needed); messages\n"
         "                    go to standard error. Exit status 0 when every file solved,\n"
         "                    1 when any did not, 2 when a file could not be read.\n"
         "  --version         print the version and exit\n"
         "  --help            print this help and exit\n";
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::cout << rivulet::kProductName << " " << rivulet::BuildVersionString() << "\n";
      return 0;
    }
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      PrintUsage(std::cout);
      return 0;
    }
  }
  if (argc > 1 && std::strcmp(argv[1], "--report") == 0) {
    std::vector<std::string> files(argv + 2, argv + argc);
    if (files.empty()) {
      std::cerr << "rivulet: --report needs at least one calculation file\n";
      return 2;
    }
    // No window and no display: the sheet runs headless, exactly as behind the window.
    return rivulet::RunReportBatch(files, rivulet::StartupValues::Compute(), std::cout, std::cerr);
  }
  if (argc > 1 && argv[1][0] == '-' && argv[1][1] == '-') {
    std::cerr << "rivulet: unknown option " << argv[1] << "\n";
    PrintUsage(std::cerr);
    return 2;
  }
  return rivulet::GuiMain(argc, argv);
}
