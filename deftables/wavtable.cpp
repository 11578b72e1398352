// WAV table compaction and release.
#include "deftables/wavtable.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "chartfmt/defcode.h"
#include "deftables/remap.h"
#include "editing/dropsel.h"

namespace mk {

namespace {

constexpr int kMaxDef = 1295;

// The entries 1..N of the WAV table that exist (a short table has fewer).
int WavLast(const DocData& doc) { return std::min<int>(DefNumMax(doc.Fmt.WNum), static_cast<int>(doc.Wav.size()) - 1); }

}  // namespace

bool WAVCompact(DocData& doc, int maxMeasure) {
  ObjDeSel(doc, maxMeasure);
  const int n = WavLast(doc);
  std::array<int16_t, kMaxDef + 1> map{};
  std::vector<DefEntry> kept;
  for (int i = 1; i <= n; ++i) {
    if (doc.Wav[i].File.empty()) continue;
    kept.push_back(doc.Wav[i]);
    map[i] = static_cast<int16_t>(kept.size());
  }
  bool changed = false;
  for (int i = 1; i <= n; ++i) {
    DefEntry e = i <= static_cast<int>(kept.size()) ? kept[i - 1] : DefEntry{};
    if (!(doc.Wav[i] == e)) {
      doc.Wav[i] = std::move(e);
      changed = true;
    }
  }
  const ValueMap remap = ValueMap::From([&map](int16_t v, bool back) -> int16_t {
    if (v >= 1 && v <= kMaxDef) return map[v];
    if (!back && v > kOpenObjectBase && v <= kOpenObjectBase + kMaxDef) {
      const int16_t to = map[v - kOpenObjectBase];
      return to == 0 ? 0 : static_cast<int16_t>(to + kOpenObjectBase);
    }
    return v;
  });
  bool levels = false;
  changed = RemapEverywhere(doc, false, remap, &levels) || changed;
  // The undo levels now go with a table that is not the one on disk, or hold objects other than
  // they did: taking one back must leave the chart marked modified.
  if (changed || levels) doc.UndoDirty = doc.UndoDirty2 = -1;
  return changed;
}

bool WAVDelUnused(DocData& doc, int maxMeasure) {
  ObjDeSel(doc, maxMeasure);
  const int n = WavLast(doc);
  std::array<bool, kMaxDef + 1> used{};
  const auto mark = [&used](int16_t v, bool back) {
    if (v >= 1 && v <= kMaxDef)
      used[v] = true;
    else if (!back && v > kOpenObjectBase && v <= kOpenObjectBase + kMaxDef)
      used[v - kOpenObjectBase] = true;
  };
  for (int l = 1; l <= doc.LaneCount && l < static_cast<int>(doc.Obj.size()); ++l) {
    if (!DefLaneOf(doc, l, false)) continue;
    for (const MesData& cell : doc.Obj[l].Mes) {
      if (&cell == &MesList::Empty()) continue;
      for (const CellLayer::Entry& e : cell.Obj.Entries())
        if (e.Tick < kTicksPerMeasure) mark(e.Value, false);
      for (const CellLayer::Entry& e : cell.BackObj.Entries())
        if (e.Tick < kTicksPerMeasure) mark(e.Value, true);
    }
  }
  // What the drop left floating uses its number as much as an object in the grid does.
  for (int i = 1, n = SelectedEntryCount(doc); i <= n; ++i) {
    const SelEntry& e = doc.Sel[i];
    if (SelEntryTable(doc, e) == kSelTableWav) mark(e.Value, e.Back != 0);
  }
  bool changed = false;
  for (int i = 1; i <= n; ++i) {
    if (used[i] || (doc.Wav[i].File.empty() && doc.Wav[i].Comment.empty())) continue;
    doc.Wav[i] = DefEntry{};
    changed = true;
  }
  if (changed) {
    doc.UndoOn = 0;
    doc.UndoDirty = doc.UndoDirty2 = -1;
  }
  return changed;
}

}  // namespace mk
