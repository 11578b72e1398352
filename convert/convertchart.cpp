// The lane map of the conversion wizard and the copy of a chart into another script's record.
#include "convert/convertchart.h"

#include <algorithm>
#include <type_traits>

#include "chartfmt/defcode.h"
#include "chartfmt/fieldcheck.h"
#include "chartfmt/storable.h"
#include "deftables/wavtable.h"
#include "editing/dropsel.h"
#include "editing/mescount.h"
#include "editing/undo.h"

namespace mk {

int16_t g_WizSrc = 0;
int16_t g_WizDst = 0;
int16_t g_WizScript = 0;
std::vector<int16_t> g_WizLaneMap;

std::string PadLane(int n, int w) {
  const std::string s = "00000" + std::to_string(n);
  return w >= static_cast<int>(s.size()) ? s : s.substr(s.size() - w);
}

int DecimalDigits(int n) { return static_cast<int>(std::to_string(n < 0 ? -n : n).size()); }

namespace {

std::string Dashes(int w) { return std::string(static_cast<size_t>(std::clamp(w, 0, 5)), '-'); }

std::string LaneText(const DocData& d, int lane, int w) {
  if (lane == 0) return PadLane(0, w) + ":BPM";
  const std::string label = lane < static_cast<int>(d.Lane.size()) ? d.Lane[lane].Label : std::string();
  return PadLane(lane, w) + ":" + label;
}

// The highest number the table of this lane's numbering mode holds (0: the mode has none).
int LaneTableMax(const DocData& d, int lane) {
  const bool bga = lane < static_cast<int>(d.Lane.size()) && d.Lane[lane].Part == kPartBga;
  return DefNumMax(bga ? d.Fmt.BNum : d.Fmt.WNum);
}

// The last number of a definition table that a chart file of doc's script writes (-1: none).
int WrittenDefLast(const DocData& doc, bool bga) {
  if ((bga ? doc.Keys.Bga : doc.Keys.Wav).empty()) return -1;
  const std::vector<DefEntry>& table = bga ? doc.Bga : doc.Wav;
  return std::min<int>(DefNumMax(bga ? doc.Fmt.BNum : doc.Fmt.WNum), static_cast<int>(table.size()) - 1);
}

// Carries the definitions of one table that the target writes; names the others.
void CarryDefinitions(const DocData& s, DocData& d, bool bga, std::vector<std::string>& leftOut) {
  const std::vector<DefEntry>& from = bga ? s.Bga : s.Wav;
  std::vector<DefEntry>& to = bga ? d.Bga : d.Wav;
  const int16_t mode = bga ? s.Fmt.BNum : s.Fmt.WNum;
  const int srcLast = std::min<int>(DefNumMax(mode), static_cast<int>(from.size()) - 1);
  const int dstLast = WrittenDefLast(d, bga);
  for (int n = bga ? 0 : 1; n <= srcLast; ++n) {
    const DefEntry& e = from[n];
    if (n <= dstLast) {
      to[n] = e;
    } else if (!e.File.empty() || !e.Comment.empty()) {
      leftOut.push_back(DefNumToText(static_cast<int16_t>(n), mode) + (e.File.empty() ? "" : "「" + e.File + "」"));
    }
  }
}

// Carries the header values the target's script has keywords for; names the others that hold
// something.
void CarryHeader(const DocData& s, DocData& d, std::vector<std::string>& leftOut) {
  EachHeaderField(d.Keys, d, s, [&](ChartField f, int index, const std::string& key, auto& to, const auto& from) {
    using Value = std::decay_t<decltype(from)>;
    if (!key.empty()) {
      to = from;
    } else if (from != Value{}) {
      const std::string& text = HeaderValueText(from);
      leftOut.push_back(HeaderFieldName(s, f, index) + "：" +
                        (std::is_same_v<Value, std::string> ? "「" + text + "」" : text));
    }
  });
}

}  // namespace

LaneMapPage LaneMapDefaults(const DocData& src, const DocData& dst) {
  LaneMapPage p;
  const int ws = DecimalDigits(src.LaneCount), wd = DecimalDigits(dst.LaneCount);
  for (int i = 0; i <= src.LaneCount; ++i) {
    p.source.push_back(LaneText(src, i, ws));
    if (i <= dst.LaneCount) {
      p.map.push_back(static_cast<int16_t>(i));
      p.target.push_back(LaneText(dst, i, wd));
    } else {
      p.map.push_back(-1);
      p.target.push_back(Dashes(wd) + ":削除");
    }
  }
  p.list.push_back(Dashes(wd) + "削除");
  for (int k = 0; k <= dst.LaneCount; ++k) p.list.push_back(LaneText(dst, k, wd));
  return p;
}

bool ConvertShrinksWav(const DocData& src, const DocData& dst) {
  return DefNumMax(src.Fmt.WNum) > DefNumMax(dst.Fmt.WNum);
}

ConvertResult ConvertChartCopy(const DocData& src, DocData& dst, const std::vector<int16_t>& laneMap, int maxMeasure) {
  ConvertResult r;
  DocData s = src;  // shares the cells; what is written below is the copy's own
  const int limit = std::max<int>(maxMeasure, s.MesCount);
  if (s.SelCount > 0) r.leftOut += ObjDeSel(s, limit).kept;  // what the source grid could not hold
  if (ConvertShrinksWav(s, dst)) {
    WAVCompact(s, limit);
    r.compacted = true;
  }
  Mes_Change(dst, s.MesCount - dst.MesCount, std::max<int>(limit, s.MesCount));

  const int lanes =
      std::min<int>({static_cast<int>(laneMap.size()) - 1, s.LaneCount, static_cast<int>(s.Obj.size()) - 1});
  for (int l = 0; l <= lanes; ++l) {
    const int t = laneMap[l];
    if (t < 0 || t > dst.LaneCount || t >= static_cast<int>(dst.Obj.size())) continue;
    const MesList& from = s.Obj[l].Mes;
    MesList& to = dst.Obj[t].Mes;
    const int mesLast = std::min<int>({s.MesCount, static_cast<int>(from.size()) - 1, static_cast<int>(to.size()) - 1});
    for (int m = 0; m <= mesLast; ++m) {
      const MesData& c = from[m];
      if (!from.Stored(m)) {
        // An empty source measure still brings its length 0 over an earlier lane's.
        if (to[m].Length != 0) to.Write(m).Length = 0;
        continue;
      }
      MesData& w = to.Write(m);
      w.Length = c.Length;
      for (int layer = 0; layer < 2; ++layer) {
        for (const CellLayer::Entry& e : (layer == 0 ? c.Obj : c.BackObj).Entries()) {
          const int16_t v = e.Value;
          if (e.Tick >= kTicksPerMeasure || v <= 0) continue;
          // An open object stays open on a group's first lane only, as a drop lands it; then
          // whatever the target's chart lines cannot carry (a number past the lane's numbering,
          // a layer without a channel, a tempo above 255) is left out.
          const int16_t to = layer == 0 && v > kOpenObjectBase && t != 0 ? LandedFrontValue(dst, t, v) : v;
          const int number = to > kOpenObjectBase ? to - kOpenObjectBase : to;
          if (!CanStoreObject(dst, t, layer == 1, to) || (t != 0 && number > LaneTableMax(dst, t))) {
            ++r.leftOut;
            continue;
          }
          (layer == 0 ? w.Obj : w.BackObj)[e.Tick] = to;
        }
      }
    }
  }

  CarryHeader(s, dst, r.headerLeftOut);
  dst.Folder = s.Folder;
  dst.FreeText = s.FreeText;
  CarryDefinitions(s, dst, false, r.wavLeftOut);
  CarryDefinitions(s, dst, true, r.bgaLeftOut);
  RecalcLaneResolution(dst, 0, dst.LaneCount, 0, dst.MesCount);
  // The converted chart is in no file yet: closing it must ask.
  MarkChangedBeyondUndo(dst);
  return r;
}

std::string ConvertLeftOutMessage(const ConvertResult& r) {
  const std::string objects = "変換先のレーンに置けないオブジェ " + std::to_string(r.leftOut) + " 個";
  if (r.wavLeftOut.empty() && r.bgaLeftOut.empty() && r.headerLeftOut.empty())
    return r.leftOut > 0 ? objects + "は変換しませんでした" : std::string();
  std::string m = "変換先が持てない次のものは変換しませんでした：\r\n";
  if (r.leftOut > 0) m += "\r\n" + objects;
  auto definitions = [&m](const char* table, const std::vector<std::string>& names) {
    if (names.empty()) return;
    m += "\r\n" + std::string(table) + " " + std::to_string(names.size()) + " 個：";
    for (size_t i = 0; i < names.size() && i < kLeftOutNames; ++i) m += (i > 0 ? "、" : "") + names[i];
    if (names.size() > kLeftOutNames) m += "、ほか " + std::to_string(names.size() - kLeftOutNames) + " 個";
  };
  definitions("WAV定義", r.wavLeftOut);
  definitions("BGA定義", r.bgaLeftOut);
  for (const std::string& h : r.headerLeftOut) m += "\r\n" + h;
  return m;
}

}  // namespace mk
