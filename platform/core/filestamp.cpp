// File stamps: the status and byte hash of a file as it was read or written.
#include "filestamp.h"

#include <sys/stat.h>
#include <time.h>

#include <algorithm>
#include <cstring>

#include "textfile.h"

namespace plat {

namespace {

constexpr uint64_t kP1 = 0x9e3779b185ebca87ull, kP2 = 0xc2b2ae3d27d4eb4full, kP3 = 0x165667b19e3779f9ull,
                   kP4 = 0x85ebca77c2b2ae63ull, kP5 = 0x27d4eb2f165667c5ull;

uint64_t Rotl(uint64_t v, int r) { return (v << r) | (v >> (64 - r)); }

uint64_t Word(const unsigned char* p) {
  uint64_t w;
  std::memcpy(&w, p, sizeof w);
  return w;
}

uint64_t Round(uint64_t acc, uint64_t w) { return Rotl(acc + w * kP2, 31) * kP1; }

}  // namespace

void BytesHash::Block(const unsigned char* p) {
  for (int i = 0; i < 4; ++i) lane_[i] = Round(lane_[i], Word(p + 8 * i));
}

void BytesHash::Add(std::string_view bytes) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  size_t n = bytes.size();
  length_ += n;
  if (pendingCount_ > 0) {
    const size_t take = std::min(n, sizeof pending_ - pendingCount_);
    std::memcpy(pending_ + pendingCount_, p, take);
    pendingCount_ += take;
    p += take;
    n -= take;
    if (pendingCount_ < sizeof pending_) return;
    Block(pending_);
    pendingCount_ = 0;
  }
  for (; n >= sizeof pending_; p += sizeof pending_, n -= sizeof pending_) Block(p);
  if (n > 0) std::memcpy(pending_, p, n);
  pendingCount_ = n;
}

uint64_t BytesHash::Value() const {
  uint64_t h = Rotl(lane_[0], 1) + Rotl(lane_[1], 7) + Rotl(lane_[2], 12) + Rotl(lane_[3], 18);
  h += length_;
  size_t i = 0;
  for (; i + 8 <= pendingCount_; i += 8) h = Rotl(h ^ Round(0, Word(pending_ + i)), 27) * kP1 + kP4;
  for (; i < pendingCount_; ++i) h = Rotl(h ^ (pending_[i] * kP5), 11) * kP1;
  h ^= h >> 33;
  h *= kP2;
  h ^= h >> 29;
  h *= kP3;
  h ^= h >> 32;
  return h;
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
  // The clock first: a write after this moment is what the status may not tell apart.
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  struct stat st {};
  if (::fstat(fd, &st) != 0) return {};
  FileStamp s = StampOfStatus(st, hash);
  s.takenNs = static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
  return s;
}

bool SameStatus(const FileStamp& a, const FileStamp& b) {
  return a.device == b.device && a.inode == b.inode && a.size == b.size && a.mtimeNs == b.mtimeNs;
}

FileCheck CheckFileStamp(const std::string& path, FileStamp& stamp) {
  if (!stamp.known) return FileCheck::Same;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return FileCheck::Missing;
  // A stamp taken soon after the file was modified can't vouch for the bytes by the status alone.
  const bool racy = stamp.mtimeNs > stamp.takenNs - kStampTimeSlack;
  if (!racy && SameStatus(StampOfStatus(st, 0), stamp)) return FileCheck::Same;
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
