// Helpers shared by the fuzz targets: a loud failure that libFuzzer records as a crash,
// a scratch folder that lives as long as the fuzzing process, and a loaded window.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "core/files/calc_file.h"
#include "core/files/defaults_file.h"
#include "core/shell/number_text.h"
#include "core/shell/services.h"
#include "core/window/frm_rivulet.h"
#include "support/recording_services.h"
#include "window/invariants_support.h"

namespace rivulet::fuzz {

/// Aborts with the message so that the input is saved as a crash.
inline void Require(bool holds, const std::string& what) {
  if (holds) return;
  std::fprintf(stderr, "invariant broken: %s\n", what.c_str());
  std::abort();
}

/// A folder of its own for this process, removed at exit.
inline const std::filesystem::path& ScratchFolder() {
  static const std::filesystem::path folder = [] {
    std::random_device rd;
    auto dir = std::filesystem::temp_directory_path() /
               ("rivulet-fuzz-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(dir);
    return dir;
  }();
  // Registered once the path exists, so that it runs before the path is destroyed.
  static const bool removedAtExit = [] {
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(folder, ec);
    });
    return true;
  }();
  (void)removedAtExit;
  return folder;
}

inline void WriteBytes(const std::filesystem::path& path, const uint8_t* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

/// A window as the program starts it, with its program folder in programFolder (no
/// defaults file there unless the caller put one) and the file commands attached.
struct LoadedWindow {
  explicit LoadedWindow(const std::string& programFolder)
      : form(services, StartupValues::ForFolder(programFolder)) {
    AttachCalcFileCommands(form);
    AttachDefaultsCommands(form);
    form.Form_Load();
  }
  RecordingServices services;
  frmRivulet form;
};

/// The invariants every command must keep: a known status text and no infinity or NaN.
inline void RequireSane(frmRivulet& form, const char* after) {
  Require(invariants::IsKnownStatus(form.txtStatus.Text()),
          std::string("status text after ") + after + ": " + form.txtStatus.Text());
  const std::string bad = invariants::BoxWithNonFinite(form);
  Require(bad.empty(), std::string("non-finite text after ") + after + " in " + bad);
}

/// After "Calculations Complete!" no result and no input reads below zero. A greyed-out
/// box takes no part: a file may leave any text in the side slope of a pipe.
inline void RequireNonNegativeResults(frmRivulet& f) {
  for (TextBox* box : invariants::TextBoxes(f)) {
    if (box == &f.txtStatus || !box->Enabled() || box->Text() == "N/A") continue;
    Require(!(ReadNumber(box->Text()) < 0),
            box->Name() + " reads [" + box->Text() + "] after a completed calculation");
  }
}

}  // namespace rivulet::fuzz
