// Chart writer: prints a window's document as its definition script prescribes (CP932, CR LF),
// either as a chart file or as the player's scratch file.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "chartfmt/docdata.h"

namespace mk {

// The banner line that heads every written chart.
inline constexpr const char* kChartBanner = ";Created by Tovel Ver.0.24";

// The whole chart text, UTF-8 with CR LF line ends. scratch 0 prints a chart file, any other
// value the player's scratch file (player keywords and channels, the path line or folder
// prefixes taken from doc.Folder, which the caller has made end in "/").
std::string ChartText(const DocData& doc, int16_t scratch);

// The chart file's bytes: ChartText encoded as the file holds it (CP932).
std::string ChartBytes(const DocData& doc, int16_t scratch);

// A header value or comment as its one line holds it: each line break (CR LF, CR or LF) becomes
// a blank, so that no value can start a line of its own.
std::string OneLineText(std::string_view text);
// A definition's file name as its line holds it: one line, and each ";" (which would start the
// comment on reading) written as "?".
std::string DefinitionFileText(std::string_view file);

// The measure number padded with "0" to ml digits.
std::string MeasureText(int measure, int ml);

// False, with a message for the user, when a measure that the text would write needs more
// digits than the script's measure field holds (it would land in another measure on reading).
bool CheckMeasureDigits(const DocData& doc, std::string& error);

// False, with a message for the user, when objects still float in the selection: the caller
// has dropped it, so what is left cannot be written where it is, and a file without them would
// not be what the window shows. The message gives their count and the verdict first, then where
// they lie: FloatingPlaces with up to kFloatingPlaceLines places.
bool CheckNothingFloating(const DocData& doc, std::string& error);
inline constexpr size_t kFloatingPlaceLines = 10;
// The places of the floating entries, one line each ("　小節 500　レーン 3 (Key1)", with the count
// where several lie in one lane of one measure), by measure and then lane; past maxLines one last
// line says how many more places there are. Lines are joined by CR LF.
std::string FloatingPlaces(const DocData& doc, size_t maxLines);

// Checks, prints, encodes and writes the chart to path without touching the document. A chart
// file (scratch 0) is refused while objects float. The old
// file stays intact unless everything was written. False with a message on failure. stamp
// (when given) receives the stamp of the file written.
bool WriteChartFile(const std::string& path, const DocData& doc, int16_t scratch, std::string& error,
                    plat::FileStamp* stamp = nullptr);

// What the writer needs of the chart window and the frame; they install it when they start.
class ChartWriteHost {
 public:
  virtual ~ChartWriteHost() = default;
  // The window's ObjDeSel: drops the selection back into the grid.
  virtual void ObjDeSel(int16_t window) = 0;
  // The frame's recent-file entry for a saved chart.
  virtual void AddRecentFile(const std::string& path, int16_t script) = 0;
};
// Installs host (not owned; nullptr for none) and returns the previous one.
ChartWriteHost* SetChartWriteHost(ChartWriteHost* host);

// Writes g_Docs(window) to path (title: the file name that path ends with). scratch 0 saves the
// chart: after success only, the document takes the file as its own (path, name, stamp; the file's
// folder becomes the definitions' folder, where the names written are found) and the file enters
// the recent list; it is refused when objects still float after the drop (the grid cannot hold
// them where they are). Any other scratch writes the player's file. Returns whether the file was
// written; error (when given) receives the reason otherwise. The modified flag is not touched.
bool ChartWrite(const std::string& path, const std::string& title, int16_t window, int16_t script, int16_t scratch,
                std::string* error = nullptr);

// Where a scratch file ("temp.tmp", "ftemp.tmp") goes: the install folder when it can be
// written, otherwise a private per-user runtime folder. Returns the file's real path; empty
// when no folder can be used.
std::string ScratchFilePath(const std::string& name);

}  // namespace mk
