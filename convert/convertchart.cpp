// The lane map of the conversion wizard and the copy of a chart into another script's record.
#include "convert/convertchart.h"

#include <algorithm>

#include "chartfmt/defcode.h"
#include "chartfmt/storable.h"
#include "deftables/wavtable.h"
#include "editing/dropsel.h"
#include "editing/mescount.h"

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

  dst.Bpm = s.Bpm;
  dst.BaseBpm = s.BaseBpm;
  dst.Title = s.Title;
  dst.Artist = s.Artist;
  dst.Genre = s.Genre;
  dst.Wall = s.Wall;
  dst.Pre = s.Pre;
  dst.Level = s.Level;
  dst.Folder = s.Folder;
  dst.FreeText = s.FreeText;
  const int wavLast = std::min({static_cast<int>(DefNumMax(s.Fmt.WNum)), static_cast<int>(DefNumMax(dst.Fmt.WNum)),
                                static_cast<int>(s.Wav.size()) - 1, static_cast<int>(dst.Wav.size()) - 1});
  for (int n = 1; n <= wavLast; ++n) dst.Wav[n] = s.Wav[n];
  const int bgaLast = std::min(static_cast<int>(s.Bga.size()), static_cast<int>(dst.Bga.size())) - 1;
  for (int n = 0; n <= bgaLast; ++n) dst.Bga[n] = s.Bga[n];
  RecalcLaneResolution(dst, 0, dst.LaneCount, 0, dst.MesCount);
  return r;
}

}  // namespace mk
