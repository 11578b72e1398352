// What a file held when a window read or wrote it: kept to tell later, cheaply, whether the file
// on disk is still that one, and whether two paths name one file.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace plat {

// A 64-bit hash of bytes, fed piece by piece: however the bytes are cut into pieces, the value is
// that of the whole. It takes 32 bytes a step in four independent lanes, so that hashing a chart
// as it is read or written costs little beside the read or write itself.
class BytesHash {
 public:
  void Add(std::string_view bytes);
  uint64_t Value() const;

 private:
  void Block(const unsigned char* p);

  uint64_t lane_[4] = {0x60ea27eeadc0b5d6ull, 0xc2b2ae3d27d4eb4full, 0ull, 0x61c8864e7a143579ull};
  unsigned char pending_[32] = {};
  size_t pendingCount_ = 0;
  uint64_t length_ = 0;
};
uint64_t HashOfBytes(std::string_view bytes);

// A file's status as the system keeps it, and the hash of the bytes it held then.
struct FileStamp {
  bool known = false;  // false: no file was read or written (nothing to compare with)
  uint64_t device = 0;
  uint64_t inode = 0;
  uint64_t size = 0;
  int64_t mtimeNs = 0;  // modification time, nanoseconds since the epoch
  uint64_t hash = 0;
  int64_t takenNs = 0;  // the clock when the status was taken, nanoseconds since the epoch
};

// The status of the open file fd with the hash of the bytes it holds; unknown when the status
// cannot be had.
FileStamp StampOfOpenFile(int fd, uint64_t hash);

// True when a and b carry the same status (device, inode, size, modification time).
bool SameStatus(const FileStamp& a, const FileStamp& b);

enum class FileCheck {
  Same,     // the file holds the bytes the stamp was taken of (or the stamp is unknown)
  Changed,  // it holds other bytes, or cannot be read
  Missing   // there is no file at the path (nothing, or a folder)
};
// Whether the file at path still holds the bytes stamp was taken of. While the file's status is
// the stamp's, nothing is read, unless the file had been modified less than kStampTimeSlack
// before the stamp was taken: file systems keep modification times only so finely (FAT: 2 s), and
// a write of as many bytes within that span can leave the status as it was. Otherwise the bytes
// are read and compared by size and hash. When they are the same, stamp takes the file's new
// status, so that the next check is cheap again.
inline constexpr int64_t kStampTimeSlack = 2'000'000'000;  // nanoseconds
FileCheck CheckFileStamp(const std::string& path, FileStamp& stamp);

// True when a and b name one file (the same device and inode, whatever links or "." and ".."
// steps lead there); when either cannot be looked at, when their texts are equal. An empty path
// names no file.
bool SameFile(const std::string& a, const std::string& b);

}  // namespace plat
