// Whole-file reading, line splitting and the atomic replace used by every save.
#include "textfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ansitext.h"

namespace plat {

std::vector<std::string> SplitLines(std::string_view bytes) {
  std::vector<std::string> lines;
  const char* p = bytes.data();
  const size_t n = bytes.size();
  size_t start = 0;
  size_t i = 0;
  size_t lfAt = 0;  // next LF at or after i (n when none); found again only once passed
  bool lfKnown = false;
  while (i < n) {
    // memchr for LF is the fast path of LF-only and CR LF texts; the CR search stops there.
    if (!lfKnown || lfAt < i) {
      const void* lf = std::memchr(p + i, '\n', n - i);
      lfAt = lf ? static_cast<size_t>(static_cast<const char*>(lf) - p) : n;
      lfKnown = true;
    }
    const void* cr = std::memchr(p + i, '\r', lfAt - i);
    size_t at = cr ? static_cast<size_t>(static_cast<const char*>(cr) - p) : lfAt;
    if (at >= n) break;
    lines.emplace_back(p + start, at - start);
    i = at + 1;
    if (p[at] == '\r' && i < n && p[i] == '\n') ++i;
    start = i;
  }
  if (start < n) lines.emplace_back(p + start, n - start);
  return lines;
}

namespace {
std::string ErrnoText(int err) { return std::strerror(err); }
}  // namespace

bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error, FileStamp* stamp) {
  bytes.clear();
  if (stamp) *stamp = FileStamp{};
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = path + ": " + ErrnoText(errno);
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) == 0) {
    if (S_ISDIR(st.st_mode)) {
      ::close(fd);
      error = path + ": " + ErrnoText(EISDIR);
      return false;
    }
    if (S_ISREG(st.st_mode) && st.st_size > 0) bytes.reserve(static_cast<size_t>(st.st_size));
  }
  // The status before the read: should the file change while it is read, a later check sees
  // another status and compares the bytes.
  const FileStamp before = stamp ? StampOfOpenFile(fd, 0) : FileStamp{};
  char buf[65536];
  for (;;) {
    ssize_t got = ::read(fd, buf, sizeof buf);
    if (got < 0) {
      if (errno == EINTR) continue;
      int err = errno;
      ::close(fd);
      bytes.clear();
      error = path + ": " + ErrnoText(err);
      return false;
    }
    if (got == 0) break;
    bytes.append(buf, static_cast<size_t>(got));
  }
  ::close(fd);
  if (stamp) {
    *stamp = before;
    stamp->hash = HashOfBytes(bytes);
  }
  return true;
}

bool ReadTextLines(const std::string& path, std::vector<std::string>& lines, std::string& error) {
  lines.clear();
  std::string bytes;
  if (!ReadFileBytes(path, bytes, error)) return false;
  // CP932 trail bytes are never CR or LF, so decoding first and splitting after is the same
  // as splitting the bytes; decoding once keeps the ASCII fast path to one scan.
  lines = SplitLines(DecodeAnsi(bytes));
  return true;
}

namespace {

mode_t CurrentUmask() {
  // Read without changing it where the kernel tells; otherwise set and restore.
  if (FILE* f = std::fopen("/proc/self/status", "re")) {
    char line[256];
    while (std::fgets(line, sizeof line, f)) {
      if (std::strncmp(line, "Umask:", 6) == 0) {
        std::fclose(f);
        return static_cast<mode_t>(std::strtoul(line + 6, nullptr, 8));
      }
    }
    std::fclose(f);
  }
  mode_t m = ::umask(022);
  ::umask(m);
  return m;
}

bool WriteAll(int fd, std::string_view bytes) {
  const char* p = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    ssize_t put = ::write(fd, p, left);
    if (put < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += put;
    left -= static_cast<size_t>(put);
  }
  return true;
}

}  // namespace

bool AtomicFileWriter::Open(const std::string& path, std::string& error) {
  Abort();
  err_ = 0;
  written_ = sentToDisk_ = 0;
  hash_ = BytesHash{};
  stamp_ = FileStamp{};
  path_ = path;
  if (path.empty()) {
    error = "empty file name";
    return false;
  }
  // A symbolic link is followed so that the file it names is replaced, not the link.
  target_ = path;
  struct stat lst {};
  if (::lstat(path.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode)) {
    if (char* real = ::realpath(path.c_str(), nullptr)) {
      target_ = real;
      std::free(real);
    }
  }
  struct stat st {};
  bool existed = ::stat(target_.c_str(), &st) == 0;
  if (existed) {
    if (S_ISDIR(st.st_mode)) {
      error = path + ": " + ErrnoText(EISDIR);
      return false;
    }
    // A file the user may not write stays as it is, as an ordinary overwrite would fail.
    if (::access(target_.c_str(), W_OK) != 0) {
      error = path + ": " + ErrnoText(errno);
      return false;
    }
  }
  size_t slash = target_.rfind('/');
  dir_ = slash == std::string::npos ? "." : target_.substr(0, slash == 0 ? 1 : slash);
  std::string base = slash == std::string::npos ? target_ : target_.substr(slash + 1);
  std::string tmpl =
      (slash == std::string::npos ? std::string() : target_.substr(0, slash + 1)) + "." + base + ".tmpXXXXXX";
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) {
    error = path + ": " + ErrnoText(errno);
    return false;
  }
  fd_ = fd;
  temp_ = name.data();
  mode_t mode = existed ? (st.st_mode & 07777) : (0666 & ~CurrentUmask());
  if (::fchmod(fd_, mode) != 0) {
    error = path + ": " + ErrnoText(errno);
    Abort();
    return false;
  }
  if (existed) {
    // Keep the owner where we may (only root can give a file away); ignore refusal.
    if (::fchown(fd_, st.st_uid, st.st_gid) != 0) {
    }
  }
  return true;
}

bool AtomicFileWriter::Write(std::string_view bytes) {
  if (fd_ < 0 && err_ == 0) err_ = EBADF;
  if (err_ != 0) return false;
  if (!WriteAll(fd_, bytes)) {
    err_ = errno != 0 ? errno : EIO;
    return false;
  }
  written_ += bytes.size();
  hash_.Add(bytes);
  // Start writing out what has piled up, so that the disk works while the rest is being
  // made and the flush in Commit has little left to wait for. Commit's fsync still decides.
  constexpr uint64_t kStep = uint64_t{4} << 20;
  if (written_ - sentToDisk_ >= kStep) {
    ::sync_file_range(fd_, static_cast<off_t>(sentToDisk_), static_cast<off_t>(written_ - sentToDisk_),
                      SYNC_FILE_RANGE_WRITE);
    sentToDisk_ = written_;
  }
  return true;
}

bool AtomicFileWriter::Commit(std::string& error) {
  if (fd_ < 0 && err_ == 0) err_ = EBADF;
  auto fail = [&](int err) {
    error = path_ + ": " + ErrnoText(err);
    Abort();
    return false;
  };
  if (err_ != 0) return fail(err_);
  if (::fsync(fd_) != 0) return fail(errno);
  // The file keeps its inode and modification time through the rename.
  const FileStamp written = StampOfOpenFile(fd_, hash_.Value());
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) return fail(errno);
  if (::rename(temp_.c_str(), target_.c_str()) != 0) return fail(errno);
  temp_.clear();
  stamp_ = written;
  // Make the new directory entry durable too; a failure here no longer loses data.
  int dfd = ::open(dir_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return true;
}

void AtomicFileWriter::Abort() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

bool WriteFileAtomic(const std::string& path, std::string_view bytes, std::string& error) {
  AtomicFileWriter out;
  if (!out.Open(path, error)) return false;
  out.Write(bytes);
  return out.Commit(error);
}

bool PathExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace plat
