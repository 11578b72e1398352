// Converting a chart to another definition script: the lane map the wizard offers and the copy
// of one document record into another through it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "chartfmt/docdata.h"

namespace mk {

// Conversion wizard state: the source and target window numbers, the chosen script and, by
// source lane, the target lane that receives it (-1: dropped).
extern int16_t g_WizSrc;
extern int16_t g_WizDst;
extern int16_t g_WizScript;
extern std::vector<int16_t> g_WizLaneMap;

// Lane n written with at least w digits, "0" in front ("00000" and n's digits, the last w).
std::string PadLane(int n, int w);
// The number of decimal digits of n (0 has one).
int DecimalDigits(int n);

// The second page of the wizard as it opens: the default map (each source lane to the target
// lane of the same number, lanes the target lacks dropped), the rows' two columns and the
// target list (entry 0 drops, entry e is target lane e - 1).
struct LaneMapPage {
  std::vector<int16_t> map;
  std::vector<std::string> source;  // "01:Key1"
  std::vector<std::string> target;  // "01:Key1", or "--:削除"
  std::vector<std::string> list;    // "--削除", "00:BPM", "01:Key1", ...
};
LaneMapPage LaneMapDefaults(const DocData& src, const DocData& dst);

// True when the target's WAV numbering offers fewer numbers than the source's: the source's
// WAV definitions are then compacted (in a copy) before they are carried.
bool ConvertShrinksWav(const DocData& src, const DocData& dst);

struct ConvertResult {
  bool compacted = false;  // the source's definitions were moved together first
  int32_t leftOut = 0;     // objects the target lanes cannot hold
  // Definitions the target's file cannot hold (a number past its table, or a table its script
  // does not write), each as its code in the source's numbering with its file name:
  // "ZZ「last.jpg」". Numbers of WAV definitions are those after the compaction.
  std::vector<std::string> wavLeftOut;
  std::vector<std::string> bgaLeftOut;
  // Header values the target's script has no keyword for, each as the source names it with its
  // value: "EXPERT：11", "ジャンル：「Trance」".
  std::vector<std::string> headerLeftOut;
};

// Carries src into dst, a fresh chart of another script: objects and measure lengths lane by
// lane through laneMap (by source lane; -1 or a lane the target lacks: nothing), the measure
// count (dst then holds every measure of src, also past maxMeasure), header, folder, free text,
// the WAV and BGA definitions numbered within both tables. The source is not changed: its
// floating selection and its compaction are applied to a copy. Objects are taken as they are,
// except that one the target lane cannot hold (a number above the lane's table, a back-layer
// object on a lane without a back channel, a tempo above 255, anything the target's chart lines
// cannot carry) is left out and counted; an open object off a group's first lane lands as an
// ordinary one, as a dropped selection does. Floating entries the source grid cannot hold are
// counted as left out. Definitions and header values the target's file cannot hold are not
// carried either, and are named in the result.
// dst is marked modified (it exists in no file yet); its file name, view state and undo levels
// stay as they were.
ConvertResult ConvertChartCopy(const DocData& src, DocData& dst, const std::vector<int16_t>& laneMap, int maxMeasure);

// The message that names what the conversion left out (r's objects, definitions and header
// values; at most kLeftOutNames definitions of a table by name, the rest counted); empty when
// nothing was left out.
inline constexpr size_t kLeftOutNames = 5;
std::string ConvertLeftOutMessage(const ConvertResult& r);

}  // namespace mk
