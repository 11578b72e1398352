#include "chartgen.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <set>

#include "chartfmt/chartread.h"
#include "chartfmt/chartwrite.h"
#include "chartfmt/defcode.h"
#include "chartfmt/scriptread.h"

namespace chartgen {

uint32_t ByteChoices::Below(uint32_t n) {
  uint32_t v = 0;
  for (int i = 0; i < 2 && pos_ < size_; ++i) v = (v << 8) | data_[pos_++];
  return n <= 1 ? 0 : v % n;
}

namespace {

constexpr const char* kNone = "__";

struct GenGroup {
  int lane;
  std::string channel;
};

// Channel names: tidy ones are unique two-character names, so that only the clashes made on
// purpose occur; wild ones come from a few characters and clash often.
class Names {
 public:
  Names(Choices& ch, bool wild, bool dash) : ch_(ch), wild_(wild), dash_(dash) {}
  std::string Next() {
    if (wild_) {
      static const char kChars[] = {'A', 'B', '1', '-', 'a', '_', ':'};
      std::string s;
      for (int n = ch_.Between(1, 3); n > 0; --n) s += ch_.Pick(kChars);
      return s;
    }
    static const char kFirst[] = "CDEFGHIJKNOQRSUVXYZ";
    static const char kSecond[] = "0123456789ABCDEFGHJKLMNPQRSTUVXYZ";
    for (int tries = 0; tries < 8; ++tries) {
      std::string s{kFirst[ch_.Below(sizeof kFirst - 1)], kSecond[ch_.Below(sizeof kSecond - 1)]};
      if (dash_ && ch_.OneIn(6)) s[1] = '-';
      if (ch_.OneIn(8)) s[0] = static_cast<char>(s[0] - 'A' + 'a');
      std::string key = s;
      for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      if (used_.insert(key).second) return s;
    }
    // Choices that keep repeating themselves (a fuzzer's input runs out): the first free name.
    for (const char* a = kFirst; *a; ++a)
      for (const char* b = kSecond; *b; ++b)
        if (used_.insert(std::string{*a, *b}).second) return std::string{*a, *b};
    return "ZZ";
  }

 private:
  Choices& ch_;
  bool wild_;
  bool dash_;
  std::set<std::string> used_;
};

}  // namespace

std::vector<std::string> RandomScript(Choices& ch, bool wild) {
  std::vector<std::string> s = {"#DFN", "Generated", "#EXT GEN", "#HEAD ;GENERATED"};
  if (ch.OneIn(2)) s.push_back("#FOOT ;END");
  auto mode = [&] { return ch.OneIn(12) ? ch.Pick({0, 4}) : ch.Between(1, 3); };
  s.push_back("#WNUM " + std::to_string(mode()));
  s.push_back("#BNUM " + std::to_string(mode()));
  static const int kMl[] = {1, 2, 3, 3, 3, 4};
  s.push_back("#ML " + std::to_string(ch.Pick(kMl)));
  for (const char* line : {"#TITLE TITLE", "#ARTIST ARTIST", "#GENRE GENRE", "#BPM BPM", "#BASEBPM BASEBPM",
                           "#LEVEL1 PLAYLEVEL", "#LEVEL2 RANK", "#WAV WAV", "#BGA BMP", "#PRE PREVIEW",
                           "#WALL STAGEFILE", "#ECHO #GENERATED", "#PWAV PWAV", "#PBPM PBPM"})
    s.push_back(line);
  const bool dash = ch.OneIn(3);
  static const char* kHSymbols[] = {"#", "#", "#%"};
  s.push_back(std::string("#HSYMBOL ") + ch.Pick(kHSymbols));
  // A separator that may also stand in channel names.
  static const char* kSSymbols[] = {":", ":", ":=", ":-"};
  s.push_back(std::string("#SSYMBOL ") + (wild || ch.OneIn(8) ? ch.Pick(kSSymbols) : ":"));
  if (dash || wild) s.push_back(ch.OneIn(2) ? "#OSYMBOL -" : "#OSYMBOL -_");
  Names names(ch, wild, dash);
  if (!ch.OneIn(6)) s.push_back("#TMPC " + names.Next());
  if (!ch.OneIn(4)) s.push_back("#MESC " + names.Next());

  // Runs of rising part numbers, 88 and 99 among them.
  static const int kParts[] = {0, 1, 2, 3, 7, 88, 88, 99, 99, 99, 100};
  std::vector<int> parts;
  int part = ch.Pick(kParts);
  for (int runs = ch.Between(1, 5); runs > 0; --runs) {
    for (int n = ch.Between(1, 7); n > 0; --n) parts.push_back(part);
    int next = ch.Pick(kParts);
    part = std::max(part, next);
  }
  const int lanes = static_cast<int>(parts.size());
  std::vector<int> runStarts, runEnds;
  for (int l = 1; l <= lanes; ++l) {
    if (l == 1 || parts[l - 1] != parts[l - 2]) runStarts.push_back(l);
    if (l == lanes || parts[l - 1] != parts[l]) runEnds.push_back(l);
  }

  // Groups at the edges of runs and stacks, across them and anywhere.
  std::vector<GenGroup> groups;
  for (int n = ch.Between(0, 3); n > 0 && lanes >= 4; --n) {
    int g;
    switch (ch.Below(4)) {
      case 0: g = runStarts[ch.Below(static_cast<uint32_t>(runStarts.size()))]; break;
      case 1: g = runEnds[ch.Below(static_cast<uint32_t>(runEnds.size()))] - 3; break;
      case 2: g = runStarts[ch.Below(static_cast<uint32_t>(runStarts.size()))] - ch.Between(1, 3); break;
      default: g = ch.Between(1, lanes - 3); break;
    }
    if (g < 1 || g + 3 > lanes) continue;
    const bool overlaps =
        std::any_of(groups.begin(), groups.end(), [&](const GenGroup& o) { return std::abs(o.lane - g) <= 3; });
    if (overlaps && !ch.OneIn(10)) continue;
    groups.push_back({g, names.Next()});
  }
  for (size_t i = 0; i < groups.size(); ++i) {
    std::string line = "#GT G" + std::to_string(i) + "," + std::to_string(groups[i].lane) + "," + groups[i].channel;
    if (ch.OneIn(3)) line += "," + names.Next();
    s.push_back(line);
  }

  auto combined = [&](int l) {
    return std::any_of(groups.begin(), groups.end(), [&](const GenGroup& g) { return l >= g.lane && l <= g.lane + 2; });
  };
  auto fourth = [&](int l) {
    return std::any_of(groups.begin(), groups.end(), [&](const GenGroup& g) { return l == g.lane + 3; });
  };
  s.push_back("#LANE");
  std::string prevFront, prevBack;
  for (int l = 1; l <= lanes; ++l) {
    const int p = parts[l - 1];
    const bool stacked = p == mk::kPartStacked;
    const bool sameRun = l > 1 && parts[l - 2] == p;
    std::string front, back;
    if (combined(l))
      front = ch.OneIn(4) ? names.Next() : kNone;
    else if (fourth(l))
      front = ch.OneIn(2) ? kNone : names.Next();
    else
      front = ch.OneIn(10) ? kNone : names.Next();
    back = ch.OneIn(2) ? names.Next() : kNone;
    // Stacked lanes mostly share the channels of the lane before them.
    if (stacked && sameRun && front != kNone && prevFront != kNone && !prevFront.empty() && !ch.OneIn(3))
      front = prevFront;
    if (stacked && sameRun && back != kNone && prevBack != kNone && !prevBack.empty() && !ch.OneIn(3)) back = prevBack;
    // Now and then a clash made on purpose: a name of an earlier lane, or a part of it.
    if (!wild && ch.OneIn(40) && !prevFront.empty() && prevFront != kNone)
      front = ch.OneIn(2) ? prevFront : prevFront.substr(0, 1);
    std::string line = "L" + std::to_string(l) + ",l" + std::to_string(l) + "," + front + "," + back +
                       ",202020,FFFFFF,808080," + std::to_string(p);
    if (ch.OneIn(4)) {
      line += "," + (ch.OneIn(3) ? std::string() : names.Next());
      if (ch.OneIn(2)) line += "," + (ch.OneIn(4) ? std::string(kNone) : names.Next());
    }
    s.push_back(line);
    prevFront = front;
    prevBack = back;
  }
  s.push_back("#EOL");
  return s;
}

namespace {

int GroupOf(const mk::DocData& d, int lane) {
  for (int i = 0; i <= d.Fmt.GtCount; ++i)
    if (lane >= d.Fmt.Gt[i].Lane && lane <= d.Fmt.Gt[i].Lane + 3) return i;
  return -1;
}

void Count(const mk::DocData& d, Coverage& c) {
  ++c.scripts;
  auto modeIndex = [](int m) { return m >= 1 && m <= 3 ? m : 0; };
  ++c.modePairs[modeIndex(d.Fmt.WNum)][modeIndex(d.Fmt.BNum)];
  for (int i = 0; i <= d.Fmt.GtCount; ++i) {
    const int g = d.Fmt.Gt[i].Lane;
    bool bga = false, stack = false;
    for (int l = g; l <= g + 3; ++l) {
      bga |= d.Lane[l].Part == mk::kPartBga;
      stack |= d.Lane[l].Part == mk::kPartStacked;
    }
    c.groupOverBga += bga;
    c.groupOverStack += stack;
    const bool startsRun = g == 1 || d.Lane[g - 1].Part != d.Lane[g].Part;
    const bool endsRun = g + 3 == d.LaneCount || d.Lane[g + 4].Part != d.Lane[g + 3].Part;
    c.groupAtRunEdge += startsRun || endsRun;
    c.groupInLongerRun += (!startsRun && d.Lane[g - 1].Part == d.Lane[g].Part) ||
                          (g + 3 < d.LaneCount && d.Lane[g + 4].Part == d.Lane[g + 3].Part);
  }
  for (int l = 2; l <= d.LaneCount; ++l) {
    const mk::LaneInfo& a = d.Lane[l - 1];
    const mk::LaneInfo& b = d.Lane[l];
    if (b.Part == mk::kPartStacked && a.Part == mk::kPartStacked && b.Channel != kNone && a.Channel == b.Channel)
      ++c.sharedStackChannel;
  }
  for (int l = 1; l <= d.LaneCount; ++l) {
    if (d.Lane[l].Part == mk::kPartStacked && d.Lane[l].BackChannel != kNone) ++c.stackBackLayers;
    if (d.Lane[l].PChannel != d.Lane[l].Channel || d.Lane[l].PBackChannel != d.Lane[l].BackChannel) ++c.playerChannels;
  }
}

// The one place the generator writes into the grid.
mk::MesData& CellToWrite(mk::DocData& d, int lane, int mes) { return d.Obj[lane].Mes.Write(mes); }

std::string Text(Choices& ch, const std::string& stem) {
  static const char* kWords[] = {"春",  "夏の曲", "テスト　全角", "ｶﾀｶﾅ", "記号～",
                                 "abc", " lead",  "tail ",        "#x",   "a;b"};
  return stem + ch.Pick(kWords) + std::to_string(ch.Between(0, 99));
}

}  // namespace

void FillChart(mk::DocData& d, Choices& ch, Coverage* coverage) {
  if (coverage) Count(d, *coverage);
  const int maxMes = d.Fmt.Ml >= 2 ? 24 : 9;
  d.MesCount = static_cast<int16_t>(ch.Between(0, maxMes));
  mk::ResizeMeasures(d, d.MesCount);

  if (ch.OneIn(5))
    d.Title.clear();
  else
    d.Title = Text(ch, "題");
  d.Artist = Text(ch, "作者");
  d.Genre = ch.OneIn(3) ? "" : Text(ch, " ");
  static const double kBpms[] = {120, 150.5, 87.25, 0, 999.125, -3.5, 0.001};
  d.Bpm = ch.Pick(kBpms);
  d.BaseBpm = ch.Pick(kBpms);
  d.Level[0] = static_cast<int16_t>(ch.Between(-5, 40));
  d.Level[1] = static_cast<int16_t>(ch.Between(-32768, 32767));
  d.Pre = ch.OneIn(2) ? Text(ch, "pre") + ".wav" : "";
  d.Wall = ch.OneIn(2) ? Text(ch, "wall") + ".bmp" : "";
  // Definitions: a file name holds no ";" (the reader would take the rest for a comment).
  auto defs = [&](std::vector<mk::DefEntry>& table, int from) {
    for (int n = from; n < static_cast<int>(table.size()); ++n) {
      if (!ch.OneIn(40)) continue;
      if (!ch.OneIn(5)) {
        std::string file = Text(ch, "音") + ".wav";
        std::replace(file.begin(), file.end(), ';', '_');
        table[n].File = file;
      }
      if (ch.OneIn(2)) table[n].Comment = Text(ch, "メモ ");
    }
  };
  defs(d.Wav, 1);
  defs(d.Bga, 0);

  static const double kLengths[] = {0.5, 0.75, 1, 1.5, 2, 0.125, 3.25};
  for (int m = 0; m <= d.MesCount; ++m) {
    mk::MesData& tempo = CellToWrite(d, 0, m);
    if (!d.Keys.Mesc.empty() && ch.OneIn(4)) tempo.Length = ch.Pick(kLengths);
    if (!d.Keys.Tmpc.empty() && ch.OneIn(3))
      for (int i = ch.Between(1, 4); i > 0; --i)
        tempo.Obj[ch.Between(0, 191)] = static_cast<int16_t>(ch.Between(1, 255));
  }

  static const int kGrids[] = {1, 2, 3, 4, 6, 8, 12, 16, 24, 32, 48, 64, 96, 192};
  for (int l = 1; l <= d.LaneCount; ++l) {
    const mk::LaneInfo& li = d.Lane[l];
    const int group = GroupOf(d, l);
    const int first = group >= 0 ? d.Fmt.Gt[group].Lane : -1;
    // The layers a line can carry: a group carries the front of its lanes (the fourth one's on
    // its W line when it has no channel of its own).
    const bool front = group >= 0 || li.Channel != kNone;
    const bool back = li.BackChannel != kNone;
    const int max = mk::DefNumMax(li.Part == mk::kPartBga ? d.Fmt.BNum : d.Fmt.WNum);
    if (max <= 0) continue;
    for (int m = 0; m <= d.MesCount; ++m) {
      for (int layer = 0; layer < 2; ++layer) {
        if (!(layer == 0 ? front : back) || !ch.OneIn(3)) continue;
        const int grid = ch.Pick(kGrids);
        mk::MesData& cell = CellToWrite(d, l, m);
        for (int i = ch.Between(1, 5); i > 0; --i) {
          int v = ch.Between(1, max);
          if (layer == 0 && l == first && ch.OneIn(4)) {
            v += mk::kOpenObjectBase;
            if (coverage) ++coverage->openObjects;
          }
          if (coverage) ++coverage->objects;
          (layer == 0 ? cell.Obj : cell.BackObj)[ch.Below(static_cast<uint32_t>(grid)) * (192 / grid)] =
              static_cast<int16_t>(v);
        }
      }
    }
  }
  mk::RecalcLaneResolution(d, 0, d.LaneCount, 0, d.MesCount);
}

std::string ChartDifference(const mk::DocData& a, const mk::DocData& b) {
  auto str = [](const auto& v) { return std::to_string(v); };
  if (a.Title != b.Title) return "title: " + a.Title + " / " + b.Title;
  if (a.Artist != b.Artist) return "artist: " + a.Artist + " / " + b.Artist;
  if (a.Genre != b.Genre) return "genre: " + a.Genre + " / " + b.Genre;
  if (a.Bpm != b.Bpm || a.BaseBpm != b.BaseBpm) return "BPM";
  if (a.Level != b.Level) return "levels";
  if (a.Pre != b.Pre || a.Wall != b.Wall) return "preview or wallpaper";
  if (a.Wav.size() != b.Wav.size() || a.Bga.size() != b.Bga.size()) return "definition tables";
  for (size_t n = 0; n < a.Wav.size(); ++n)
    if (!(a.Wav[n] == b.Wav[n]))
      return "WAV " + str(n) + ": " + a.Wav[n].File + ";" + a.Wav[n].Comment + " / " + b.Wav[n].File + ";" +
             b.Wav[n].Comment;
  for (size_t n = 0; n < a.Bga.size(); ++n)
    if (!(a.Bga[n] == b.Bga[n]))
      return "BGA " + str(n) + ": " + a.Bga[n].File + ";" + a.Bga[n].Comment + " / " + b.Bga[n].File + ";" +
             b.Bga[n].Comment;
  if (a.MesCount != b.MesCount) return "measures " + str(a.MesCount) + " / " + str(b.MesCount);
  if (a.LaneCount != b.LaneCount) return "lanes";
  for (int l = 0; l <= a.LaneCount; ++l) {
    for (int m = 0; m <= a.MesCount; ++m) {
      const mk::MesData& x = a.Obj[l].Mes[m];
      const mk::MesData& y = b.Obj[l].Mes[m];
      if (x.Length != y.Length) return "length of measure " + str(m);
      if (x.Obj.Entries() == y.Obj.Entries() && x.BackObj.Entries() == y.BackObj.Entries()) continue;
      for (int t = 0; t < mk::kCellSlots; ++t) {
        if (x.Obj[t] != y.Obj[t])
          return "lane " + str(l) + " measure " + str(m) + " tick " + str(t) + " front " + str(x.Obj[t]) + " / " +
                 str(y.Obj[t]);
        if (x.BackObj[t] != y.BackObj[t])
          return "lane " + str(l) + " measure " + str(m) + " tick " + str(t) + " back " + str(x.BackObj[t]) + " / " +
                 str(y.BackObj[t]);
      }
    }
  }
  return {};
}

RoundTrip CheckRoundTrip(Choices& ch, bool wild, Coverage* coverage) {
  RoundTrip r;
  r.script = RandomScript(ch, wild);
  mk::DocData doc;
  std::string info;
  const mk::ScriptReadResult sr = mk::ReadScriptLines(r.script, "gen.dfn", doc, info);
  if (!sr.ok) {
    r.refused = true;
    r.refusal = sr.message.text;
    if (coverage) ++coverage->refused;
    if (r.refusal.empty() || !sr.message.fatal) r.failure = "refused without a fatal message";
    return r;
  }
  FillChart(doc, ch, coverage);
  r.written = mk::ChartText(doc, 0);
  (void)mk::ChartText(doc, -1);  // the player's form is written from the same chart too

  mk::DocData back;
  mk::ReadScriptLines(r.script, "gen.dfn", back, info);
  back.MesCount = doc.MesCount;
  mk::ResizeMeasures(back, back.MesCount);
  const mk::ChartReadResult rr = mk::ReadChartText(back, r.written, mk::ChartCoding::Utf8, false);
  if (!rr.ok) {
    r.failure = "read back failed at line " + std::to_string(rr.line) + ": " + rr.reason;
    return r;
  }
  r.failure = ChartDifference(doc, back);
  if (!r.failure.empty()) return r;
  if (!back.FreeText.empty()) {
    r.failure = "lines read as free text: " + back.FreeText.substr(0, 200);
    return r;
  }
  const std::string again = mk::ChartText(back, 0);
  if (again != r.written) {
    const auto at = std::mismatch(again.begin(), again.end(), r.written.begin(), r.written.end());
    r.failure = "written again differently from byte " + std::to_string(at.first - again.begin());
  }
  return r;
}

}  // namespace chartgen
