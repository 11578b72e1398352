#include "frame/queryopen.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "chartfmt/globals.h"
#include "chartfmt/scriptreg.h"
#include "frame/settings.h"
#include "platform/core/ansitext.h"
#include "platform/core/filestamp.h"

namespace mk {

std::string FileExtension(const std::string& path) {
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot + 1 == path.size()) return {};
  return path.substr(dot + 1);
}

std::string FileTitle(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(slash + 1);
}

std::string FileFolder(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::vector<int16_t> CandidateScripts(const std::string& ext) {
  std::vector<int16_t> out;

  for (int i = 1; i <= g_ScriptCount && i < static_cast<int>(g_ScriptTable.size()); ++i) {
    const std::string& list = g_ScriptTable[i].Exts;
    size_t start = 0;
    for (;;) {
      const size_t comma = list.find(',', start);
      const std::string entry = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
      if (plat::EqualsNoCase(entry, ext)) {
        out.push_back(static_cast<int16_t>(i));
        break;
      }
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
  }
  return out;
}

ScriptByExtension ChooseScriptByExtension(const std::string& path, int16_t preferred) {
  const std::string ext = FileExtension(path);
  std::vector<int16_t> claim = ext.empty() ? std::vector<int16_t>() : CandidateScripts(ext);
  const bool known = preferred >= 1 && preferred <= g_ScriptCount && preferred < static_cast<int>(g_ScriptTable.size());
  if (claim.size() == 1) return {claim[0], {}};
  if (claim.empty()) return {known ? preferred : int16_t{0}, {}};
  if (known && std::find(claim.begin(), claim.end(), preferred) != claim.end()) return {preferred, {}};
  return {0, std::move(claim)};
}

int16_t FirstFreeSlot() {
  for (int i = 0; i < g_MaxWindows && i < static_cast<int>(g_SlotUsed.size()); ++i)
    if (g_SlotUsed[i] == 0) return static_cast<int16_t>(i + 1);
  return 0;
}

std::string WindowLimitText() { return std::to_string(g_MaxWindows) + "個以上のウインドウを開くことはできません"; }

std::string ShortPathText(const std::string& path) {
  if (plat::CharLen(path) <= 40) return path;
  return "..." + plat::CharRight(path, 37);
}

std::string CommandLinePath(const std::string& arg, const std::string& cwd) {
  if (arg.empty() || arg[0] == '/' || cwd.empty()) return ChartPathCanonical(arg);
  return ChartPathCanonical(cwd.back() == '/' ? cwd + arg : cwd + "/" + arg);
}

std::string ChartPathCanonical(const std::string& path) {
  namespace fs = std::filesystem;
  if (path.empty()) return path;
  std::error_code ec;
  fs::path p = fs::absolute(fs::path(path), ec);
  if (ec) p = fs::path(path);
  const fs::path name = p.filename();
  // The folder as the system walks it: ".." after a linked folder leads to the link's target's
  // parent, which the text alone cannot know.
  const bool isFile = !name.empty() && name != "." && name != "..";
  const fs::path folder = isFile ? p.parent_path() : p;
  fs::path real = fs::weakly_canonical(folder, ec);
  if (ec) real = folder.lexically_normal();
  return (isFile ? real / name : real).string();
}

int16_t WindowOfFile(const std::string& path) {
  if (path.empty()) return 0;
  for (size_t i = 0; i < g_SlotUsed.size() && i + 1 < g_Docs.size(); ++i) {
    const DocData& d = g_Docs[i + 1];
    if (g_SlotUsed[i] != 0 && !d.FilePath.empty() && plat::SameFile(d.FilePath, path))
      return static_cast<int16_t>(i + 1);
  }
  return 0;
}

std::string ChangedOnDiskQuestion(const std::string& path) {
  return path +
         "\r\nこのファイルは、このウインドウで読み込んだか保存したあとに変更されています。\r\n上書きしてよろしいですか"
         "？";
}

std::string DefinitionFolderNote(const std::string& chartPath, const std::string& defFolder) {
  return "譜面ファイル\r\n" + chartPath + "\r\nと定義ファイル（WAV・BGA・ヘッダのファイル）のフォルダ\r\n" + defFolder +
         "\r\nが異なります。\r\n譜面には定義ファイルの名前だけが書かれるため、譜面ファイルのフォルダのままでは"
         "定義ファイルが見つかりません。\r\n保存先を選んで下さい（定義ファイルのフォルダから始めます）。";
}

}  // namespace mk
