// Chart reader: interprets a chart text, line by line, into a window's document record,
// following the definition script already held in that record (keywords, symbols, lanes,
// groups, numbering modes). Qt-free; the frame-side steps after a file read are in chartio.h.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "chartfmt/docdata.h"

namespace mk {

// Upper bound of the cells that hold objects or a length (a lane in a measure; empty cells cost
// nothing). A chart that needs more fails to read with a clear reason instead of exhausting
// memory (each such cell takes under 1 KB); a 999-measure chart with objects on 262 lanes in
// every measure fits. The editor keeps charts within the same bound, so whatever it saves opens
// again.
constexpr int32_t kMaxChartCells = 1 << 18;

// Outcome of one read. On failure, line is the 1-based line that could not be stored (0 when
// the failure concerns the whole file, such as a file that cannot be opened) and reason says
// why, in the program's words.
struct ChartReadResult {
  bool ok = true;
  int32_t line = 0;
  std::string reason;
  explicit operator bool() const { return ok; }
};

// How the bytes of a chart text are encoded: files are in the ANSI code page (CP932); the
// free-statement tab holds UTF-8.
enum class ChartCoding { Ansi, Utf8 };

// Interprets text (lines ended by CR LF, a lone CR or a lone LF) into doc. A real read
// (scratch false) starts ObjReadCount from 0; a scratch read adds to the open chart. Both
// start FreeText empty and leave in it only the lines that were not interpreted. The grid,
// the definition tables and the header fields are never cleared: what no line sets keeps its
// value. Every cell's Division is recomputed at the end. On failure the lines before the
// failing one have taken effect; callers that must not keep a partial chart read into a copy.
// Folder, FileName and FilePath are not touched here (see ReadChartFile). measureLimit (-1: none) keeps a
// channel line for a measure past it (and past the measure count) as free text instead of
// growing the chart.
ChartReadResult ReadChartText(DocData& doc, std::string_view text, ChartCoding coding, bool scratch,
                              int measureLimit = -1);

// Same, for lines already split (UTF-8, without line ends).
ChartReadResult ReadChartLines(DocData& doc, const std::vector<std::string>& lines, bool scratch);

// Reads the file at path. For a real file (scratch false) the document takes, after success
// only, the folder (path without its last title characters, ending in "/") and title as its
// file name, and the stamp of the bytes read.
ChartReadResult ReadChartFile(DocData& doc, const std::string& path, const std::string& title, bool scratch);

// Gives doc the folder, file name and own path of the chart file at path, as ReadChartFile does
// after a successful real read (the definitions' folder starts as the chart's folder).
void NameChartRecord(DocData& doc, const std::string& path, const std::string& title);

// "<n>行目: <reason>", or the reason alone for a failure without a line.
std::string ChartReadMessage(const ChartReadResult& result);

}  // namespace mk
