// File stamps: the status and byte hash of a file as it was read or written.
#include "filestamp.h"

#include <sys/stat.h>

#include "textfile.h"

namespace plat {

void BytesHash::Add(std::string_view bytes) {
  uint64_t h = h_;
  for (unsigned char c : bytes) {
    h ^= c;
    h *= 1099511628211ull;
  }
  h_ = h;
}

uint64_t HashOfBytes(std::string_view bytes) {
  BytesHash h;
  h.Add(bytes);
  return h.Value();
}

namespace {

FileStamp StampOfStatus(const struct stat& st, uint64_t hash) {
  FileStamp s;
  s.known = true;
  s.device = static_cast<uint64_t>(st.st_dev);
  s.inode = static_cast<uint64_t>(st.st_ino);
  s.size = static_cast<uint64_t>(st.st_size);
  s.mtimeNs = static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  s.hash = hash;
  return s;
}

}  // namespace

FileStamp StampOfOpenFile(int fd, uint64_t hash) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) return {};
  return StampOfStatus(st, hash);
}

bool SameStatus(const FileStamp& a, const FileStamp& b) {
  return a.device == b.device && a.inode == b.inode && a.size == b.size && a.mtimeNs == b.mtimeNs;
}

FileCheck CheckFileStamp(const std::string& path, FileStamp& stamp) {
  if (!stamp.known) return FileCheck::Same;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return FileCheck::Missing;
  if (SameStatus(StampOfStatus(st, 0), stamp)) return FileCheck::Same;
  std::string bytes, error;
  FileStamp now;
  if (!ReadFileBytes(path, bytes, error, &now)) return FileCheck::Changed;
  if (bytes.size() != stamp.size || now.hash != stamp.hash) return FileCheck::Changed;
  stamp = now;
  return FileCheck::Same;
}

bool SameFile(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  struct stat sa {
  }, sb{};
  if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return a == b;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

}  // namespace plat
