#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#endif

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

#include "platform/system.h"

namespace platform {

namespace {

#ifdef _WIN32
constexpr int kBinary = O_BINARY;
constexpr int kNoInheritance = O_NOINHERIT;
constexpr int kNoTerminal = 0;
constexpr int kNoBlocking = 0;
constexpr int kNoFollow = 0;
#else
constexpr int kBinary = 0;
constexpr int kNoInheritance = O_CLOEXEC;
constexpr int kNoTerminal = O_NOCTTY;
constexpr int kNoBlocking = O_NONBLOCK;
constexpr int kNoFollow = O_NOFOLLOW;
#endif

// What a path that is not a regular file is instead.
const char* KindOf(unsigned mode) {
  if (S_ISDIR(mode)) return "a directory";
  if (S_ISCHR(mode)) return "a character device";
#ifndef _WIN32
  if (S_ISFIFO(mode)) return "a named pipe";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISSOCK(mode)) return "a socket";
#endif
  return "not a regular file";
}

std::string NotARegularFile(unsigned mode) {
  const std::string kind = KindOf(mode);
  return "it is " + kind + (kind.rfind("not", 0) == 0 ? "" : ", not a regular file");
}

// Whether the last name of `path` is a symbolic link. Only a link there when
// the foreign-link check ran is followed: others cannot replace it then (a
// sticky folder's rule), while one put where there was none is refused.
bool LinkThere(const std::string& path) {
#ifdef _WIN32
  (void)path;
  return false;
#else
  struct stat entry {};
  return lstat(path.c_str(), &entry) == 0 && S_ISLNK(entry.st_mode);
#endif
}

// The file a symbolic link points at takes the new file, so the link stays.
std::string FileBehindLinks(const std::string& path) {
#ifdef _WIN32
  return path;
#else
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
#endif
}

bool RenameOver(const char* from, const char* to) {
#ifdef _WIN32
  if (MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING)) return true;
  errno = EACCES;
  return false;
#else
  return rename(from, to) == 0;
#endif
}

}  // namespace

void WriteToStandardError(std::string_view text) {
  while (!text.empty()) {
    const auto written = write(2, text.data(), static_cast<unsigned>(text.size()));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    text.remove_prefix(static_cast<std::size_t>(written));
  }
}

bool ReadRegularFile(const std::string& path, std::size_t max_mib, std::string& text, std::string& problem) {
  problem.clear();
  struct stat info {};
  // A socket cannot even be opened: what it is comes from its name.
  if (stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    problem = NotARegularFile(info.st_mode);
    return false;
  }
  const int fd = open(path.c_str(), O_RDONLY | kBinary | kNoInheritance | kNoTerminal | kNoBlocking);
  if (fd < 0) {
    problem = ErrorText(errno);
    return false;
  }
  // The path may have been replaced since it was looked at.
  if (fstat(fd, &info) != 0) {
    problem = ErrorText(errno);
  } else if (!S_ISREG(info.st_mode)) {
    problem = NotARegularFile(info.st_mode);
  }
  if (!problem.empty()) {
    close(fd);
    return false;
  }
  const std::size_t max_bytes = max_mib << 20;
  text.clear();
  std::vector<char> buffer(1 << 16);
  for (;;) {
    const auto got = read(fd, buffer.data(), static_cast<unsigned>(buffer.size()));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      problem = ErrorText(errno);
      break;
    }
    if (got == 0) break;
    if (text.size() + static_cast<std::size_t>(got) > max_bytes) {
      problem = "it is larger than " + std::to_string(max_mib) + " MiB";
      break;
    }
    text.append(buffer.data(), static_cast<std::size_t>(got));
  }
  close(fd);
  return problem.empty();
}

bool ThroughForeignLink(const std::string& path) {
#ifdef _WIN32
  (void)path;
  return false;
#else
  // The path walked as the kernel walks it: each link's target takes its place.
  std::vector<std::string> rest;  // the components still to walk, the next one last
  const auto push = [&rest](const std::string& text) {
    std::vector<std::string> parts;
    for (std::size_t at = 0; at <= text.size();) {
      const std::size_t slash = std::min(text.find('/', at), text.size());
      if (slash > at) parts.push_back(text.substr(at, slash - at));
      at = slash + 1;
    }
    rest.insert(rest.end(), parts.rbegin(), parts.rend());
  };
  std::string folder = !path.empty() && path[0] == '/' ? "/" : ".";
  push(path);
  for (int links = 0; !rest.empty();) {
    const std::string name = rest.back();
    rest.pop_back();
    const std::string next = (folder == "/" ? "" : folder) + "/" + name;
    struct stat link {};
    if (lstat(next.c_str(), &link) != 0) return false;  // nothing there, so no link to follow
    if (!S_ISLNK(link.st_mode)) {
      folder = next;
      continue;
    }
    struct stat place {};
    const bool shared = stat(folder.c_str(), &place) == 0 && (place.st_mode & S_ISVTX) && (place.st_mode & S_IWOTH);
    if (shared && link.st_uid != geteuid() && link.st_uid != place.st_uid) return true;
    char target[PATH_MAX];
    const ssize_t length = readlink(next.c_str(), target, sizeof target - 1);
    if (length <= 0 || ++links > 40) return false;  // the open itself says what is wrong
    const std::string text(target, static_cast<std::size_t>(length));
    if (text[0] == '/') folder = "/";
    push(text);
  }
  return false;
#endif
}

int CreationProblem(const std::string& path) {
  if (ThroughForeignLink(path)) return EACCES;
#ifndef _WIN32
  struct stat info {};
  if (stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) return 0;  // written directly
  const std::string target = FileBehindLinks(path);
  const std::size_t slash = target.find_last_of('/');
  const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
  const std::size_t name = target.size() - (slash == std::string::npos ? 0 : slash + 1);
  const long longest = pathconf(folder.c_str(), _PC_NAME_MAX);
  // The temporary file's name: "." + name + ".XXXXXX".
  if (longest > 0 && name + 8 > static_cast<std::size_t>(longest)) return ENAMETOOLONG;
  if (access(folder.c_str(), W_OK | X_OK) != 0) return errno;
#else
  // NTFS and FAT take names of at most 255 characters; the temporary file's
  // name adds 8 to it.
  const std::size_t slash = path.find_last_of("/\\");
  const std::size_t name = path.size() - (slash == std::string::npos ? 0 : slash + 1);
  if (name + 8 > 255) return ENAMETOOLONG;
#endif
  return 0;
}

std::FILE* OpenForWriting(const std::string& path, LineEnds line_ends) {
  if (ThroughForeignLink(path)) {
    errno = EACCES;
    return nullptr;
  }
  const bool link_there = LinkThere(path);
  const bool binary = line_ends == LineEnds::Binary;
  const int flags = O_WRONLY | O_CREAT | (binary ? kBinary : 0) | kNoInheritance | kNoTerminal;
  const int fd = open(path.c_str(), flags | (link_there ? 0 : kNoFollow), 0666);
  if (fd < 0) return nullptr;
  std::FILE* file = fdopen(fd, binary ? "wb" : "w");
  if (file == nullptr) close(fd);
  return file;
}

void Truncate(std::FILE* file) {
  struct stat info {};
  const int fd = fileno(file);
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    [[maybe_unused]] const int ignored = ftruncate(fd, 0);
  }
}

bool ReplacingFile::Fail(int error_number) {
  if (error_ == 0) error_ = error_number;
  return false;
}

bool ReplacingFile::Prepare(const std::string& path) {
  if (ThroughForeignLink(path)) return Fail(EACCES);
  const bool link_there = LinkThere(path);
  struct stat info {};
  const bool exists = stat(path.c_str(), &info) == 0;
  if (exists && S_ISDIR(info.st_mode)) return Fail(EISDIR);
  if (exists && !S_ISREG(info.st_mode)) {
    // A device or a pipe holds no earlier file to keep.
    fd_ = open(path.c_str(),
               O_WRONLY | kBinary | kNoInheritance | kNoTerminal | kNoBlocking | (link_there ? 0 : kNoFollow));
    if (fd_ < 0) return Fail(errno);
#ifndef _WIN32
    fcntl(fd_, F_SETFL, fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
#endif
    target_ = path;
    return true;
  }
  // Without a link, the new file is renamed over the name itself, whatever
  // has been put there since.
  target_ = link_there ? FileBehindLinks(path) : path;
  const std::size_t slash = target_.find_last_of("/\\");
  const std::size_t name_start = slash == std::string::npos ? 0 : slash + 1;
  std::string pattern = target_.substr(0, name_start) + "." + target_.substr(name_start) + ".XXXXXX";
  {
    // An interrupt's Discard must know the file as soon as it exists.
    const InterruptDeferral named;
    fd_ = mkstemp(pattern.data());
    if (fd_ < 0) return Fail(errno);
    temporary_ = pattern;
    replace_ = true;
  }
#ifdef _WIN32
  _setmode(fd_, O_BINARY);
#else
  fcntl(fd_, F_SETFD, FD_CLOEXEC);
  // mkstemp makes the file for its owner only; a recording is as readable as
  // the file it replaces, or as any new file.
  const mode_t mask = umask(0);
  umask(mask);
  if (exists) {
    // A replaced file keeps its owner, group and permissions (the owner only
    // where the program may give it, as root).
    [[maybe_unused]] const int ignored = fchown(fd_, info.st_uid, info.st_gid);
  }
  fchmod(fd_, exists ? info.st_mode & 07777 : 0666 & ~mask);
#endif
  return true;
}

bool ReplacingFile::Write(const char* bytes, std::size_t count) {
  if (fd_ < 0 || error_ != 0) return false;
  while (count > 0) {
    const auto written = write(fd_, bytes, static_cast<unsigned>(count));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return Fail(written < 0 ? errno : EIO);
    bytes += written;
    count -= static_cast<std::size_t>(written);
  }
  return true;
}

// No fsync before the rename: it cost from 1 to 18 ms here, more than many a
// whole run, and ext4 and btrfs write a file renamed over another before the
// rename itself. What is checked is every write and the close.
bool ReplacingFile::Commit() {
  if (fd_ < 0) return error_ == 0;
  if (close(fd_) != 0 && errno != EINTR) Fail(errno);
  fd_ = -1;
  if (replace_ && error_ == 0 && !RenameOver(temporary_.c_str(), target_.c_str())) Fail(errno);
  if (replace_ && error_ != 0) unlink(temporary_.c_str());
  replace_ = false;
  return error_ == 0;
}

bool ReplacingFile::CommitPair(ReplacingFile& first, ReplacingFile& second) {
  const InterruptDeferral whole;
  const bool replaces = first.replace_ && first.error_ == 0;
  const std::string target = first.target_;
  // The earlier first file, kept under a second name until the pair stands.
  std::string aside;
#ifndef _WIN32
  if (replaces && link(target.c_str(), (first.temporary_ + "~").c_str()) == 0) aside = first.temporary_ + "~";
#endif
  bool committed = first.Commit();
  if (committed && !second.Commit()) {
    committed = false;
    if (!aside.empty()) {
      RenameOver(aside.c_str(), target.c_str());
    } else if (replaces) {
      unlink(target.c_str());
    }
  }
  if (!aside.empty()) unlink(aside.c_str());
  return committed;
}

void ReplacingFile::Discard() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
  if (replace_) unlink(temporary_.c_str());
  replace_ = false;
}

}  // namespace platform
