#include "chartfmt/scriptreg.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "chartfmt/scriptread.h"
#include "platform/core/ansitext.h"
#include "platform/core/textfile.h"

namespace mk {

std::vector<ScriptEntry> g_ScriptTable{ScriptEntry{}};
int16_t g_ScriptCount = 0;
int16_t g_DefaultScript = 0;
std::string g_OpenFilter;

namespace {

// A "|" inside a title or an extension would split the filter into extra entries and shift the
// entry of every later script; it is shown as "/" instead.
std::string FilterText(std::string s) {
  for (char& c : s) {
    if (c == '|') c = '/';
  }
  return s;
}

}  // namespace

std::string FilterPair(const std::string& title, const std::string& exts) {
  std::string pair = FilterText(title) + "|";
  const std::vector<std::string> pieces = SplitScriptList(exts);
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) pair += ";";
    pair += "*." + FilterText(plat::AsciiLower(pieces[i]));
  }
  return pair;
}

std::string ScriptFileName(const std::vector<ScriptEntry>& table, int i) {
  if (i < 1 || i >= static_cast<int>(table.size())) return {};
  const std::string& path = table[i].Path;
  return path.substr(path.rfind('/') + 1);  // npos + 1: the whole path
}

int16_t ScriptByFileName(const std::string& name) {
  if (name.empty()) return 0;
  for (int i = 1; i <= g_ScriptCount && i < static_cast<int>(g_ScriptTable.size()); ++i)
    if (ScriptFileName(g_ScriptTable, i) == name) return static_cast<int16_t>(i);
  return 0;
}

std::string ScriptLabel(const std::vector<ScriptEntry>& table, int i) {
  if (i < 1 || i >= static_cast<int>(table.size())) return {};
  const std::string& title = table[i].Title;
  for (int j = 1; j < static_cast<int>(table.size()); ++j)
    if (j != i && table[j].Title == title) return title + " (" + ScriptFileName(table, i) + ")";
  return title;
}

std::vector<std::string> ListScriptFiles(const std::string& folder) {
  namespace fs = std::filesystem;
  std::vector<std::string> names;
  std::error_code ec;
  fs::directory_iterator it(folder.empty() ? fs::path(".") : fs::path(folder), ec);
  if (ec) return names;
  for (const fs::directory_entry& e : it) {
    std::error_code fec;
    // Folders are no scripts, and pipes or devices are never opened (reading them could block).
    if (e.is_directory(fec) || e.is_fifo(fec) || e.is_socket(fec) || e.is_block_file(fec) || e.is_character_file(fec)) {
      continue;
    }
    std::string name = e.path().filename().string();
    if (name.size() >= 4 && plat::EqualsNoCase(name.substr(name.size() - 4), ".dfn")) {
      names.push_back(name);
    }
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    std::string la = plat::AsciiLower(a), lb = plat::AsciiLower(b);
    return la != lb ? la < lb : a < b;
  });
  return names;
}

namespace {

// Checks one script and fills Title and Exts; an error message when the script is unusable.
ScriptMessage RegisterOne(const std::string& name, ScriptEntry& entry) {
  std::vector<std::string> lines;
  std::string error;
  if (!plat::ReadTextLines(entry.Path, lines, error)) return ScriptOpenError(name, true);
  if (lines.empty() || plat::AsciiUpper(lines[0]) != "#DFN") {
    return ScriptError("不正なスクリプトファイル " + name + " が見つかりました", true);
  }
  if (lines.size() >= 2) entry.Title = lines[1];
  for (size_t i = 2; i < lines.size(); ++i) {
    if (plat::StartsWithNoCase(lines[i], "#EXT")) {
      entry.Exts = plat::CharLen(lines[i]) > 5 ? plat::CharMid(lines[i], 6) : std::string();
      return {};
    }
  }
  return ScriptError("スクリプトファイル " + name + " 内に拡張子定義がありません", true);
}

}  // namespace

ScriptList ScanScripts(const std::string& folder, const std::string& defExt) {
  ScriptList list;
  const std::vector<std::string> names = ListScriptFiles(folder);
  if (names.empty()) {
    list.message = ScriptError("インストールフォルダ " + folder + " にスクリプトファイルが見つかりません", true);
    return list;
  }
  const std::string wanted = plat::AsciiUpper(defExt);
  for (const std::string& name : names) {
    if (list.count == INT16_MAX) break;  // the table is numbered with 16-bit script numbers
    ScriptEntry entry;
    entry.Path = folder + name;
    list.message = RegisterOne(name, entry);
    if (!list.message.empty()) {
      list.message.file = entry.Path;
      return list;
    }
    list.table.push_back(entry);
    ++list.count;
    // An empty DefExt matches every script that lists any extension; the last match wins.
    if (!entry.Exts.empty() && plat::AsciiUpper(entry.Exts).find(wanted) != std::string::npos) {
      list.defaultScript = list.count;
    }
  }
  for (int i = 1; i <= list.count; ++i) {
    if (i > 1) list.openFilter += "|";
    list.openFilter += FilterPair(ScriptLabel(list.table, i), list.table[i].Exts);
  }
  if (list.defaultScript == 0) {
    list.message = ScriptError(defExt + "の定義スクリプトが見つかりません\r\n" + list.table[1].Title +
                                   "の定義をデフォルトとして使用します",
                               false);
    list.message.title = "警告";
    list.defaultScript = 1;
  }
  return list;
}

void ResetScriptList() {
  g_ScriptTable.assign(1, ScriptEntry{});
  g_ScriptCount = 0;
  g_DefaultScript = 0;
  g_OpenFilter.clear();
}

ScriptMessage LoadScriptList(const std::string& folder, const std::string& defExt) {
  ScriptList list = ScanScripts(folder, defExt);
  g_ScriptTable = std::move(list.table);
  g_ScriptCount = list.count;
  g_DefaultScript = list.defaultScript;
  g_OpenFilter = std::move(list.openFilter);
  return list.message;
}

}  // namespace mk
