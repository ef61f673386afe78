#include "core/shell/safe_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <random>

namespace rivulet {
namespace {

constexpr char kTempMark[] = ".rvtmp-";
// Seconds without a write after which a temporary belongs to no save still running.
constexpr time_t kStaleTemporaryAge = 24 * 60 * 60;
// As the kernel's own limit on a chain of links.
constexpr int kMaxLinks = 40;
// Room left in a temporary name for the mark, the process id and a random number.
constexpr size_t kMaxBaseInTempName = 200;

std::string Folder(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

SaveError ErrorFor(int e) {
  switch (e) {
    case EACCES:
    case EPERM:
      return SaveError::PermissionDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return SaveError::DiskFull;
    case ENOENT:
    case ENOTDIR:
      return SaveError::FolderMissing;
    case EROFS:
      return SaveError::ReadOnlyDisk;
    case EISDIR:
      return SaveError::NotAFile;
    default:
      return SaveError::WriteFailed;
  }
}

SaveOutcome Fail(SaveOutcome out, SaveError error, int e) {
  out.error = error;
  out.errnoValue = e;
  return out;
}
SaveOutcome Fail(SaveOutcome out, int e) { return Fail(std::move(out), ErrorFor(e), e); }

// A hidden name beside the target that says whose it is: the process id lets a later save
// tell a temporary of a killed save from one being written right now.
std::string TempPath(const std::string& target) {
  std::string base = BaseName(target).substr(0, kMaxBaseInTempName);
  static std::mt19937 generator{std::random_device{}()};
  return Folder(target) + "/." + base + kTempMark + std::to_string(getpid()) + "-" +
         std::to_string(generator());
}

bool WriteAll(int fd, std::string_view bytes, int& err) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// A file nobody may write is read-only to the user whoever they are: root may write it
// regardless, but would not expect Save to replace it.
SaveOutcome CheckWritable(const SaveOutcome& out, const struct stat& st) {
  if ((st.st_mode & 0222) == 0) return Fail(out, SaveError::ReadOnlyFile, EACCES);
  if (faccessat(AT_FDCWD, out.target.c_str(), W_OK, AT_EACCESS) != 0) {
    const int e = errno;
    if (e == EACCES || e == EPERM) return Fail(out, SaveError::ReadOnlyFile, e);
    return Fail(out, e);
  }
  return out;
}

// The replaced file's owner and mode carry over. Changing the owner is refused to a user
// who is not root, and then the group alone is tried; neither failure stops the save.
void KeepModeAndOwner(int fd, const std::string& path, const struct stat& st) {
  auto own = [&](uid_t user, gid_t group) {
    return fd >= 0 ? fchown(fd, user, group) : chown(path.c_str(), user, group);
  };
  if (own(st.st_uid, st.st_gid) != 0) own(static_cast<uid_t>(-1), st.st_gid);
  const mode_t mode = st.st_mode & 07777;
  if (fd >= 0)
    fchmod(fd, mode);
  else
    chmod(path.c_str(), mode);
}

void SyncFolder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

bool ProcessGone(long pid) {
  return pid > 0 && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// Temporaries of saves that were killed before they finished; live ones are left alone.
// A process id is reused in time, and one from another machine sharing the folder means
// nothing here, so a temporary nobody has written to for a day is stale whoever has its id.
void RemoveStaleTemporaries(const std::string& folder) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  const time_t now = time(nullptr);
  while (const dirent* entry = readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (!IsSaveTemporaryName(name)) continue;
    const size_t at = name.rfind(kTempMark) + sizeof kTempMark - 1;
    const long pid = std::strtol(std::string(name.substr(at)).c_str(), nullptr, 10);
    struct stat st;
    const bool old = fstatat(dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                     S_ISREG(st.st_mode) && now - st.st_mtime > kStaleTemporaryAge;
    if (ProcessGone(pid) || old) unlinkat(dirfd(dir), entry->d_name, 0);
  }
  closedir(dir);
}

// The target resolved, checked and its folder tidied; exists tells whether there is a
// file to replace, whose status is then in st.
SaveOutcome Prepare(const std::string& path, bool& exists, struct stat& st) {
  SaveOutcome out = ResolveSaveTarget(path);
  if (!out) return out;
  exists = stat(out.target.c_str(), &st) == 0;
  if (exists) {
    out = CheckWritable(out, st);
    if (!out) return out;
  }
  RemoveStaleTemporaries(Folder(out.target));
  return out;
}

// Writes bytes to a new temporary file beside the target and gives it a hidden name.
// Unnamed first, so that a killed save leaves nothing behind; -1 asks for the named way.
int WriteTemporary(const std::string& target, const std::function<int(int fd)>& fill, bool unnamed,
                   const struct stat* keep, std::string& tempPath) {
  const std::string folder = Folder(target);
  int fd = unnamed ? open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666)
                   : open((tempPath = TempPath(target)).c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    const int e = errno;
    // A file system without unnamed files says so in one of these ways.
    if (unnamed && (e == EOPNOTSUPP || e == EISDIR || e == EINVAL)) return -1;
    tempPath.clear();
    return e;
  }
  int e = fill(fd);
  if (e == 0) {
    if (keep) KeepModeAndOwner(fd, target, *keep);
    if (fsync(fd) != 0) e = errno;
  }
  if (e == 0 && unnamed) {
    tempPath = TempPath(target);
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, tempPath.c_str(), AT_SYMLINK_FOLLOW) != 0) {
      tempPath.clear();
      close(fd);
      return -1;  // no /proc to link through
    }
  }
  if (close(fd) != 0 && e == 0) e = errno;
  if (e != 0 && !tempPath.empty()) {
    unlink(tempPath.c_str());
    tempPath.clear();
  }
  return e;
}

// The errno of a block appended to the file and forced to the disk; 0 when that worked.
int ProbeWrite(const std::string& path) {
  const int fd = open(path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  if (fd < 0) return errno;
  static const std::string block(64 * 1024, '\0');
  int e = 0;
  if (WriteAll(fd, block, e) && fsync(fd) != 0) e = errno;
  close(fd);
  return e;
}

SaveOutcome RenameOver(SaveOutcome out, const std::string& tempPath) {
  if (rename(tempPath.c_str(), out.target.c_str()) != 0) {
    const int e = errno;
    unlink(tempPath.c_str());
    return Fail(std::move(out), e);
  }
  SyncFolder(Folder(out.target));
  return out;
}

}  // namespace

SaveOutcome ResolveSaveTarget(const std::string& path) {
  SaveOutcome out;
  out.target = path;
  if (path.empty()) return Fail(out, SaveError::NotAFile, ENOENT);
  for (int links = 0;; ++links) {
    if (links > kMaxLinks) return Fail(out, ELOOP);
    struct stat st;
    if (lstat(out.target.c_str(), &st) != 0) {
      if (errno != ENOENT) return Fail(out, errno);
      // A new file, perhaps named by a dangling link: its folder must be there.
      struct stat folder;
      if (stat(Folder(out.target).c_str(), &folder) != 0) return Fail(out, errno);
      if (!S_ISDIR(folder.st_mode)) return Fail(out, ENOTDIR);
      return out;
    }
    if (S_ISLNK(st.st_mode)) {
      std::string link(static_cast<size_t>(st.st_size > 0 ? st.st_size : 4095) + 1, '\0');
      const ssize_t n = readlink(out.target.c_str(), link.data(), link.size());
      if (n < 0) return Fail(out, errno);
      link.resize(static_cast<size_t>(n));
      out.target = link.starts_with('/') ? link : Folder(out.target) + "/" + link;
      continue;
    }
    if (S_ISDIR(st.st_mode)) return Fail(out, SaveError::NotAFile, EISDIR);
    if (!S_ISREG(st.st_mode)) return Fail(out, SaveError::NotAFile, 0);
    return out;
  }
}

SaveOutcome ReplaceFileContent(const std::string& path, std::string_view bytes) {
  return ReplaceFileStreamed(path, [bytes](int fd) {
    int e = 0;
    return WriteAll(fd, bytes, e) ? 0 : e;
  });
}

SaveOutcome ReplaceFileStreamed(const std::string& path, const std::function<int(int fd)>& fill) {
  bool exists = false;
  struct stat st;
  SaveOutcome out = Prepare(path, exists, st);
  if (!out) return out;
  std::string tempPath;
  int e = WriteTemporary(out.target, fill, true, exists ? &st : nullptr, tempPath);
  if (e < 0) e = WriteTemporary(out.target, fill, false, exists ? &st : nullptr, tempPath);
  if (e != 0) return Fail(out, e);
  return RenameOver(out, tempPath);
}

SaveOutcome ReplaceFileThrough(const std::string& path,
                               const std::function<bool(const std::string& tempPath)>& write,
                               const std::function<bool(const std::string& tempPath)>& check) {
  bool exists = false;
  struct stat st;
  SaveOutcome out = Prepare(path, exists, st);
  if (!out) return out;
  const std::string tempPath = TempPath(out.target);
  // Made here first, so that a folder we may not write in is named as the cause.
  const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return Fail(out, errno);
  close(fd);
  struct stat written;
  const bool ok = write(tempPath) && stat(tempPath.c_str(), &written) == 0 && written.st_size > 0 &&
                  (!check || check(tempPath));
  if (!ok) {
    // The writer does not say why. A write of our own into the unfinished file meets the
    // system's cause (a full disk, a quota, a failing device) before the file gives its
    // room back; failing that, a disk without room is the likely and the useful cause.
    const int cause = ProbeWrite(tempPath);
    struct statvfs fsInfo;
    const bool full = statvfs(Folder(out.target).c_str(), &fsInfo) == 0 &&
                      (geteuid() == 0 ? fsInfo.f_bfree : fsInfo.f_bavail) == 0;
    unlink(tempPath.c_str());
    if (cause != 0) return Fail(out, cause);
    return full ? Fail(out, ENOSPC) : Fail(out, SaveError::WriteFailed, EIO);
  }
  if (exists) KeepModeAndOwner(-1, tempPath, st);
  const int sync = open(tempPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (sync >= 0) {
    const bool synced = fsync(sync) == 0;
    const int e = errno;
    close(sync);
    if (!synced) {
      unlink(tempPath.c_str());
      return Fail(out, e);
    }
  }
  return RenameOver(out, tempPath);
}

std::string SaveCause(const SaveOutcome& outcome) {
  switch (outcome.error) {
    case SaveError::None:
      return {};
    case SaveError::ReadOnlyFile:
      return "the file is read-only";
    case SaveError::PermissionDenied:
      return "you do not have permission to write in the folder " + Folder(outcome.target);
    case SaveError::DiskFull:
      return "the disk is full";
    case SaveError::FolderMissing:
      return "the folder " + Folder(outcome.target) + " does not exist";
    case SaveError::ReadOnlyDisk:
      return "the disk is read-only";
    case SaveError::NotAFile:
      return "that name belongs to a folder or a device, not a file";
    case SaveError::WriteFailed:
      break;
  }
  std::string cause = "the file could not be written";
  if (outcome.errnoValue != 0) cause.append(" (").append(std::strerror(outcome.errnoValue)) += ')';
  return cause;
}

std::string SaveFailureText(const SaveOutcome& outcome) {
  std::string text = SaveCause(outcome);
  // A cause the program could not name already carries the system's words.
  if (outcome.errnoValue != 0 && outcome.error != SaveError::WriteFailed)
    text.append(" (").append(std::strerror(outcome.errnoValue)) += ')';
  return text;
}

std::string SaveAdvice(const SaveOutcome& outcome) {
  switch (outcome.error) {
    case SaveError::None:
      return {};
    case SaveError::ReadOnlyFile:
      return "Save under another name with Save As, or make the file writable and save again.";
    case SaveError::PermissionDenied:
      return "Choose a folder you may write in with Save As.";
    case SaveError::DiskFull:
      return "Free some space on the disk, or save to another disk with Save As.";
    case SaveError::FolderMissing:
      return "Choose an existing folder with Save As.";
    case SaveError::ReadOnlyDisk:
      return "Save to another disk with Save As.";
    case SaveError::NotAFile:
      return "Choose another name with Save As.";
    case SaveError::WriteFailed:
      break;
  }
  return "Try again, or save under another name with Save As.";
}

bool IsSaveTemporaryName(std::string_view name) {
  if (!name.starts_with('.')) return false;
  const size_t at = name.rfind(kTempMark);
  if (at == std::string_view::npos || at == 0) return false;
  const std::string_view tail = name.substr(at + sizeof kTempMark - 1);
  const size_t dash = tail.find('-');
  if (dash == 0 || dash == std::string_view::npos || dash + 1 == tail.size()) return false;
  for (size_t i = 0; i < tail.size(); ++i)
    if (i != dash && !(tail[i] >= '0' && tail[i] <= '9')) return false;
  return true;
}

}  // namespace rivulet
