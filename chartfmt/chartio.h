// Frame-side chart reading: reads a file into a window's record and then carries out the
// window's steps (publishing, measure count, caption, recent file) through ChartReadHost,
// which the frame and the chart window implement.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "chartfmt/chartread.h"

namespace mk {

// What the reader needs of the chart window and the frame after a chart file was read.
class ChartReadHost {
 public:
  virtual ~ChartReadHost() = default;
  // The window's SetThisWin: publishes the loaded chart to the frame's lists and fields.
  virtual void SetThisWin(int16_t window) = 0;
  // The window's Mes_Change(delta): scroll range and maximum-measure label.
  virtual void MesChange(int16_t window, int16_t delta) = 0;
  // The window's caption.
  virtual void SetCaption(int16_t window, const std::string& caption) = 0;
  // Title of script scriptNo of the script table (for the caption).
  virtual std::string ScriptTitle(int16_t scriptNo) = 0;
  // The frame's recent-file entry.
  virtual void AddRecentFile(const std::string& path, int16_t script) = 0;
};
// Installs host (not owned; nullptr for none) and returns the previous one.
ChartReadHost* SetChartReadHost(ChartReadHost* host);

// Reads the chart file path (title: the file name path ends with) into g_Docs(window).
// scratch 0 reads a chart file: after success the record carries the chart with the file's
// folder and name, and the window is published, its measure range set (Mes_Change(0)), its
// caption set to title + " - " + the script's title and the file entered in the recent list
// (script is only handed on to that list). Any other scratch reads the free-statement scratch
// file into the open chart. On failure g_Docs(window) is left exactly as it was and nothing
// else happens; the result names the line and the reason.
ChartReadResult ChartRead(const std::string& path, const std::string& title, int16_t window, int16_t script,
                          int16_t scratch);

// A chart file read before a window is given to it (see frame/chartprobe.h), with the script the
// window will read: the stamp of the bytes as they were read, the record they gave, and what of
// the record the read depended on. ChartRead hands it to the window instead of reading the file
// again. The bytes themselves are not kept: a chart with a line of 100 MB would hold them twice.
struct ChartReadAhead {
  bool ok = false;  // the read succeeded
  std::string path;
  std::string title;
  plat::FileStamp stamp;  // of the file as it was read
  DocData doc;            // the record after the read
  int16_t mesBefore = 0;  // its measure count before the read
};

// Reads the chart file path into prepared (a record holding its script, as a window's record
// stands before its read) and keeps the outcome in ahead. The result as ReadChartFile's.
ChartReadResult ReadChartAhead(const std::string& path, const std::string& title, DocData prepared,
                               ChartReadAhead& ahead);

// ChartRead(path, title, window, script, 0) of a chart read ahead. When the read ahead succeeded,
// the window's record was prepared from the same script (lanes, keywords, format, numbering,
// measure count) and the file still holds the bytes that were read (plat::CheckFileStamp: read
// and compared by hash only when its status has changed), the window takes the record
// read ahead and the file is not interpreted again; otherwise the file is read as ChartRead does
// (a file changed in between gives what it holds now). Either way, all or nothing, with the
// same steps after success.
ChartReadResult ChartRead(ChartReadAhead&& ahead, int16_t window, int16_t script);

// How many chart files ReadChartAhead and ChartRead have interpreted since the program started.
uint64_t ChartFilesRead();

// The free-statement tab's lines (UTF-8) read into g_Docs(window) as a scratch read, all or
// nothing like ChartRead. Lines for measures past measureLimit (-1: none) and past the chart's
// measure count stay in the free text.
ChartReadResult ChartReadStatements(int16_t window, std::string_view text, int measureLimit = -1);

}  // namespace mk
