// Helpers of the case-table tests: a scratch program folder, CSV text run through the
// table, and the output parsed back into named cells.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/cases/case_batch.h"
#include "core/cases/csv_reader.h"
#include "core/shell/startup.h"

namespace rivulet::cases_test {

/// A program folder of its own, removed at the end.
struct TempFolder {
  TempFolder() {
    std::random_device rd;
    path = std::filesystem::temp_directory_path() /
           ("rivulet-cases-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path);
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
  }
  std::string File(const std::string& name) const { return (path / name).string(); }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path / name, std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(path / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  StartupValues Startup() const { return StartupValues::ForFolder(path.string()); }
  std::filesystem::path path;
};

/// Every record of a CSV text.
inline std::vector<std::vector<std::string>> Records(const std::string& text) {
  std::vector<std::vector<std::string>> out;
  std::istringstream in(text);
  std::string error;
  EXPECT_TRUE(ReadCsvStream(
      in, [&](std::vector<std::string>& r) { out.push_back(r); }, error))
      << error;
  return out;
}

/// An output row by column name.
using NamedRow = std::map<std::string, std::string>;

struct StreamResult {
  int status = -1;
  std::string out, err;
  std::vector<NamedRow> rows;
};

/// Runs CSV text through the table as the batch command does.
inline StreamResult RunText(const std::string& csv, const CaseStart& start, bool details = false) {
  StreamResult r;
  std::istringstream in(csv);
  std::ostringstream out, err;
  r.status = RunCaseStream(in, start, details, out, err);
  r.out = out.str();
  r.err = err.str();
  const auto records = Records(r.out);
  for (size_t i = 1; i < records.size(); ++i) {
    NamedRow row;
    for (size_t c = 0; c < records[0].size() && c < records[i].size(); ++c)
      row[records[0][c]] = records[i][c];
    r.rows.push_back(std::move(row));
  }
  return r;
}

}  // namespace rivulet::cases_test
