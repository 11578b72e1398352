// Frame-side chart reading: all-or-nothing reads into a window's record and the window steps.
#include "chartfmt/chartio.h"

#include <utility>

#include "chartfmt/globals.h"
#include "platform/core/textfile.h"

namespace mk {

namespace {

ChartReadHost* g_ReadHost = nullptr;
uint64_t g_FilesRead = 0;

bool ValidWindow(int16_t window) { return window >= 1 && window < static_cast<int>(g_Docs.size()); }

ChartReadResult NoWindow() { return ChartReadResult{false, 0, "チャートのウィンドウがありません"}; }

// The window's steps after a chart file was read into it.
void AfterFileRead(const std::string& path, const std::string& title, int16_t window, int16_t script) {
  if (!g_ReadHost) return;
  g_ReadHost->SetThisWin(window);
  g_ReadHost->MesChange(window, 0);
  g_ReadHost->SetCaption(window, title + " - " + g_ReadHost->ScriptTitle(g_Docs[window].ScriptNo));
  g_ReadHost->AddRecentFile(path, script);
}

// Whether reading the same bytes into `prepared` gives what the read ahead gave: everything the
// reader looks at before it stores a line is the same.
bool SameReadInputs(const ChartReadAhead& ahead, const DocData& prepared) {
  const DocData& a = ahead.doc;
  return a.ScriptNo == prepared.ScriptNo && a.LaneCount == prepared.LaneCount && a.Lane == prepared.Lane &&
         a.Keys == prepared.Keys && a.Fmt == prepared.Fmt && ahead.mesBefore == prepared.MesCount &&
         a.Obj.size() == prepared.Obj.size() && a.Wav.size() == prepared.Wav.size() &&
         a.Bga.size() == prepared.Bga.size();
}

// The fields a real read sets, moved from the record read ahead into the window's record.
void TakeReadFields(DocData& to, DocData&& from) {
  to.Obj = std::move(from.Obj);
  to.MesCount = from.MesCount;
  to.ObjReadCount = from.ObjReadCount;
  to.FreeText = std::move(from.FreeText);
  to.Title = std::move(from.Title);
  to.Artist = std::move(from.Artist);
  to.Genre = std::move(from.Genre);
  to.Bpm = from.Bpm;
  to.BaseBpm = from.BaseBpm;
  to.Level = from.Level;
  to.Wav = std::move(from.Wav);
  to.Bga = std::move(from.Bga);
  to.Pre = std::move(from.Pre);
  to.Wall = std::move(from.Wall);
  to.Folder = std::move(from.Folder);
  to.FileName = std::move(from.FileName);
  to.FilePath = std::move(from.FilePath);
}

}  // namespace

ChartReadHost* SetChartReadHost(ChartReadHost* host) { return std::exchange(g_ReadHost, host); }

uint64_t ChartFilesRead() { return g_FilesRead; }

ChartReadResult ChartRead(const std::string& path, const std::string& title, int16_t window, int16_t script,
                          int16_t scratch) {
  if (!ValidWindow(window)) return NoWindow();
  // Read into a copy, so that a file that fails half-way leaves the window's chart untouched
  // and can never be saved under the file's name in part.
  DocData work = g_Docs[window];
  ++g_FilesRead;
  ChartReadResult result = ReadChartFile(work, path, title, scratch != 0);
  if (!result) return result;
  g_Docs[window] = std::move(work);
  if (scratch == 0) AfterFileRead(path, title, window, script);
  return result;
}

ChartReadResult ReadChartAhead(const std::string& path, const std::string& title, DocData prepared,
                               ChartReadAhead& ahead) {
  ahead = ChartReadAhead{};
  ahead.path = path;
  ahead.title = title;
  ahead.mesBefore = prepared.MesCount;
  std::string bytes, error;
  if (!plat::ReadFileBytes(path, bytes, error, &ahead.stamp))
    return ChartReadResult{false, 0, "ファイルを読み込めません（" + error + "）"};
  ++g_FilesRead;
  ChartReadResult result = ReadChartText(prepared, bytes, ChartCoding::Ansi, false);
  if (!result) return result;
  NameChartRecord(prepared, path, title);
  ahead.doc = std::move(prepared);
  ahead.ok = true;
  return result;
}

ChartReadResult ChartRead(ChartReadAhead&& ahead, int16_t window, int16_t script) {
  if (!ValidWindow(window)) return NoWindow();
  plat::FileStamp stamp = ahead.stamp;  // takes the file's status now when its bytes are the same
  const bool same = ahead.ok && stamp.known && SameReadInputs(ahead, g_Docs[window]) &&
                    plat::CheckFileStamp(ahead.path, stamp) == plat::FileCheck::Same;
  if (!same) return ChartRead(ahead.path, ahead.title, window, script, 0);
  // Nothing can fail from here on: the window's record takes the chart whole.
  ChartReadAhead taken = std::exchange(ahead, ChartReadAhead{});
  TakeReadFields(g_Docs[window], std::move(taken.doc));
  g_Docs[window].Stamp = stamp;
  AfterFileRead(taken.path, taken.title, window, script);
  return {};
}

ChartReadResult ChartReadStatements(int16_t window, std::string_view text, int measureLimit) {
  if (!ValidWindow(window)) return NoWindow();
  DocData work = g_Docs[window];
  ChartReadResult result = ReadChartText(work, text, ChartCoding::Utf8, true, measureLimit);
  if (result) g_Docs[window] = std::move(work);
  return result;
}

}  // namespace mk
