// Script layouts whose charts cannot be read back as written: channel names, lane groups and
// numbering modes, checked as the chart reader will meet them.
#include "chartfmt/scriptlayout.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <unordered_map>

#include "chartfmt/defcode.h"

namespace mk {

namespace {

constexpr const char* kNoChannel = "__";

std::string Upper(std::string_view s) {
  std::string u(s);
  for (char& c : u)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  return u;
}

size_t CharLen(std::string_view s, size_t i) {
  size_t n = 1;
  while (i + n < s.size() && (static_cast<unsigned char>(s[i + n]) & 0xC0) == 0x80) ++n;
  return n;
}

bool Listed(const std::vector<std::string>& list, size_t from, std::string_view ch) {
  for (size_t i = from; i < list.size(); ++i)
    if (list[i] == ch) return true;
  return false;
}

// Group lines carry codes of the WAV numbering mode; numbers of valueMode fit them when the
// conversions agree on every number valueMode allows (modes 2 and 3 convert alike).
bool Codable(int16_t lineMode, int16_t valueMode) {
  if (DefNumMax(valueMode) <= 0) return true;  // no number of that kind can be held
  if (lineMode == 2 || lineMode == 3) return true;
  return lineMode == 1 && valueMode == 1;
}

enum class Kind { Tempo, Length, GroupDigit, GroupW, Front, Back };

// A channel name the chart reader recognises, in its order of trial.
struct Entry {
  std::string name;
  std::string key;  // letter case as the reader compares
  Kind kind;
  int index;  // lane or group
  int line;
  bool written;  // the chart writer prints lines of it
};

class Check {
 public:
  Check(const DocData& doc, const ScriptLineNumbers& lines) : doc_(doc), lines_(lines) {}

  LayoutFault Run() {
    if (Groups()) return fault_;
    Collect();
    for (const Entry& e : entries_) {
      if (e.written && !Readable(e)) return fault_;
    }
    for (const Entry& e : entries_) {
      if (e.written && !Routed(e)) return fault_;
    }
    return fault_;
  }

 private:
  int LaneLine(int lane) const { return lane < static_cast<int>(lines_.lanes.size()) ? lines_.lanes[lane] : 0; }
  int GroupLine(int group) const { return group < static_cast<int>(lines_.groups.size()) ? lines_.groups[group] : 0; }
  const GtEntry& Group(int i) const { return doc_.Fmt.Gt[i]; }
  int GroupCount() const { return std::min<int>(doc_.Fmt.GtCount + 1, static_cast<int>(doc_.Fmt.Gt.size())); }
  bool Fail(int line1, int line2, std::string reason) {
    fault_ = LayoutFault{line1, line2, std::move(reason)};
    return true;
  }
  // The group whose three combined lanes hold lane, or -1.
  int CombinedIn(int lane) const {
    for (int i = 0; i < GroupCount(); ++i)
      if (lane >= Group(i).Lane && lane <= Group(i).Lane + 2) return i;
    return -1;
  }

  // True (with the fault) when a group cannot be written faithfully.
  bool Groups() {
    const int16_t wnum = doc_.Fmt.WNum, bnum = doc_.Fmt.BNum;
    for (int i = 0; i < GroupCount(); ++i) {
      const GtEntry& g = Group(i);
      if (g.Lane < 1 || g.Lane + 3 > doc_.LaneCount || g.Lane + 3 >= static_cast<int>(doc_.Lane.size()))
        return Fail(GroupLine(i), 0, "の #GT 定義が存在しないレーンを指しています");
      if (g.Channel.empty()) return Fail(GroupLine(i), 0, "の #GT 定義のチャンネル名が空です");
      for (int j = 0; j < i; ++j) {
        if (std::abs(Group(j).Lane - g.Lane) <= 3)
          return Fail(GroupLine(i), GroupLine(j), "の #GT 定義のレーンが重なっています");
      }
      for (int k = 0; k < 4; ++k) {
        const int lane = g.Lane + k;
        const bool inGroupLines = k < 3 || doc_.Lane[lane].Channel == kNoChannel;
        if (inGroupLines && doc_.Lane[lane].Part == kPartBga && !Codable(wnum, bnum))
          return Fail(
              GroupLine(i), LaneLine(lane),
              "の #GT 定義のレーンは BGA の番号を使いますが、グループの行の #WNUM の形式ではその番号を書けません");
      }
    }
    return false;
  }

  void Add(const std::string& name, Kind kind, int index, int line, bool written) {
    entries_.push_back(Entry{name, Upper(name), kind, index, line, written});
  }

  // Every name the reader recognises, in its order: tempo, length, groups (digits 0 to 7, then
  // W), lanes (front, then back).
  void Collect() {
    const ScrKeys& k = doc_.Keys;
    if (!k.Tmpc.empty()) Add(k.Tmpc, Kind::Tempo, 0, lines_.tmpc, true);
    if (!k.Mesc.empty()) Add(k.Mesc, Kind::Length, 0, lines_.mesc, true);
    for (int i = 0; i < GroupCount(); ++i) {
      const GtEntry& g = Group(i);
      for (char d = '0'; d <= '7'; ++d) Add(g.Channel + d, Kind::GroupDigit, i, GroupLine(i), true);
      if (doc_.Lane[g.Lane + 3].Channel == kNoChannel) Add(g.Channel + "W", Kind::GroupW, i, GroupLine(i), true);
    }
    for (int l = 1; l <= doc_.LaneCount && l < static_cast<int>(doc_.Lane.size()); ++l) {
      const LaneInfo& lane = doc_.Lane[l];
      // The group's lines carry the front layer of its combined lanes; only stacked ones also
      // take placeholder lines of their own channel.
      const bool frontWritten = CombinedIn(l) < 0 || lane.Part == kPartStacked;
      if (lane.Channel != kNoChannel) Add(lane.Channel, Kind::Front, l, LaneLine(l), frontWritten);
      if (lane.BackChannel != kNoChannel) Add(lane.BackChannel, Kind::Back, l, LaneLine(l), true);
    }
    for (size_t i = 0; i < entries_.size(); ++i) first_.emplace(entries_[i].key, i);  // the first one stays
    // Texts after which a separator symbol ends the channel (the group digits 8 and 9 too).
    for (const Entry& e : entries_) known_.emplace(e.key, e.line);
    for (int i = 0; i < GroupCount(); ++i)
      for (char d = '8'; d <= '9'; ++d) known_.emplace(Upper(Group(i).Channel + d), GroupLine(i));
  }

  // The name survives the cleaning of a chart line whole, and no separator symbol in it ends
  // the channel early.
  bool Readable(const Entry& e) {
    if (e.name.empty()) return !Fail(e.line, 0, "のチャンネル名が空です");
    const ScrKeys& k = doc_.Keys;
    for (size_t i = 0; i < e.name.size();) {
      const size_t n = CharLen(e.name, i);
      const std::string_view ch(e.name.data() + i, n);
      const char c = Upper(ch)[0];
      const bool alnum = n == 1 && ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'));
      if (!alnum && !Listed(k.OSymbol, 1, ch))
        return !Fail(e.line, 0,
                     "のチャンネル名「" + e.name + "」は譜面の行に残らない文字「" + std::string(ch) +
                         "」を含んでいます");
      if (i > 0 && Listed(k.SSymbol, 0, ch)) {
        const auto it = known_.find(e.key.substr(0, i));
        if (it != known_.end())
          return !Fail(e.line, it->second,
                       "のチャンネル名「" + e.name + "」は区切り記号「" + std::string(ch) +
                           "」の前が別のチャンネル名になるため読み戻せません");
      }
      i += n;
    }
    return true;
  }

  // The reader takes a line of this name for the first name in its order that begins it.
  bool Routed(const Entry& e) {
    size_t best = SIZE_MAX;
    for (size_t len = 1; len <= e.key.size(); ++len) {
      const auto it = first_.find(e.key.substr(0, len));
      if (it != first_.end()) best = std::min(best, it->second);
    }
    const Entry& b = entries_[best];
    if (&b == &e) return CaughtWithSeparator(e);
    // Lanes of part 99 share a channel: its lines fill them in turn.
    const bool lanes = (b.kind == Kind::Front || b.kind == Kind::Back) && b.kind == e.kind;
    if (lanes && b.key == e.key && doc_.Lane[b.index].Part == kPartStacked && doc_.Lane[e.index].Part == kPartStacked)
      return true;
    return ReadAs(e, b);
  }

  // Lines of e are read as lines of b: a fault.
  bool ReadAs(const Entry& e, const Entry& b) {
    return !Fail(e.line, b.line,
                 "のチャンネル名「" + e.name + "」の行は「" + b.name + "」の行として読まれるため読み戻せません");
  }

  // A line of this name goes on with the separator the writer puts after it: a name tried
  // before it that begins with both (the separator being a symbol a name may hold) takes the
  // line, whatever the codes after it.
  bool CaughtWithSeparator(const Entry& e) {
    const ScrKeys& k = doc_.Keys;
    const std::string lead = e.key + Upper(k.SSymbol.empty() ? ":" : k.SSymbol[0]);
    if (lead.size() == e.key.size()) return true;  // no separator symbol to go on with
    const auto self = static_cast<size_t>(&e - entries_.data());
    for (size_t j = 0; j < self; ++j) {
      const Entry& b = entries_[j];
      if (b.key.size() >= lead.size() && b.key.compare(0, lead.size(), lead) == 0) return ReadAs(e, b);
    }
    return true;
  }

  const DocData& doc_;
  const ScriptLineNumbers& lines_;
  LayoutFault fault_;
  std::vector<Entry> entries_;
  std::unordered_map<std::string, size_t> first_;
  std::unordered_map<std::string, int> known_;
};

}  // namespace

LayoutFault CheckChartLayout(const DocData& doc, const ScriptLineNumbers& lines) { return Check(doc, lines).Run(); }

}  // namespace mk
