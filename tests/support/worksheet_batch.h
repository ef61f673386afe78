// The batch mode over worksheets as tests drive it: a folder of the test's own for its
// files and settings, the run's output and messages, and a single file's JSON object.
#pragma once

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "core/batch/worksheet_batch.h"
#include "support/temp_folder.h"

namespace rivulet::testing {

class WorksheetBatchTest : public ::testing::Test {
 protected:
  /// The kinds the runs know; a test of its own kind overrides this.
  virtual const KindTable& Kinds() const { return BuiltInKinds(); }

  StartupValues Startup() const {
    return StartupValues::ForFolder(folder.path.string(), (folder.path / "config").string());
  }
  /// Runs --report (or --json, --details) over the files; out and err hold what it wrote.
  int Run(const std::vector<std::string>& files, BatchOutput output) {
    out.str("");
    err.str("");
    return RunMixedBatch(files, Startup(), output, Kinds(), out, err);
  }
  /// The JSON object of a single file's run.
  nlohmann::json Json(const std::string& file) {
    Run({file}, BatchOutput::Json);
    return nlohmann::json::parse(out.str());
  }
  TempFolder folder;
  std::ostringstream out, err;
};

}  // namespace rivulet::testing
