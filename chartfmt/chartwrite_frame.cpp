// The writer as the frame calls it: selection into the grid, the write, then the chart's new name
// and the recent-file entry; and where the scratch files go.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "chartfmt/chartwrite.h"
#include "chartfmt/globals.h"

namespace mk {

namespace {

ChartWriteHost* g_writeHost = nullptr;

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

void EnsureSlash(std::string& folder) {
  if (folder.empty() || folder.back() != '/') folder += '/';
}

std::string RealFolder(const std::string& folder) {
  char buf[PATH_MAX];
  if (!realpath(folder.c_str(), buf)) return {};
  std::string real = buf;
  EnsureSlash(real);
  return real;
}

bool IsWritableFolder(const std::string& folder) {
  struct stat st {};
  return !folder.empty() && stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
         access(folder.c_str(), W_OK | X_OK) == 0;
}

// A folder of our own under base: created private, refused when someone else owns it or can
// write into it.
std::string PrivateFolder(const std::string& path) {
  if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return {};
  struct stat st {};
  if (lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid()) return {};
  if ((st.st_mode & 077) != 0 && chmod(path.c_str(), 0700) != 0) return {};
  return RealFolder(path);
}

}  // namespace

ChartWriteHost* SetChartWriteHost(ChartWriteHost* host) {
  ChartWriteHost* previous = g_writeHost;
  g_writeHost = host;
  return previous;
}

bool ChartWrite(const std::string& path, const std::string& title, int16_t window, int16_t script, int16_t scratch,
                std::string* error) {
  std::string message;
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  if (window < 1 || window >= static_cast<int>(g_Docs.size())) return fail("ウィンドウがありません");
  if (g_writeHost) g_writeHost->ObjDeSel(window);
  DocData& doc = g_Docs[window];

  std::string folder;
  if (EndsWith(path, title)) {
    folder = path.substr(0, path.size() - title.size());
  } else {
    size_t slash = path.rfind('/');
    folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  }
  EnsureSlash(folder);
  if (scratch != 0) EnsureSlash(doc.Folder);

  plat::FileStamp stamp;
  if (!WriteChartFile(path, doc, scratch, message, &stamp)) return fail(message);
  if (scratch == 0) {
    doc.Folder = folder;
    doc.FileName = title;
    doc.FilePath = path;
    doc.Stamp = stamp;
    if (g_writeHost) g_writeHost->AddRecentFile(path, script);
  }
  return true;
}

std::string ScratchFilePath(const std::string& name) {
  std::string install = g_InstallDir;
  EnsureSlash(install);
  if (!g_InstallDir.empty() && IsWritableFolder(install)) {
    std::string real = RealFolder(install);
    if (!real.empty()) return real + name;
  }
  std::string own;
  const char* runtime = std::getenv("XDG_RUNTIME_DIR");
  if (runtime && *runtime && IsWritableFolder(runtime)) own = PrivateFolder(std::string(runtime) + "/mirkan");
  if (own.empty()) own = PrivateFolder("/tmp/mirkan-" + std::to_string(geteuid()));
  return own.empty() ? std::string() : own + name;
}

}  // namespace mk
