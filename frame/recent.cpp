#include "frame/recent.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "chartfmt/scriptreg.h"
#include "chartfmt/utils.h"
#include "frame/queryopen.h"

namespace mk {

std::string LastChartFolder(const std::vector<std::string>& files) {
  return files.empty() ? std::string() : FileFolder(files[0]);
}

void AddRecentEntry(std::vector<std::string>& files, std::vector<std::string>& scripts,
                    std::vector<std::string>& scriptFiles, const std::string& path, const std::string& scriptTitle,
                    const std::string& scriptFile) {
  if (path.empty() || files.empty()) return;
  if (scripts.size() < files.size()) scripts.resize(files.size());
  if (scriptFiles.size() < files.size()) scriptFiles.resize(files.size());
  size_t p = files.size() - 1;
  for (size_t i = 0; i < files.size(); ++i)
    if (files[i] == path) {
      p = i;
      break;
    }
  for (size_t i = p; i > 0; --i) {
    files[i] = std::move(files[i - 1]);
    scripts[i] = std::move(scripts[i - 1]);
    scriptFiles[i] = std::move(scriptFiles[i - 1]);
  }
  files[0] = path;
  scripts[0] = scriptTitle;
  scriptFiles[0] = scriptFile;
}

void CanonicalRecentList(std::vector<std::string>& files, std::vector<std::string>& scripts,
                         std::vector<std::string>& scriptFiles) {
  if (scripts.size() < files.size()) scripts.resize(files.size());
  if (scriptFiles.size() < files.size()) scriptFiles.resize(files.size());
  size_t kept = 0;
  for (size_t i = 0; i < files.size(); ++i) {
    if (files[i].empty()) break;
    const std::string path = ChartPathCanonical(files[i]);
    if (std::find(files.begin(), files.begin() + kept, path) != files.begin() + kept) continue;
    files[kept] = path;
    scripts[kept] = scripts[i];
    scriptFiles[kept] = scriptFiles[i];
    ++kept;
  }
  for (size_t i = kept; i < files.size(); ++i) {
    files[i].clear();
    scripts[i].clear();
    scriptFiles[i].clear();
  }
}

std::string RecentCaption(int index, const std::string& path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out = "&";
  out += kHex[index & 15];
  out += ' ';
  for (char c : path) {
    if (c == '&') out += '&';
    out += c;
  }
  return out;
}

int16_t RecentEntryScript(const std::string& scriptFile, const std::string& title) {
  if (!scriptFile.empty()) return ScriptByFileName(scriptFile);
  int16_t found = 0;
  for (int i = 1; i <= g_ScriptCount && i < static_cast<int>(g_ScriptTable.size()); ++i) {
    if (g_ScriptTable[i].Title != title) continue;
    if (found != 0) return 0;  // which of them read it is not known
    found = static_cast<int16_t>(i);
  }
  return found;
}

bool RecentEntryUsable(const std::string& path, const std::string& scriptFile, const std::string& scriptTitle) {
  if (FileExists(path) == 0) return false;
  if (RecentEntryScript(scriptFile, scriptTitle) != 0) return true;
  const ScriptByExtension pick = ChooseScriptByExtension(path);
  return pick.script != 0 || !pick.candidates.empty();
}

OpenTarget FileOpenTarget(bool anyOpen, int16_t firstOpen, bool untitledCaption, bool dirty) {
  if (!anyOpen) return OpenTarget::NewWindow;
  if (firstOpen != 0 && (!untitledCaption || dirty)) return OpenTarget::NewWindow;
  return OpenTarget::Current;
}

OpenTarget RecentOpenTarget(int16_t openCount, bool currentOpen, bool dirty) {
  return openCount == 1 && currentOpen && !dirty ? OpenTarget::Current : OpenTarget::NewWindow;
}

bool ChartFileReadable(const std::string& path, std::string& reason) {
  std::error_code ec;
  const std::filesystem::path p(path);
  if (path.empty() || !std::filesystem::exists(p, ec)) {
    reason = "ファイルが見つかりません";
    return false;
  }
  if (!std::filesystem::is_regular_file(p, ec)) {
    reason = "ファイルではありません";
    return false;
  }
  std::ifstream in(p, std::ios::binary);
  if (!in) {
    reason = "ファイルを開けません";
    return false;
  }
  return true;
}

}  // namespace mk
