// The message for command-line files that no script reads.
#include "frame/unopened.h"

#include <filesystem>
#include <system_error>

#include "frame/queryopen.h"

namespace mk {

namespace {

std::string Reason(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_status s = fs::status(fs::path(path), ec);
  if (!fs::exists(s)) return "ファイルが見つかりません";
  if (fs::is_directory(s)) return "フォルダです";
  const std::string ext = FileExtension(FileTitle(path).empty() ? path : FileTitle(path));
  if (ext.empty()) return "拡張子がないため、読むスクリプトが決まりません";
  return "拡張子「." + ext + "」を読むスクリプトがありません";
}

}  // namespace

std::string UnopenedFilesMessage(const std::vector<std::string>& paths) {
  std::string text = "次のファイルは開けませんでした。";
  for (size_t i = 0; i < paths.size() && i < kUnopenedListed; ++i)
    text += "\r\n\r\n" + paths[i] + "\r\n    " + Reason(paths[i]);
  if (paths.size() > kUnopenedListed)
    text += "\r\n\r\nほか " + std::to_string(paths.size() - kUnopenedListed) + " 個のファイル";
  return text;
}

}  // namespace mk
