// The definition-script reader: one script file into a window's document record.
//
// ReadScript is the pure part: it resets the record's script fields, reads every directive,
// the lane block and the help blocks, and sizes the lane, definition and object tables.
// ScrRead is the chart window's entry point: the pure part for a registered script, then the
// window's own steps through ScriptWindowSteps.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "chartfmt/docdata.h"
#include "chartfmt/scriptmsg.h"

namespace mk {

class ScriptWindowSteps;

// A list value of a script split at every ",", pieces unchanged (empty ones included); with a
// limit, at most that many pieces, the last taking the rest of the value. An empty value has
// no pieces.
std::vector<std::string> SplitScriptList(const std::string& value, size_t limit = 0);

// Most lanes a script may describe: every lane costs grid memory in each chart and rows of the
// sprite sheets, so a script with more is refused like any other faulty script.
constexpr int kMaxScriptLanes = 1000;

struct ScriptReadResult {
  bool ok = true;
  ScriptMessage message;   // set when !ok: the fault, fatal for a faulty script
  bool scrollSet = false;  // a "#SCRL " line was read: the window applies ScrlUp at once
};

// Reads a script given as decoded lines (UTF-8). name is the file name that messages show.
// info receives the help text (each line followed by CR LF).
ScriptReadResult ReadScriptLines(const std::vector<std::string>& lines, const std::string& name, DocData& doc,
                                 std::string& info);

// Reads the script file at path (CP932). A file that cannot be read gives a non-fatal error:
// the window that wanted it is not opened, the rest of the program goes on.
ScriptReadResult ReadScript(const std::string& path, DocData& doc, std::string& info);

// Reads script scriptNo of g_ScriptTable into doc (its Info rebuilt) and, when that worked,
// runs the window's steps: definition list rows, sprites, scroll range, caption, drawing.
// Returns the message to show when it did not work (message.fatal: the program ends).
ScriptReadResult ScrRead(int16_t scriptNo, DocData& doc, ScriptWindowSteps& window);

}  // namespace mk
