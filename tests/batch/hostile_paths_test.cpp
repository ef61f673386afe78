// Paths a batch run is given that are not plain files: a named pipe or a folder as input,
// outputs that cannot be written. Each is refused at once, naming it and the cause.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <sstream>

#include "core/batch/batch.h"
#include "core/batch/worksheet_batch.h"
#include "core/cases/case_batch.h"
#include "core/shell/fd_output.h"
#include "core/shell/text_file.h"
#include "files/files_fixture.h"
#include "support/example_files.h"

namespace rivulet {
namespace {

namespace fs = std::filesystem;
using HostilePathsTest = FilesTest;

// Runs the batch on a thread; a run that blocks in open() is released by a writer, so a
// failing test ends instead of hanging.
int RunWithin(const std::string& fifo, const std::function<int()>& run) {
  auto result = std::async(std::launch::async, run);
  if (result.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
    ADD_FAILURE() << "the run waited on the named pipe";
    const int fd = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0) close(fd);
  }
  return result.get();
}

TEST_F(HostilePathsTest, InputsThatAreNoFilesAreRefusedUnopened) {
  const std::string fifo = (folder / "calc.rvl").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const struct {
    std::string path;
    const char* why;
  } paths[] = {
      {(folder / "plain.rvl").string(), ""},
      {fifo, "it is a named pipe"},
      {folder.string(), "it is a folder"},
      {"/dev/null", "it is a device or a socket, not a file"},
      {(folder / "absent.rvl").string(), "No such file or directory"},
  };
  WriteFile(paths[0].path, "x");
  for (const auto& p : paths) EXPECT_EQ(NotAFileToRead(p.path), p.why) << p.path;

  std::ostringstream out, err;
  EXPECT_EQ(RunWithin(fifo,
                      [&] {
                        return RunMixedBatch({fifo}, form.Startup(), BatchOutput::Json,
                                             BuiltInKinds(), out, err);
                      }),
            kBatchBadFile);
  EXPECT_EQ(err.str(), fifo + ": cannot be read: it is a named pipe\n");
  std::ostringstream casesErr;
  EXPECT_EQ(
      RunWithin(
          fifo,
          [&] { return RunCaseBatch(fifo, std::nullopt, false, form.Startup(), out, casesErr); }),
      kCasesUnreadable);
  EXPECT_EQ(casesErr.str(), "rivulet: " + fifo + ": cannot be read: it is a named pipe\n");
  EXPECT_EQ(out.str(), "");
}

TEST_F(HostilePathsTest, ACaseTableThatCannotBeWrittenNamesTheTargetAndTheCause) {
  const std::string table = Example("storm-sewer-cases.csv");
  const auto entries = [&] { return std::distance(fs::directory_iterator(folder), {}); };
  const auto before = entries();
  fs::create_directories(folder / "sub");
  const fs::path readOnly = folder / "read-only.csv";
  WriteFile(readOnly, "kept");
  chmod(readOnly.c_str(), 0444);
  const struct {
    std::string target;
    std::string message;
  } cases[] = {
      {"/dev/full", "rivulet: cannot write /dev/full: No space left on device\n"},
      {(folder / "sub").string(),
       "rivulet: cannot write " + (folder / "sub").string() +
           ": that name belongs to a folder or a device, not a file (Is a directory); the "
           "previous file, if any, is unchanged\n"},
      {(folder / "missing" / "out.csv").string(),
       "rivulet: cannot write " + (folder / "missing" / "out.csv").string() + ": the folder " +
           (folder / "missing").string() +
           " does not exist (No such file or directory); the previous file, if any, is "
           "unchanged\n"},
      {readOnly.string(), "rivulet: cannot write " + readOnly.string() +
                              ": the file is read-only (Permission denied); the previous "
                              "file, if any, is unchanged\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target);
    std::ostringstream out, err;
    EXPECT_EQ(RunCaseBatch(table, c.target, false, form.Startup(), out, err), kCasesUnreadable);
    EXPECT_EQ(err.str(), c.message);
  }
  EXPECT_EQ(ReadFile(readOnly), "kept");
  EXPECT_EQ(entries(), before + 2) << "a temporary was left";
}

TEST_F(HostilePathsTest, AFailedWriteIsToldByItsOwnCauseNotTheLastOneSeen) {
  const int fd = open("/dev/full", O_WRONLY);
  ASSERT_GE(fd, 0);
  {
    FdOutputBuffer buffer(fd);
    std::ostream out(&buffer);
    out << std::string(100000, 'x');
    errno = ENOENT;  // as a later look for a file leaves it
    std::ostringstream err;
    EXPECT_EQ(FinishBatchOutput(out, "standard output", err, kBatchAllSolved), kBatchBadFile);
    EXPECT_EQ(err.str(), "rivulet: cannot write standard output: No space left on device\n");
  }
  close(fd);
}

}  // namespace
}  // namespace rivulet
