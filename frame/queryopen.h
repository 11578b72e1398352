// Plain steps of opening a file by its extension and of the window table.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace mk {

// Text after the last "." of the whole path; empty when there is none or the path ends with it.
std::string FileExtension(const std::string& path);
// Text after the last "/"; empty when the path holds none.
std::string FileTitle(const std::string& path);
// Text up to and with the last "/"; empty when the path holds none.
std::string FileFolder(const std::string& path);
// Scripts 1..g_ScriptCount whose comma-separated extension list holds ext (case ignored,
// entries compared whole), in script order.
std::vector<int16_t> CandidateScripts(const std::string& ext);
// The one choice of a file's script by its extension, shared by the command line, drops, File >
// Open and the recent list: the one script whose "#EXT" list holds the extension; where several
// do, preferred (File > Open's file type) when it is among them; where none does, preferred.
// When several remain, script is 0 and candidates lists them in script order for the user to
// choose from; when nothing fits (no script claims the extension and nothing is preferred), both
// are empty. preferred 0 prefers nothing.
struct ScriptByExtension {
  int16_t script = 0;
  std::vector<int16_t> candidates;
};
ScriptByExtension ChooseScriptByExtension(const std::string& path, int16_t preferred = 0);

// Lowest free window number (1-based), or 0 when every slot is taken.
int16_t FirstFreeSlot();
// "<g_MaxWindows>個以上のウインドウを開くことはできません".
std::string WindowLimitText();
// The path as the script-choice dialog shows it: whole up to 40 characters, else "..." and
// the last 37.
std::string ShortPathText(const std::string& path);
// A command-line argument as a path: taken whole, made absolute against cwd when relative, then
// in its one canonical form (ChartPathCanonical).
std::string CommandLinePath(const std::string& arg, const std::string& cwd);
// The one form a chart's path takes in the windows and the recent list, whichever way it was
// given: absolute, its folder with "." and ".." steps and symbolic links resolved, the file's
// own name kept as given (a linked chart keeps the folder it was opened from). A folder that
// does not exist (any more) is made plain by its text alone. An empty path stays empty.
std::string ChartPathCanonical(const std::string& path);

// The open window (by g_SlotUsed) whose chart's own file is the file at path, however either path is
// spelt (links, "." and ".." steps: one device and inode); 0 when none is.
int16_t WindowOfFile(const std::string& path);

// The question before a save over the chart file at path (named in full) that changed on disk
// since its window last read or wrote it (title "確認", OK overwrites, Cancel writes nothing).
std::string ChangedOnDiskQuestion(const std::string& path);

// The note before a save of a chart whose definitions' folder is not its own file's folder: the
// names the save writes would not be found beside the chart, so the user chooses where it goes
// (title "確認"; OK shows the save dialog, Cancel writes nothing).
std::string DefinitionFolderNote(const std::string& chartPath, const std::string& defFolder);

}  // namespace mk
