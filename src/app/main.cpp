// Entry point: the batch mode for --report and friends, otherwise the window.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "core/batch/batch.h"
#include "core/batch/worksheet_batch.h"
#include "core/cases/case_batch.h"
#include "core/shell/fd_output.h"
#include "core/shell/number_text.h"
#include "core/shell/startup.h"
#include "gui/printing/pdf_report.h"
#include "gui/shell/gui_main.h"

namespace {

void PrintUsage(std::ostream& out) {
  out << "Usage: rivulet [FILE.rvl | FILE.rvw]\n"
         "       rivulet --report FILE... [--pdf OUT.pdf] [--details | --json]\n"
         "       rivulet --rating FILE.rvl|FILE.rvw [--rows N] [--top DEPTH]\n"
         "       rivulet --cases IN.csv [--details] [-o OUT.csv]\n"
         "       rivulet --version | --help\n"
         "\n"
         "Without options Rivulet opens its window; a calculation file named on the command\n"
         "line is opened in it, a worksheet file (.rvw) in its worksheet's window.\n"
         "\n"
         "  --report FILE...  recompute each calculation file (.rvl) or worksheet file\n"
         "                    (.rvw; told apart by content) and print its results report\n"
         "                    to standard output (no window, no display needed); messages\n"
         "                    go to standard error. Exit status 0 when every file solved,\n"
         "                    1 when any did not, 2 when a file could not be read.\n"
         "  --pdf OUT.pdf     with --report: print the reports into one PDF file instead,\n"
         "                    one report after another on new pages, in the print\n"
         "                    window's start font at 12 points; with --details each\n"
         "                    calculation's flow details and design checks follow it\n"
         "  --details         with --report: follow each calculation file's report with\n"
         "                    its flow details (regime, critical flow, shear, a pipe's\n"
         "                    capacities); with --cases: add them as columns, each\n"
         "                    with its unit\n"
         "  --json            with --report: instead of the reports, one JSON object per\n"
         "                    file and line: every input, result, alternate and flow\n"
         "                    detail, each with its unit; a worksheet's inputs, results\n"
         "                    in its result units, status and warnings\n"
         "  --rating FILE     recompute the calculation file and write the rating table of\n"
         "                    its channel as CSV to standard output: depth, flow area,\n"
         "                    velocity, discharge, Froude number (and a pipe's percent\n"
         "                    full) in the file's units; of an irregular-section worksheet\n"
         "                    (.rvw), the rating its window shows. Exit status 0 when written, 1\n"
         "                    when the file gives no rating, 2 when it could not be read\n"
         "  --rows N          with --rating: N rows (default 51, from 2 to 1000000)\n"
         "  --top DEPTH       with --rating: the last row's depth in the file's depth\n"
         "                    unit (default: a pipe's diameter, else twice the depth)\n"
         "  --cases IN.csv    compute every row of a case table (one calculation per row:\n"
         "                    section, solveFor, flow, depth, width, sideSlope, slope,\n"
         "                    manningsN and their units) and write the rows with their\n"
         "                    results as CSV to standard output. Exit status 0 when every\n"
         "                    row solved, 1 when any did not (its status and message say\n"
         "                    why), 2 when the table cannot be read or lacks a column\n"
         "  -o OUT.csv        with --cases: write the table to OUT.csv instead\n"
         "  --version         print the version and exit\n"
         "  --help            print this help and exit\n";
}

// rivulet --rating FILE.rvl [--rows N] [--top DEPTH]
int RatingMain(int argc, char** argv) {
  std::optional<std::string> file;
  rivulet::RatingBatchOptions options;
  for (int i = 2; i < argc; ++i) {
    const bool rows = std::strcmp(argv[i], "--rows") == 0;
    if (rows || std::strcmp(argv[i], "--top") == 0) {
      if (i + 1 >= argc || !rivulet::IsNumericText(argv[i + 1])) {
        std::cerr << "rivulet: " << argv[i] << " needs a number\n";
        return 2;
      }
      const double value = rivulet::ReadNumber(argv[++i]);
      if (!rows) {
        options.top = value;
      } else if (value != std::floor(value)) {
        std::cerr << "rivulet: --rows needs a whole number\n";
        return 2;
      } else {
        // Out of range stays out of range, for the table's own message.
        options.rows = static_cast<int>(std::clamp(value, -1.0, rivulet::kMaxRatingRows + 1.0));
      }
      continue;
    }
    if (file) {
      std::cerr << "rivulet: --rating takes one calculation file\n";
      return 2;
    }
    file = argv[i];
  }
  if (!file) {
    std::cerr << "rivulet: --rating needs a calculation file\n";
    return 2;
  }
  const int status = rivulet::RunRatingBatch(*file, options, rivulet::StartupValues::Compute(),
                                             std::cout, std::cerr);
  return rivulet::FinishBatchOutput(std::cout, "standard output", std::cerr, status);
}

}  // namespace

int main(int argc, char** argv) {
  // Standard output through a buffer that keeps the cause of a failed write, for the
  // message that names it; put back before the buffer goes, so nothing writes to it after.
  rivulet::FdOutputBuffer standardOutput(STDOUT_FILENO);
  struct Restore {
    std::streambuf* previous;
    ~Restore() {
      std::cout.flush();
      std::cout.rdbuf(previous);
    }
  } restore{std::cout.rdbuf(&standardOutput)};
  // On a terminal each line shows as it is written, between the messages, as before.
  if (isatty(STDOUT_FILENO)) std::cout.setf(std::ios::unitbuf);
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--version") == 0) {
      std::cout << rivulet::kProductName << " " << rivulet::BuildVersionString() << "\n";
      return rivulet::FinishBatchOutput(std::cout, "standard output", std::cerr, 0);
    }
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      PrintUsage(std::cout);
      return rivulet::FinishBatchOutput(std::cout, "standard output", std::cerr, 0);
    }
  }
  if (argc > 1 && std::strcmp(argv[1], "--report") == 0) {
    std::vector<std::string> files;
    std::optional<std::string> pdf;
    auto output = rivulet::BatchOutput::Reports;
    for (int i = 2; i < argc; ++i) {
      if (std::strcmp(argv[i], "--details") == 0 || std::strcmp(argv[i], "--json") == 0) {
        if (output != rivulet::BatchOutput::Json)
          output = argv[i][2] == 'j' ? rivulet::BatchOutput::Json
                                     : rivulet::BatchOutput::ReportsWithDetails;
        continue;
      }
      if (std::strcmp(argv[i], "--pdf") != 0) {
        files.emplace_back(argv[i]);
        continue;
      }
      if (pdf || i + 1 >= argc) {
        std::cerr << "rivulet: --pdf needs one output file\n";
        return 2;
      }
      pdf = argv[++i];
    }
    if (files.empty()) {
      std::cerr << "rivulet: --report needs at least one calculation or worksheet file\n";
      return 2;
    }
    if (pdf && output == rivulet::BatchOutput::Json) {
      std::cerr << "rivulet: --json writes text, not a PDF file\n";
      return 2;
    }
    if (pdf)
      return rivulet::RunPdfBatch(argc, argv, files, *pdf,
                                  output == rivulet::BatchOutput::ReportsWithDetails);
    // No window and no display: the sheet runs headless, exactly as behind the window.
    const int status = rivulet::RunMixedBatch(files, rivulet::StartupValues::Compute(), output,
                                              rivulet::BuiltInKinds(), std::cout, std::cerr);
    return rivulet::FinishBatchOutput(std::cout, "standard output", std::cerr, status);
  }
  if (argc > 1 && std::strcmp(argv[1], "--rating") == 0) return RatingMain(argc, argv);
  if (argc > 1 && std::strcmp(argv[1], "--cases") == 0)
    return rivulet::RunCasesCommand(std::vector<std::string>(argv + 2, argv + argc),
                                    rivulet::StartupValues::Compute(), std::cout, std::cerr);
  if (argc > 1 && argv[1][0] == '-' && argv[1][1] == '-') {
    std::cerr << "rivulet: unknown option " << argv[1] << "\n";
    PrintUsage(std::cerr);
    return 2;
  }
  return rivulet::GuiMain(argc, argv);
}
