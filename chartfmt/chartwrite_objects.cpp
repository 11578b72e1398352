// Object sections of a written chart: one section per lane group, then one per run of lanes
// with one part number.
#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <map>
#include <mutex>

#include "chartfmt/chartwrite_objects.h"
#include "chartfmt/defcode.h"

namespace mk::chartwrite {

namespace {

constexpr const char* kNoChannel = "__";
constexpr int kWeights[3] = {4, 2, 1};

// " 2" for 2, "-2" for -2.
std::string PartText(int part) {
  std::string text = part >= 0 ? " " : "";
  text += std::to_string(part);
  return text;
}

const LaneInfo* LaneAt(const DocData& doc, int lane) {
  if (lane < 1 || lane > doc.LaneCount || lane >= static_cast<int>(doc.Lane.size())) return nullptr;
  return &doc.Lane[lane];
}

// One run of lanes with one part number.
struct Run {
  int part;
  int first;
  int last;
};

std::vector<Run> BuildRuns(const DocData& doc) {
  std::vector<Run> runs;
  for (int l = 1; l <= doc.LaneCount && l < static_cast<int>(doc.Lane.size()); ++l) {
    int p = doc.Lane[l].Part;
    if (!runs.empty() && runs.back().part == p) {
      runs.back().last = l;
    } else {
      runs.push_back({p, l, l});
    }
  }
  return runs;
}

// The group whose three combined lanes hold lane, or -1.
int CombinedLaneOf(const DocData& doc, int lane) {
  for (int i = 0; i <= doc.Fmt.GtCount && i < static_cast<int>(doc.Fmt.Gt.size()); ++i) {
    const int g = doc.Fmt.Gt[i].Lane;
    if (lane >= g && lane <= g + 2) return i;
  }
  return -1;
}

bool InAnyGroup(const DocData& doc, int lane) {
  for (int i = 0; i <= doc.Fmt.GtCount && i < static_cast<int>(doc.Fmt.Gt.size()); ++i) {
    int g = doc.Fmt.Gt[i].Lane;
    if (lane >= g && lane <= g + 3) return true;
  }
  return false;
}

// Digit lines of one group measure. Each distinct ordinary value at a tick goes on the digit
// made of the weights of the lanes that hold it (these digits never collide); each distinct
// open object goes on digit 0, one digit-0 line per open object the busiest tick holds, the
// one on the group's first lane last, so that it is the one the first lane reads back.
class DigitLines {
 public:
  // Empties the lines for a measure of n slots.
  void Prepare(int n) {
    n_ = n;
    for (auto& v : digit_) v.assign(n, 0);
    for (auto& v : open_) v.assign(n, 0);
    used_.fill(false);
    openLines_ = 0;
    slotOpen_.assign(n, {0, 0, 0});
    slotOpenCount_.assign(n, 0);
  }

  // The three front values of slot k.
  void Slot(int k, const int16_t (&v)[3]) {
    bool taken[3] = {false, false, false};
    for (int i = 0; i < 3; ++i) {
      if (taken[i] || v[i] <= 0 || v[i] > kOpenObjectBase) continue;
      int d = kWeights[i];
      for (int j = i + 1; j < 3; ++j) {
        if (v[j] == v[i]) {
          d += kWeights[j];
          taken[j] = true;
        }
      }
      digit_[d][k] = v[i];
      used_[d] = true;
    }
    int first = v[0] > kOpenObjectBase ? v[0] - kOpenObjectBase : 0;
    int list[3];
    int c = 0;
    for (int i = 1; i < 3; ++i) {
      if (v[i] <= kOpenObjectBase) continue;
      int x = v[i] - kOpenObjectBase;
      if (x == first || std::find(list, list + c, x) != list + c) continue;
      list[c++] = x;
    }
    if (first > 0) list[c++] = first;
    slotOpen_[k] = {list[0], list[1], list[2]};
    slotOpenCount_[k] = c;
    openLines_ = std::max(openLines_, c);
  }

  // Places the open objects right-aligned in the digit-0 lines.
  void Finish() {
    for (int k = 0; k < n_; ++k) {
      int c = slotOpenCount_[k];
      for (int i = 0; i < c; ++i) open_[openLines_ - c + i][k] = slotOpen_[k][i];
    }
  }

  int openLines() const { return openLines_; }
  const std::vector<int>& open(int line) const { return open_[line]; }
  bool used(int d) const { return used_[d]; }
  const std::vector<int>& digit(int d) const { return digit_[d]; }

 private:
  int n_ = 0;
  std::array<std::vector<int>, 8> digit_;
  std::array<std::vector<int>, 3> open_;
  std::array<bool, 8> used_{};
  std::vector<std::array<int, 3>> slotOpen_;
  std::vector<int> slotOpenCount_;
  int openLines_ = 0;
};

void AppendValues(std::string& out, const std::vector<int>& values, const CodeTable& codes) {
  for (int v : values) codes.Append(out, v);
}

// The channel line of one layer, printed when a slot holds an object; whether one did.
bool LayerLine(Ctx& c, int m, const std::string& channel, const CellLayer& layer, int n, const CodeTable& codes) {
  const size_t mark = c.out.size();
  c.LineStart(m, channel);
  if (!AppendSlots(c.out, layer, n, codes)) {
    c.out.resize(mark);
    return false;
  }
  c.LineEnd();
  return true;
}

// Codes of a lane's own lines: the numbering mode the reader reads them in.
const CodeTable& LaneCodes(const Ctx& c, const LaneInfo& lane) { return lane.Part == kPartBga ? c.bga : c.wav; }

// Lines of stacked lanes fill them in turn on reading, so every one of them goes in its run's
// section in lane order, those of group lanes too.
bool OwnLinesInPartSection(const LaneInfo& lane) { return lane.Part == kPartStacked; }

// A lane of a part section; the front layer of a group's combined lanes is carried by the
// group's lines, so the section writes it only as a placeholder.
struct PartLane {
  int lane;
  bool frontByGroup;
};

void WriteGroupSection(Ctx& c, const GtEntry& gt, DigitLines& lines) {
  const DocData& doc = c.doc;
  const int g = gt.Lane;
  const LaneInfo* first = LaneAt(doc, g);
  c.out += ";" + gt.Name + "(Part" + PartText(first ? first->Part : 0) + ")\r\n";
  const std::string& groupCh = c.scratch ? gt.Channel2 : gt.Channel;
  const LaneInfo* fourth = LaneAt(doc, g + 3);

  for (int m = 0; m <= doc.MesCount; ++m) {
    const MesData* cells[4];
    for (int i = 0; i < 4; ++i) cells[i] = LaneAt(doc, g + i) ? CellAt(doc, g + i, m) : nullptr;

    int slots[4];
    for (int i = 0; i < 4; ++i) slots[i] = cells[i] ? CellDivision(*cells[i]) : 0;
    int n = 0;
    for (int i = 0; i < 3; ++i) {
      const int d = slots[i];
      if (d > 0) n = n == 0 ? d : Lcm(static_cast<int16_t>(n), static_cast<int16_t>(d));
    }
    if (n > 0) {
      lines.Prepare(n);
      // The three front layers laid out by tick, read slot by slot.
      int16_t front[3][kTicksPerMeasure] = {};
      for (int i = 0; i < 3; ++i) {
        if (!cells[i]) continue;
        for (const CellLayer::Entry& e : cells[i]->Obj.Entries())
          if (e.Tick < kTicksPerMeasure) front[i][e.Tick] = e.Value;
      }
      const int step = kTicksPerMeasure / n;
      for (int k = 0; k < n; ++k) {
        const int t = k * step;
        const int16_t v[3] = {front[0][t], front[1][t], front[2][t]};
        lines.Slot(k, v);
      }
      lines.Finish();
      for (int i = 0; i < lines.openLines(); ++i) {
        c.LineStart(m, groupCh + "0");
        AppendValues(c.out, lines.open(i), c.wav);
        c.LineEnd();
      }
      for (int d = 1; d < 8; ++d) {
        if (!lines.used(d)) continue;
        c.LineStart(m, groupCh + static_cast<char>('0' + d));
        AppendValues(c.out, lines.digit(d), c.wav);
        c.LineEnd();
      }
    }

    if (fourth && cells[3] && slots[3] > 0) {
      // Written even when every slot is "00" (objects only in the back layer). The W line is a
      // group line, coded like the digit lines; the lane's own line is coded as the lane is.
      if (fourth->Channel == kNoChannel) {
        c.LineStart(m, groupCh + "W");
        AppendSlots(c.out, cells[3]->Obj, slots[3], c.wav);
        c.LineEnd();
      } else if (!OwnLinesInPartSection(*fourth)) {
        c.LineStart(m, c.scratch ? fourth->PChannel : fourth->Channel);
        AppendSlots(c.out, cells[3]->Obj, slots[3], LaneCodes(c, *fourth));
        c.LineEnd();
      }
    }

    for (int i = 0; i < 4; ++i) {
      const LaneInfo* li = LaneAt(doc, g + i);
      if (!li || !cells[i] || li->BackChannel == kNoChannel || slots[i] <= 0 || OwnLinesInPartSection(*li)) continue;
      LayerLine(c, m, c.scratch ? li->PBackChannel : li->BackChannel, cells[i]->BackObj, slots[i], LaneCodes(c, *li));
    }
  }
  c.out += "\r\n\r\n";
}

void WritePartSection(Ctx& c, int part, const std::vector<PartLane>& lanes) {
  const DocData& doc = c.doc;
  c.out += ";Part" + PartText(part) + "\r\n";
  const CodeTable& codes = part == kPartBga ? c.bga : c.wav;
  const bool stacked = part == kPartStacked;
  for (int m = 0; m <= doc.MesCount; ++m) {
    size_t count = lanes.size();
    // Stacked lanes: the reader gives the k-th front line of a channel in a measure to the k-th
    // lane of the stack and counts back lines apart, passing lanes whose layer already holds
    // objects, so every lane up to the last one written in a layer needs a line in that layer,
    // a "00" one when it has none there.
    size_t lastFront = 0, lastBack = 0;  // one past the last lane written in each layer
    if (stacked) {
      while (count > 0 && CellSlots(doc, lanes[count - 1].lane, m) <= 0) --count;
      for (size_t i = 0; i < count; ++i) {
        const LaneInfo& li = doc.Lane[lanes[i].lane];
        const MesData* cell = CellAt(doc, lanes[i].lane, m);
        if (!cell) continue;
        if (!lanes[i].frontByGroup && (c.scratch ? li.PChannel : li.Channel) != kNoChannel && AnyObject(cell->Obj))
          lastFront = i + 1;
        if ((c.scratch ? li.PBackChannel : li.BackChannel) != kNoChannel && AnyObject(cell->BackObj)) lastBack = i + 1;
      }
    }
    for (size_t i = 0; i < count; ++i) {
      const int l = lanes[i].lane;
      const LaneInfo& li = doc.Lane[l];
      const std::string& f = c.scratch ? li.PChannel : li.Channel;
      const std::string& b = c.scratch ? li.PBackChannel : li.BackChannel;
      const MesData* cell = CellAt(doc, l, m);
      const int n = cell ? CellDivision(*cell) : 0;
      const bool hasF = f != kNoChannel, hasB = b != kNoChannel;
      bool frontUsed = false, backUsed = false;
      if (n > 0) {
        frontUsed = hasF && !lanes[i].frontByGroup ? LayerLine(c, m, f, cell->Obj, n, codes) : AnyObject(cell->Obj);
        backUsed = hasB ? LayerLine(c, m, b, cell->BackObj, n, codes) : AnyObject(cell->BackObj);
      }
      // An empty lane takes a placeholder in both layers; a lane with objects in one layer only
      // takes one in the other when a later lane has objects there.
      if (stacked && hasF && !frontUsed && (!backUsed || i + 1 < lastFront)) {
        c.LineStart(m, f);
        c.out += "00";
        c.LineEnd();
      }
      if (stacked && hasB && !backUsed && (!frontUsed || i + 1 < lastBack)) {
        c.LineStart(m, b);
        c.out += "00";
        c.LineEnd();
      }
    }
  }
  c.out += "\r\n\r\n";
}

uint16_t PackPair(char a, char b) {
  const char two[2] = {a, b};
  uint16_t packed;
  std::memcpy(&packed, two, 2);
  return packed;
}

std::vector<uint16_t> BuildPairs(int16_t mode) {
  std::vector<uint16_t> pairs(65536, 0);
  const uint16_t empty = PackPair('0', '0');
  pairs[0] = empty;
  for (int v = 32768; v < 65536; ++v) pairs[v] = empty;  // negative values: empty slots
  for (int v = 1; v < 1296; ++v) {
    const std::string code = DefNumToText(static_cast<int16_t>(v), mode);
    if (code.size() != 2) continue;
    pairs[v] = PackPair(code[0], code[1]);
    pairs[kOpenObjectBase + v] = pairs[v];
  }
  return pairs;
}

}  // namespace

// Each numbering's table is built once and shared by every later write: a save costs its
// chart, not 128 KiB of table set-up per numbering.
CodeTable::CodeTable(int16_t mode) : mode_(mode) {
  static std::mutex lock;
  static std::map<int16_t, std::vector<uint16_t>> tables;  // entries never move once made
  const std::lock_guard<std::mutex> hold(lock);
  auto it = tables.find(mode);
  if (it == tables.end()) it = tables.emplace(mode, BuildPairs(mode)).first;
  pairs_ = it->second.data();
}

void CodeTable::Append(std::string& out, int value) const {
  const uint16_t pair = value >= INT16_MIN && value <= INT16_MAX ? Pair(static_cast<int16_t>(value)) : 0;
  if (pair != 0) {
    char two[2];
    std::memcpy(two, &pair, 2);
    out.append(two, 2);
  } else if (value < 1) {
    out += "00";
  } else {
    // A slot is always two characters: a value that has no code in this numbering (one read
    // from a code of other characters) is left out rather than shifting the rest of the line.
    const std::string code =
        DefNumToText(static_cast<int16_t>(value > kOpenObjectBase ? value - kOpenObjectBase : value), mode_);
    out += code.size() == 2 ? code : "00";
  }
}

const MesData* CellAt(const DocData& doc, int lane, int mes) {
  return HasCell(doc, lane, mes) ? &doc.Obj[lane].Mes[mes] : nullptr;
}

int CellSlots(const DocData& doc, int lane, int mes) {
  const MesData* cell = CellAt(doc, lane, mes);
  return cell ? CellDivision(*cell) : 0;
}

bool AppendSlots(std::string& text, const CellLayer& layer, int n, const CodeTable& codes) {
  const int step = kTicksPerMeasure / n;
  const size_t start = text.size();
  const uint16_t none = codes.Pair(0);
  text.resize(start + 2 * static_cast<size_t>(n));
  char* p = text.data() + start;
  for (int k = 0; k < n; ++k) std::memcpy(p + 2 * k, &none, 2);
  // A step is 2^twos, or 3 times that: a tick lies on a slot when its low bits are clear and,
  // for a step of three, what is left divides by 3.
  const int twos = std::countr_zero(static_cast<unsigned>(step));
  const unsigned mask = (1u << twos) - 1;
  const bool three = (step >> twos) == 3;
  const uint16_t* pairs = codes.Pairs();
  int used = 0;
  bool slow = none == 0;
  for (const CellLayer::Entry& e : layer.Entries()) {
    if (e.Tick >= kTicksPerMeasure) break;  // entries are in tick order
    if (e.Tick & mask) continue;
    unsigned k = e.Tick >> twos;
    if (three) {
      if (k % 3 != 0) continue;
      k /= 3;
    }
    const uint16_t pair = pairs[static_cast<uint16_t>(e.Value)];
    if (pair == 0) {  // a value without a two-character code
      slow = true;
      break;
    }
    used |= e.Value > 0;
    std::memcpy(p + 2 * k, &pair, 2);
  }
  if (!slow) return used != 0;
  // Values without a two-character code: every slot the slow way.
  text.resize(start);
  used = 0;
  for (int k = 0; k < n; ++k) {
    const int16_t v = layer[static_cast<size_t>(k * step)];
    used |= v > 0;
    codes.Append(text, v);
  }
  return used != 0;
}

size_t ObjectSectionsEstimate(const DocData& doc) {
  size_t bytes = 0;
  for (int l = 1; l <= doc.LaneCount; ++l) {
    for (int m = 0; m <= doc.MesCount; ++m) {
      const int n = CellSlots(doc, l, m);
      if (n > 0) bytes += 4 * static_cast<size_t>(n) + 40;
    }
  }
  return bytes;
}

void WriteObjectSections(Ctx& c) {
  const DocData& doc = c.doc;
  DigitLines lines;
  for (int i = 0; i <= doc.Fmt.GtCount && i < static_cast<int>(doc.Fmt.Gt.size()); ++i) {
    WriteGroupSection(c, doc.Fmt.Gt[i], lines);
  }
  std::vector<PartLane> lanes;
  for (const Run& r : BuildRuns(doc)) {
    lanes.clear();
    for (int l = r.first; l <= r.last; ++l) {
      // A group's lanes are written by its section, never twice (a second line of a lane would
      // replace or, stacked, displace the first on reading); lanes of the run that no group
      // covers still need a section of their own, and so do the own lines of stacked lanes.
      if (!InAnyGroup(doc, l)) {
        lanes.push_back({l, false});
      } else if (OwnLinesInPartSection(doc.Lane[l])) {
        // The front of a fourth lane without a channel goes on the group's W line.
        lanes.push_back({l, CombinedLaneOf(doc, l) >= 0 || doc.Lane[l].Channel == kNoChannel});
      }
    }
    if (!lanes.empty()) WritePartSection(c, r.part, lanes);
  }
}

}  // namespace mk::chartwrite
