// Reading and writing text files line by line, CP932 on disk, UTF-8 in memory.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "filestamp.h"

namespace plat {

// Splits raw bytes into lines. A line ends at CR LF, at a lone CR, or at a lone LF;
// the terminator is not part of the line. A final line without terminator is kept;
// an empty input gives no lines, and a text ending in a terminator gives no extra empty line.
std::vector<std::string> SplitLines(std::string_view bytes);

// Whole file into memory. False with a reason ("ファイルを開けません" style texts are the
// caller's) when the file cannot be opened or read. stamp (when given) receives the file's
// status as it was before the bytes were read, with the hash of the bytes read.
bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error, FileStamp* stamp = nullptr);

// Reads a CP932 text file as UTF-8 lines.
bool ReadTextLines(const std::string& path, std::vector<std::string>& lines, std::string& error);

// Writes bytes to a temporary file in the target's folder and renames it over the target only
// when everything was written and flushed. On failure the old file is untouched.
bool WriteFileAtomic(const std::string& path, std::string_view bytes, std::string& error);

// The same replace for a text that is made piece by piece: the pieces go to a temporary file
// in the target's folder as they come, and Commit flushes it to disk and renames it over the
// target. Until Commit succeeds the old file is untouched; a writer that is destroyed or
// aborted without a successful Commit removes its temporary file.
class AtomicFileWriter {
 public:
  AtomicFileWriter() = default;
  ~AtomicFileWriter() { Abort(); }
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // Checks the target and makes the temporary file. False with a reason when it cannot.
  bool Open(const std::string& path, std::string& error);
  // Appends bytes. After a failure every later call does nothing and returns false; Commit
  // then reports the reason.
  bool Write(std::string_view bytes);
  // Flushes, closes and renames. False with a reason (the temporary file removed) on failure.
  bool Commit(std::string& error);
  // After a successful Commit: the new file's status with the hash of the bytes written.
  const FileStamp& Stamp() const { return stamp_; }
  // Drops the temporary file, if any.
  void Abort();

 private:
  std::string path_;    // as the caller named it (for messages)
  std::string target_;  // the file replaced (a symbolic link followed)
  std::string dir_;
  std::string temp_;
  int fd_ = -1;
  int err_ = 0;              // errno of the first failed write
  uint64_t written_ = 0;     // bytes in the temporary file
  uint64_t sentToDisk_ = 0;  // bytes whose writing out has been started
  BytesHash hash_;
  FileStamp stamp_;
};

bool PathExists(const std::string& path);  // file or folder
bool IsRegularFile(const std::string& path);

}  // namespace plat
