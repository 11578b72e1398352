// A message that reading the definition scripts hands to the frame: the frame shows it and,
// for a fatal one, ends the program. The readers themselves never show or end anything.
#pragma once
#include <string>

#include "platform/core/desktop.h"

namespace mk {

struct ScriptMessage {
  std::string text;   // empty: nothing to show
  std::string title;  // "エラー" or "警告"
  plat::MsgIcon icon = plat::MsgIcon::None;
  bool fatal = false;  // the program ends once the message is shown
  std::string file;    // the script at fault where there is one (its path)

  bool empty() const { return text.empty(); }
};

// An error box (title "エラー", critical icon); fatal ones end the program.
ScriptMessage ScriptError(std::string text, bool fatal);

// "スクリプトファイル <name> の <lineNo> 行目<reason>": a fatal fault at one line of a script.
ScriptMessage ScriptLineError(const std::string& name, int lineNo, const std::string& reason);

// "スクリプトファイル <name> の <lineNo> 行目と <otherLine> 行目<reason>": a fatal fault between two
// lines of a script (one line alone when otherLine is 0 or the same).
ScriptMessage ScriptLinesError(const std::string& name, int lineNo, int otherLine, const std::string& reason);

// "スクリプトファイル <name> を開けません".
ScriptMessage ScriptOpenError(const std::string& name, bool fatal);

// The text of a fatal message that ends the start: the message, that the program ends, and the
// script to mend or take away (or, without one, that the install folder needs a script).
std::string StartEndingText(const ScriptMessage& m);

}  // namespace mk
