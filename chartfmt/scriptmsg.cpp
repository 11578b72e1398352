#include "chartfmt/scriptmsg.h"

#include <utility>

namespace mk {

ScriptMessage ScriptError(std::string text, bool fatal) {
  ScriptMessage m;
  m.text = std::move(text);
  m.title = "エラー";
  m.icon = plat::MsgIcon::Critical;
  m.fatal = fatal;
  return m;
}

ScriptMessage ScriptLineError(const std::string& name, int lineNo, const std::string& reason) {
  return ScriptError("スクリプトファイル " + name + " の " + std::to_string(lineNo) + " 行目" + reason, true);
}

ScriptMessage ScriptLinesError(const std::string& name, int lineNo, int otherLine, const std::string& reason) {
  if (otherLine == 0 || otherLine == lineNo) return ScriptLineError(name, lineNo, reason);
  return ScriptError("スクリプトファイル " + name + " の " + std::to_string(lineNo) + " 行目と " +
                         std::to_string(otherLine) + " 行目" + reason,
                     true);
}

ScriptMessage ScriptOpenError(const std::string& name, bool fatal) {
  return ScriptError("スクリプトファイル " + name + " を開けません", fatal);
}

std::string StartEndingText(const ScriptMessage& m) {
  std::string text = m.text + "\r\n\r\nプログラムを終了します。\r\n";
  if (m.file.empty()) return text + "インストールフォルダに定義スクリプト (*.dfn) を置いてから起動し直してください。";
  return text + m.file + " を直すか取り除いてから起動し直してください。";
}

}  // namespace mk
