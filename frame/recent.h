// Plain steps of the recent-file list and of choosing the window a chart is read into.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace mk {

// The folder of the chart read or saved last (the newest entry of the list); empty when the
// list has none. The chart dialogs start there when no chart of their own names a folder.
std::string LastChartFolder(const std::vector<std::string>& files);

// Puts path at the head of the list (files with the matching script titles and script file
// names, entries 0..last), moving the entries before its old place, or before the last entry
// when it was not listed, one place down. An empty path changes nothing. Paths compare exactly
// (letter case counts).
void AddRecentEntry(std::vector<std::string>& files, std::vector<std::string>& scripts,
                    std::vector<std::string>& scriptFiles, const std::string& path, const std::string& scriptTitle,
                    const std::string& scriptFile);

// The list as read from the settings, each path in its canonical form (ChartPathCanonical);
// of entries that name one file only the newest stays, the older ones close up behind it and
// the list ends in empty entries.
void CanonicalRecentList(std::vector<std::string>& files, std::vector<std::string>& scripts,
                         std::vector<std::string>& scriptFiles);

// Menu caption of entry index: "&", the index as one upper-case base-16 digit, a blank, then
// the path with each "&" doubled so that it shows as written.
std::string RecentCaption(int index, const std::string& path);

// The script a recent entry was read or saved with: the one installed from its script file; for
// an entry without one (written by an older version), the one script titled exactly title. 0
// when that script is gone, or the title is no script's or several scripts': the entry's file
// then goes by its extension (ChooseScriptByExtension).
int16_t RecentEntryScript(const std::string& scriptFile, const std::string& title);

// An entry can be picked when its file exists and a script takes it: its own (RecentEntryScript),
// else one or more that claim its extension.
bool RecentEntryUsable(const std::string& path, const std::string& scriptFile, const std::string& scriptTitle);

// Where File > Open reads a chart: a new window, or the current one.
enum class OpenTarget { NewWindow, Current };
// anyOpen: a chart window is open; untitledCaption: the current window's caption begins with
// "新規"; dirty: its chart is modified.
OpenTarget FileOpenTarget(bool anyOpen, int16_t firstOpen, bool untitledCaption, bool dirty);
// A recent entry goes into the current window only when it is the one window open and its chart
// is not modified.
OpenTarget RecentOpenTarget(int16_t openCount, bool currentOpen, bool dirty);

// True when path names a regular file that can be opened for reading; otherwise false with the
// reason for the user.
bool ChartFileReadable(const std::string& path, std::string& reason);

}  // namespace mk
