// The script registry: every "*.dfn" file of the install folder, checked by its first lines,
// numbered from 1 in name order. The frame builds File > New, the New button's list and the
// open dialog's filter from it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "chartfmt/scriptmsg.h"

namespace mk {

struct ScriptEntry {
  std::string Path;   // install folder + file name
  std::string Title;  // the script's second line, as written
  std::string Exts;   // text after the first five characters of the "#EXT" line, e.g. "NXL,ABC"
  std::string Info;   // help text ("#HELP" .. "#EOH"), rebuilt by each reading of the script
};

extern std::vector<ScriptEntry> g_ScriptTable;  // entries 0..g_ScriptCount, entry 0 unused
extern int16_t g_ScriptCount;
extern int16_t g_DefaultScript;
extern std::string g_OpenFilter;  // "Label|*.a;*.b|Label|*.c" (ScriptLabel), entry i = script i

struct ScriptList {
  std::vector<ScriptEntry> table{ScriptEntry{}};  // entry 0 unused
  int16_t count = 0;
  int16_t defaultScript = 0;
  std::string openFilter;
  ScriptMessage message;  // a warning, or a fatal error (then the table is incomplete)
};

// One filter pair: title, "|", then "*." + each comma-separated extension in lower case,
// joined by ";" (no extension: the pair ends with "|" and still holds its place). A "|" in the
// title or an extension is written as "/", so entry i of the filter stays script i.
std::string FilterPair(const std::string& title, const std::string& exts);

// The name of script i's file (its Path after the last "/"); empty for a number outside table.
std::string ScriptFileName(const std::vector<ScriptEntry>& table, int i);
// The registered script read from the file named name (exactly); 0 when none is.
int16_t ScriptByFileName(const std::string& name);
// How script i is named where the user chooses among scripts (File > New, the New button's
// list, the script-choice dialog, the open dialog's file types): its title, and where another
// script of table has the same title, its file name in brackets after it ("T (b.dfn)").
std::string ScriptLabel(const std::vector<ScriptEntry>& table, int i);

// The "*.dfn" files of a folder (case ignored), in name order.
std::vector<std::string> ListScriptFiles(const std::string& folder);

// Registers the scripts of folder (which ends in "/"); defExt is the DefExt setting.
// Fills nothing global.
ScriptList ScanScripts(const std::string& folder, const std::string& defExt);

// ScanScripts, then the result becomes g_ScriptTable, g_ScriptCount, g_DefaultScript and
// g_OpenFilter. Returns the message the frame shows (fatal: the frame ends the program).
ScriptMessage LoadScriptList(const std::string& folder, const std::string& defExt);

// Empties the registry globals: no script, no default, no filter (the state before start-up).
void ResetScriptList();

}  // namespace mk
