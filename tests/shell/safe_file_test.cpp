#include "core/shell/safe_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace rivulet {
namespace {

namespace fs = std::filesystem;

std::string Read(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void Write(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

mode_t ModeOf(const fs::path& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// Runs body in a child process and returns its exit code, so that limits, lost
// privileges and kills stay out of the test process.
template <typename Body>
int InChild(Body body) {
  const pid_t pid = fork();
  if (pid == 0) _exit(body());
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

class SafeFileTest : public ::testing::Test {
 protected:
  SafeFileTest() {
    folder = fs::temp_directory_path() / ("rivulet-safe-" + std::to_string(std::random_device{}()));
    fs::create_directories(folder);
  }
  ~SafeFileTest() override {
    std::error_code ec;
    fs::permissions(folder, fs::perms::owner_all, ec);
    fs::remove_all(folder, ec);
  }
  std::string At(const std::string& name) const { return (folder / name).string(); }
  fs::path folder;
};

TEST_F(SafeFileTest, ReplacingKeepsTheModeAndANewFileFollowsTheUmask) {
  for (mode_t mode : {0600, 0640, 0664, 0755, 0604}) {
    SCOPED_TRACE(mode);
    Write(folder / "a.rvl", "old");
    chmod(At("a.rvl").c_str(), mode);
    const SaveOutcome out = ReplaceFileContent(At("a.rvl"), "new content");
    ASSERT_TRUE(out) << SaveCause(out);
    EXPECT_EQ(Read(folder / "a.rvl"), "new content");
    EXPECT_EQ(ModeOf(folder / "a.rvl"), mode);
  }
  const mode_t old = umask(027);
  EXPECT_TRUE(ReplaceFileContent(At("fresh.rvl"), "x"));
  umask(old);
  EXPECT_EQ(ModeOf(folder / "fresh.rvl"), 0640u);
  EXPECT_EQ(Names(folder), (std::vector<std::string>{"a.rvl", "fresh.rvl"}));
}

TEST_F(SafeFileTest, AFileNobodyMayWriteIsRefusedEvenForRoot) {
  for (mode_t mode : {0444, 0400, 0555}) {
    SCOPED_TRACE(mode);
    Write(folder / "ro.rvl", "keep me");
    chmod(At("ro.rvl").c_str(), mode);
    for (bool through : {false, true}) {
      const SaveOutcome out = through ? ReplaceFileThrough(At("ro.rvl"),
                                                           [](const std::string& temp) {
                                                             Write(temp, "new");
                                                             return true;
                                                           })
                                      : ReplaceFileContent(At("ro.rvl"), "new");
      EXPECT_EQ(out.error, SaveError::ReadOnlyFile);
      EXPECT_EQ(SaveCause(out), "the file is read-only");
      EXPECT_EQ(Read(folder / "ro.rvl"), "keep me");
      EXPECT_EQ(ModeOf(folder / "ro.rvl"), mode);
      EXPECT_EQ(Names(folder), std::vector<std::string>{"ro.rvl"});
    }
    chmod(At("ro.rvl").c_str(), 0600);
  }
}

// What an ordinary user meets: root drops to nobody in a child, another user runs as is.
TEST_F(SafeFileTest, AnOrdinaryUserIsToldWhatStopsTheSave) {
  const bool root = geteuid() == 0;
  const fs::path locked = folder / "locked";
  fs::create_directories(locked);
  Write(locked / "theirs.rvl", "theirs");
  chmod(locked.c_str(), root ? 0755 : 0555);
  chmod(folder.c_str(), 0777);
  if (root) chmod((locked / "theirs.rvl").c_str(), 0644);
  const std::string newFile = (locked / "new.rvl").string();
  const std::string theirs = (locked / "theirs.rvl").string();
  const int code = InChild([&] {
    if (root && (setgid(65534) != 0 || setuid(65534) != 0)) return 10;
    const SaveOutcome created = ReplaceFileContent(newFile, "x");
    if (created.error != SaveError::PermissionDenied) return 11;
    if (SaveCause(created).find(locked.string()) == std::string::npos) return 12;
    // Someone else's file that the mode lets us read but not write.
    if (root && ReplaceFileContent(theirs, "mine").error != SaveError::ReadOnlyFile) return 13;
    return 0;
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(Read(locked / "theirs.rvl"), "theirs");
  EXPECT_EQ(Names(locked), std::vector<std::string>{"theirs.rvl"});
}

TEST_F(SafeFileTest, ALinkStaysALinkAndItsTargetIsWritten) {
  fs::create_directories(folder / "sub");
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> links;  // link name, what it names
    const char* real;
    bool realExists;
  };
  const std::string absolute = At("sub/abs.rvl");
  const Case cases[] = {
      {"relative", {{"a.rvl", "sub/real.rvl"}}, "sub/real.rvl", true},
      {"absolute", {{"b.rvl", absolute}}, "sub/abs.rvl", true},
      {"chain", {{"c.rvl", "c2.rvl"}, {"c2.rvl", "sub/chained.rvl"}}, "sub/chained.rvl", true},
      {"dangling", {{"d.rvl", "sub/later.rvl"}}, "sub/later.rvl", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.realExists) Write(folder / c.real, "old");
    for (const auto& [link, to] : c.links) fs::create_symlink(to, folder / link);
    const SaveOutcome out = ReplaceFileContent(At(c.links.front().first), "new");
    ASSERT_TRUE(out) << SaveCause(out);
    EXPECT_EQ(fs::canonical(out.target), fs::canonical(folder / c.real));
    EXPECT_EQ(Read(folder / c.real), "new");
    for (const auto& [link, to] : c.links) {
      EXPECT_TRUE(fs::is_symlink(folder / link));
      EXPECT_EQ(fs::read_symlink(folder / link).string(), to);
    }
  }
  EXPECT_EQ(Names(folder / "sub"),
            (std::vector<std::string>{"abs.rvl", "chained.rvl", "later.rvl", "real.rvl"}));
}

TEST_F(SafeFileTest, NamesThatCannotBeSavedSayWhy) {
  fs::create_directories(folder / "dir.rvl");
  fs::create_symlink("nowhere/x.rvl", folder / "lost.rvl");
  fs::create_symlink("loop2.rvl", folder / "loop1.rvl");
  fs::create_symlink("loop1.rvl", folder / "loop2.rvl");
  struct Case {
    std::string path;
    SaveError error;
  };
  const Case cases[] = {
      {At("missing/a.rvl"), SaveError::FolderMissing},
      {At("dir.rvl"), SaveError::NotAFile},
      {"", SaveError::NotAFile},
      {At("lost.rvl"), SaveError::FolderMissing},
      {At("loop1.rvl"), SaveError::WriteFailed},
      {"/dev/null", SaveError::NotAFile},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const SaveOutcome out = ReplaceFileContent(c.path, "x");
    EXPECT_EQ(out.error, c.error) << SaveCause(out);
    EXPECT_FALSE(SaveAdvice(out).empty());
  }
  EXPECT_EQ(SaveCause(ReplaceFileContent(At("missing/a.rvl"), "x")),
            "the folder " + At("missing") + " does not exist");
  EXPECT_TRUE(fs::is_symlink(folder / "lost.rvl"));
  EXPECT_EQ(Names(folder),
            (std::vector<std::string>{"dir.rvl", "loop1.rvl", "loop2.rvl", "lost.rvl"}));
}

TEST_F(SafeFileTest, AWriterThatFailsOrWritesNothingLeavesTheOldFile) {
  Write(folder / "r.pdf", "%PDF old");
  struct Case {
    const char* name;
    std::function<bool(const std::string&)> write, check;
  };
  const Case cases[] = {
      {"writer fails", [](const std::string& t) { return Write(t, "part"), false; }, {}},
      {"nothing written", [](const std::string&) { return true; }, {}},
      {"check fails", [](const std::string& t) { return Write(t, "bad"), true; },
       [](const std::string&) { return false; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReplaceFileThrough(At("r.pdf"), c.write, c.check).error, SaveError::WriteFailed);
    EXPECT_EQ(Read(folder / "r.pdf"), "%PDF old");
    EXPECT_EQ(Names(folder), std::vector<std::string>{"r.pdf"});
  }
  EXPECT_TRUE(ReplaceFileThrough(At("r.pdf"), [](const std::string& t) {
    Write(t, "%PDF new");
    return true;
  }));
  EXPECT_EQ(Read(folder / "r.pdf"), "%PDF new");
}

TEST_F(SafeFileTest, AFileLargerThanAllowedFailsAsAFullDiskAndKeepsTheOldOne) {
  Write(folder / "big.rvl", "small");
  const std::string target = At("big.rvl");
  const int code = InChild([&] {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 10;
    const SaveOutcome out = ReplaceFileContent(target, std::string(100000, 'x'));
    return out.error == SaveError::DiskFull ? 0 : 11;
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(Read(folder / "big.rvl"), "small");
  EXPECT_EQ(Names(folder), std::vector<std::string>{"big.rvl"});
}

TEST_F(SafeFileTest, AFullDiskKeepsTheOldFile) {
  const fs::path disk = folder / "disk";
  fs::create_directories(disk);
  if (mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "a small tmpfs needs root and a mount namespace that allows it";
  Write(disk / "a.rvl", "old");
  Write(disk / "r.pdf", "%PDF old");
  const std::string large(200000, 'x');
  EXPECT_EQ(ReplaceFileContent((disk / "a.rvl").string(), large).error, SaveError::DiskFull);
  const SaveOutcome pdf = ReplaceFileThrough((disk / "r.pdf").string(), [&](const std::string& t) {
    std::ofstream out(t, std::ios::binary);
    out << large;
    out.flush();
    return static_cast<bool>(out);
  });
  EXPECT_EQ(pdf.error, SaveError::DiskFull);
  EXPECT_EQ(SaveCause(pdf), "the disk is full");
  EXPECT_EQ(Read(disk / "a.rvl"), "old");
  EXPECT_EQ(Read(disk / "r.pdf"), "%PDF old");
  EXPECT_EQ(Names(disk), (std::vector<std::string>{"a.rvl", "r.pdf"}));
  umount(disk.c_str());
}

TEST_F(SafeFileTest, KilledSavesLeaveTheFileWholeAndNothingBehindAfterTheNextSave) {
  const std::string a(300000, 'a'), b(200000, 'b');
  const std::string target = At("k.rvl");
  ASSERT_TRUE(ReplaceFileContent(target, a));
  std::mt19937 random(7);
  for (int round = 0; round < 25; ++round) {
    const pid_t pid = fork();
    if (pid == 0) {
      for (int i = 0;; ++i) {
        ReplaceFileContent(target, i % 2 ? a : b);
        if (i % 3 == 0)
          ReplaceFileThrough(target, [&](const std::string& t) {
            Write(t, a);
            return true;
          });
      }
    }
    usleep(std::uniform_int_distribution<useconds_t>(200, 4000)(random));
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    const std::string now = Read(folder / "k.rvl");
    ASSERT_TRUE(now == a || now == b) << "round " << round << ": " << now.size() << " bytes";
  }
  ASSERT_TRUE(ReplaceFileContent(target, "last"));
  EXPECT_EQ(Names(folder), std::vector<std::string>{"k.rvl"});
}

TEST_F(SafeFileTest, AStreamedSaveShowsNoTemporaryWhileItWritesAndCarriesTheWritersCause) {
  Write(folder / "t.csv", "old");
  std::vector<std::string> seen;
  ASSERT_TRUE(ReplaceFileStreamed(At("t.csv"), [&](int fd) {
    seen = Names(folder);  // a kill now would leave nothing behind
    return write(fd, "new", 3) == 3 ? 0 : errno;
  }));
  EXPECT_EQ(seen, std::vector<std::string>{"t.csv"});
  EXPECT_EQ(Read(folder / "t.csv"), "new");

  const SaveOutcome failed = ReplaceFileStreamed(At("t.csv"), [](int) { return ENOSPC; });
  EXPECT_EQ(failed.error, SaveError::DiskFull);
  EXPECT_EQ(SaveFailureText(failed), "the disk is full (No space left on device)");
  EXPECT_EQ(Read(folder / "t.csv"), "new");
  EXPECT_EQ(Names(folder), std::vector<std::string>{"t.csv"});
}

TEST_F(SafeFileTest, OnlyTemporariesOfEndedSavesAreRemoved) {
  std::ifstream pidMax("/proc/sys/kernel/pid_max");
  long ended = 0;
  pidMax >> ended;  // no process ever has this number
  ASSERT_GT(ended, 0);
  const std::string dead = ".a.rvl.rvtmp-" + std::to_string(ended) + "-42";
  const std::string live = ".a.rvl.rvtmp-" + std::to_string(getpid()) + "-43";
  // A live process with the number of a save killed long ago: the number was reused.
  const std::string reused = ".a.rvl.rvtmp-" + std::to_string(getpid()) + "-44";
  for (const std::string& name :
       {dead, live, reused, std::string(".hidden"), std::string("b.rvtmp-1-1")})
    Write(folder / name, "t");
  const struct timespec twoDaysAgo[2] = {{time(nullptr) - 2 * 86400, 0},
                                         {time(nullptr) - 2 * 86400, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, (folder / reused).c_str(), twoDaysAgo, 0), 0);
  ASSERT_TRUE(ReplaceFileContent(At("a.rvl"), "x"));
  EXPECT_EQ(Names(folder),
            (std::vector<std::string>{".a.rvl.rvtmp-" + std::to_string(getpid()) + "-43", ".hidden",
                                      "a.rvl", "b.rvtmp-1-1"}));

  struct Name {
    const char* text;
    bool ours;
  };
  for (const Name& n : {Name{".a.rvl.rvtmp-12-34", true}, Name{"..rvtmp-1-2", true},
                        Name{"a.rvl.rvtmp-12-34", false}, Name{".a.rvl.rvtmp-12", false},
                        Name{".a.rvl.rvtmp--34", false}, Name{".a.rvl.rvtmp-1x-34", false},
                        Name{".rvtmp-1-2", false}})
    EXPECT_EQ(IsSaveTemporaryName(n.text), n.ours) << n.text;
}

}  // namespace
}  // namespace rivulet
