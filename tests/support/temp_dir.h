// A fresh folder for one test, removed with everything in it when the object goes.
#pragma once
#include <string>
#include <string_view>

namespace testsupport {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The folder, without a trailing "/".
  const std::string& path() const { return path_; }
  // path() + "/" + name.
  std::string Path(std::string_view name) const;
  // Writes raw bytes to name (folders on the way are created); returns the full path.
  std::string Write(std::string_view name, std::string_view bytes) const;
  // Raw bytes of name; empty when it does not exist.
  std::string Read(std::string_view name) const;
  bool Exists(std::string_view name) const;

 private:
  std::string path_;
};

// Raw bytes of a file at a full path ("" when it cannot be read), and writing them.
std::string ReadAll(const std::string& path);
bool WriteAll(const std::string& path, std::string_view bytes);

}  // namespace testsupport
