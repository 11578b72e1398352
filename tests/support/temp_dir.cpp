#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

namespace testsupport {

TempDir::TempDir() {
  const char* base = std::getenv("TMPDIR");
  std::string tmpl = std::string(base && *base ? base : "/tmp") + "/mirkan-test-XXXXXX";
  std::vector<char> buf(tmpl.begin(), tmpl.end());
  buf.push_back('\0');
  if (::mkdtemp(buf.data()) == nullptr) {
    ADD_FAILURE() << "cannot create a temporary folder from " << tmpl;
    return;
  }
  // Its real path: code that puts paths into their canonical form gives back the same text.
  std::error_code ec;
  const std::filesystem::path real = std::filesystem::canonical(buf.data(), ec);
  path_ = ec ? std::string(buf.data()) : real.string();
}

TempDir::~TempDir() {
  if (path_.empty()) return;
  std::error_code ec;
  // Folders made read-only by a test are opened up again so that they can be removed.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
    std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
  }
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::Path(std::string_view name) const { return path_ + "/" + std::string(name); }

std::string TempDir::Write(std::string_view name, std::string_view bytes) const {
  std::string p = Path(name);
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(p).parent_path(), ec);
  if (!WriteAll(p, bytes)) ADD_FAILURE() << "cannot write " << p;
  return p;
}

std::string TempDir::Read(std::string_view name) const { return ReadAll(Path(name)); }

bool TempDir::Exists(std::string_view name) const {
  std::error_code ec;
  return std::filesystem::exists(Path(name), ec);
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::string();
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

bool WriteAll(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

}  // namespace testsupport
