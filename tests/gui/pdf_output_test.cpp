// The batch PDF never replaces a good file with a bad one.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "core/batch/batch.h"
#include "core/worksheets/kinds.h"
#include "gui/printing/pdf_report.h"
#include "support/example_files.h"

namespace rivulet {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class PdfOutputTest : public ::testing::Test {
 protected:
  PdfOutputTest()
      : folder(fs::temp_directory_path() /
               ("rivulet-pdf-" + std::to_string(std::random_device{}()))) {
    fs::create_directories(folder);
  }
  ~PdfOutputTest() override {
    std::error_code ec;
    fs::remove_all(folder, ec);
  }
  int Write(const fs::path& pdf, std::string& err) {
    std::ostringstream errors;
    const int status = WriteReportsPdf({Example("storm-sewer-pipe.rvl"), Example("v-ditch.rvl")},
                                       StartupValues::ForFolder(folder.string()),
                                       QString::fromStdString(pdf.string()), errors);
    err = errors.str();
    return status;
  }
  size_t Entries(const fs::path& in) const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(in), {}));
  }
  fs::path folder;
};

TEST_F(PdfOutputTest, AWrittenPdfIsCompleteAndReplacesTheOldOneKeepingItsMode) {
  const fs::path pdf = folder / "out.pdf";
  std::ofstream(pdf) << "old";
  chmod(pdf.c_str(), 0640);
  std::string err;
  EXPECT_EQ(Write(pdf, err), kBatchAllSolved) << err;
  EXPECT_TRUE(IsCompletePdf(pdf.string()));
  EXPECT_EQ(Read(pdf).rfind("%PDF", 0), 0u);
  struct stat st;
  ASSERT_EQ(stat(pdf.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(Entries(folder), 1u);
}

TEST_F(PdfOutputTest, AFileThatCannotBeReplacedFailsTheRunAndKeepsThePreviousFile) {
  const fs::path pdf = folder / "kept.pdf";
  std::ofstream(pdf) << "%PDF previous";
  chmod(pdf.c_str(), 0444);
  std::string err;
  EXPECT_EQ(Write(pdf, err), kBatchBadFile);
  EXPECT_NE(err.find("rivulet: cannot write " + pdf.string() + ": the file is read-only"),
            std::string::npos)
      << err;
  EXPECT_EQ(Read(pdf), "%PDF previous");
  EXPECT_EQ(Entries(folder), 1u);
}

TEST_F(PdfOutputTest, AFullDiskFailsTheRunAndKeepsThePreviousFile) {
  const fs::path disk = folder / "disk";
  fs::create_directories(disk);
  if (mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=8k") != 0)
    GTEST_SKIP() << "a small tmpfs needs root and a mount namespace that allows it";
  const fs::path pdf = disk / "r.pdf";
  std::ofstream(pdf) << "%PDF previous";
  std::string err;
  const int status = Write(pdf, err);
  const std::string kept = Read(pdf);
  const size_t left = Entries(disk);
  umount(disk.c_str());
  EXPECT_EQ(status, kBatchBadFile);
  EXPECT_NE(err.find("cannot write " + pdf.string() + ": the disk is full"), std::string::npos)
      << err;
  EXPECT_EQ(kept, "%PDF previous");
  EXPECT_EQ(left, 1u);
}

// With the details the PDF carries each calculation's flow details and design checks after
// its report, in the report's fixed-pitch layout; without them, the reports alone.
TEST_F(PdfOutputTest, DetailsFollowEachReportWhenAskedFor) {
  const QString tool = QStandardPaths::findExecutable("pdftotext");
  if (tool.isEmpty()) GTEST_SKIP() << "pdftotext is not installed";
  auto text = [&](bool withDetails) {
    const fs::path pdf = folder / (withDetails ? "details.pdf" : "plain.pdf");
    std::ostringstream errors;
    EXPECT_EQ(
        kBatchAllSolved,
        WriteReportsPdf({Example("storm-sewer-pipe.rvl"), Example("v-ditch.rvl")},
                        StartupValues::ForFolder(folder.string()),
                        QString::fromStdString(pdf.string()), errors, BuiltInKinds(), withDetails));
    EXPECT_EQ("", errors.str());
    QProcess run;
    run.start(tool, {"-layout", QString::fromStdString(pdf.string()), "-"});
    EXPECT_TRUE(run.waitForFinished(30000));
    return QString::fromUtf8(run.readAllStandardOutput());
  };
  const QString plain = text(false);
  const QString details = text(true);
  EXPECT_TRUE(plain.contains("Channel Section"));
  EXPECT_FALSE(plain.contains("Flow Details"));
  EXPECT_EQ(2, details.count("Flow Details")) << details.toStdString();
  EXPECT_EQ(2, details.count("Design checks"));
  EXPECT_TRUE(details.contains("Standard size")) << "the pipe's next standard size";
  EXPECT_TRUE(details.contains(QRegularExpression("(Pass|Fail) +Velocity")));
}

TEST(PdfCheck, OnlyAFileEndingInTheEndMarkerIsComplete) {
  const fs::path path =
      fs::temp_directory_path() / ("rivulet-pdfcheck-" + std::to_string(getpid()));
  struct Case {
    std::string bytes;
    bool complete;
  };
  const Case cases[] = {{"%PDF-1.4\n1 0 obj\n<<>>\nendobj\ntrailer\n%%EOF\n", true},
                        {"%PDF-1.4\n1 0 obj\n<<>>\nendobj\ntrailer\n%%EOF", true},
                        {"%PDF-1.4\n1 0 obj\n<<>>\nendobj\ntrailer\n%%EO", false},
                        {"%PDF-1.4\n1 0 obj\n<<>>\nen", false},
                        {"", false}};
  for (const Case& c : cases) {
    std::ofstream(path, std::ios::binary) << c.bytes;
    EXPECT_EQ(IsCompletePdf(path.string()), c.complete) << c.bytes;
  }
  fs::remove(path);
}

}  // namespace
}  // namespace rivulet
