// Chart reader: channel lines (tempo, measure length, lane groups, lanes) and their objects.
#include <algorithm>
#include <cmath>

#include "chartfmt/chartread_internal.h"
#include "chartfmt/defcode.h"
#include "platform/core/vbnum.h"

namespace mk::chartread {

namespace {

constexpr int kNoCode = 36;

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
inline bool IsAlnumUpper(char c) { return IsDigit(c) || (c >= 'A' && c <= 'Z'); }

// Place of a cleaned code character among "0".."9", "A".."Z"; kNoCode for any other.
constexpr std::array<uint8_t, 256> kCodeIndex = [] {
  std::array<uint8_t, 256> t{};
  for (int c = 0; c < 256; ++c)
    t[c] = (c >= '0' && c <= '9') ? c - '0' : (c >= 'A' && c <= 'Z') ? c - 'A' + 10 : kNoCode;
  return t;
}();

// Numbers of every two-character code of digits and capitals, by numbering mode, computed
// once with the shared conversion so that both always agree.
const int16_t* CodeTable(int16_t mode) {
  if (mode < 1 || mode > 3) return nullptr;
  static const auto tables = [] {
    static constexpr char kChars[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::array<std::array<int16_t, 36 * 36>, 3> t{};
    for (int16_t md = 1; md <= 3; ++md)
      for (int a = 0; a < 36; ++a)
        for (int b = 0; b < 36; ++b) {
          std::string code{kChars[a], kChars[b]};
          t[md - 1][a * 36 + b] = DefTextToNum(code, md);
        }
    return t;
  }();
  return tables[mode - 1].data();
}

}  // namespace

int Reader::AddSymbol(std::string_view ch) {
  for (size_t k = 0; k < wideSyms_.size(); ++k)
    if (wideSyms_[k] == ch) return static_cast<int>(k);
  if (wideSyms_.size() >= 127) return -1;
  wideSyms_.emplace_back(ch);
  wideH_.push_back(0);
  wideS_.push_back(0);
  wideO_.push_back(0);
  return static_cast<int>(wideSyms_.size()) - 1;
}

// The name as it would stand in a cleaned line: ASCII upper-cased, listed symbols by their
// byte. False when the name holds a character that no cleaned line can hold.
bool Reader::MapName(std::string_view name, std::string& out) const {
  out.clear();
  for (size_t i = 0; i < name.size();) {
    const size_t n = CharBytes(name, i);
    if (n == 1 && static_cast<unsigned char>(name[i]) < 128) {
      out.push_back(Up(name[i]));
    } else {
      const std::string_view ch = name.substr(i, n);
      const auto it = std::find(wideSyms_.begin(), wideSyms_.end(), ch);
      if (it == wideSyms_.end()) return false;
      out.push_back(static_cast<char>(0x80 + (it - wideSyms_.begin())));
    }
    i += n;
  }
  return true;
}

void Reader::AddChannel(std::string_view name, ChannelEntry e) {
  std::string key;
  if (name.empty() || !MapName(name, key)) return;
  if (!channels_.Insert(key, e)) return;  // an earlier one in the order decides
  if (std::find(nameLengths_.begin(), nameLengths_.end(), key.size()) == nameLengths_.end())
    nameLengths_.push_back(key.size());
}

void Reader::BuildChannelIndex() {
  const ScrKeys& k = doc_.Keys;
  auto symbols = [&](const std::vector<std::string>& list, size_t from, std::array<bool, 128>& ascii,
                     std::vector<uint8_t>& wide) {
    for (size_t i = from; i < list.size(); ++i) {
      const std::string& s = list[i];
      if (s.empty()) continue;
      if (s.size() == 1 && static_cast<unsigned char>(s[0]) < 128) {
        ascii[static_cast<unsigned char>(s[0])] = true;
      } else if (CharBytes(s, 0) == s.size()) {
        const int at = AddSymbol(s);
        if (at >= 0) wide[at] = 1;
      }
    }
  };
  symbols(k.HSymbol, 0, hsym_, wideH_);
  symbols(k.SSymbol, 0, ssym_, wideS_);
  symbols(k.OSymbol, 1, osym_, wideO_);

  int order = 0;
  auto add = [&](std::string_view name, ChannelKind kind, int index, int digit) {
    ChannelEntry e;
    e.order = order++;
    e.kind = kind;
    e.index = static_cast<int16_t>(index);
    e.digit = static_cast<int8_t>(digit);
    AddChannel(name, e);
  };
  auto upper = [](std::string_view s) {
    std::string u(s);
    for (char& c : u) c = Up(c);
    return u;
  };
  if (!k.Mesc.empty()) AddKnown(upper(k.Mesc), 2);
  if (!k.Tmpc.empty()) AddKnown(upper(k.Tmpc), 1);
  add(k.Tmpc, ChannelKind::Tempo, 0, 0);
  add(k.Mesc, ChannelKind::Length, 0, 0);
  const ScrFormat& f = doc_.Fmt;
  const int groups = std::min<int>(f.GtCount + 1, static_cast<int>(f.Gt.size()));
  for (int g = 0; g < groups; ++g) {
    const GtEntry& gt = f.Gt[g];
    // A group whose four lanes are not all in the lane table is not used: its lines stay in
    // the free text.
    if (gt.Channel.empty() || gt.Lane < 0 || gt.Lane + 3 > lanes_) continue;
    const std::string ch = upper(gt.Channel);
    for (char d = '0'; d <= '9'; ++d) AddKnown(ch + d, 1);
    const bool w = doc_.Lane[gt.Lane + 3].Channel == "__";
    if (w) AddKnown(ch + 'W', 1);
    for (int d = 0; d <= 7; ++d) add(gt.Channel + static_cast<char>('0' + d), ChannelKind::GroupDigit, g, d);
    if (w) add(gt.Channel + "W", ChannelKind::GroupW, g, 0);
  }
  for (int l = 1; l <= lanes_; ++l) {
    const LaneInfo& lane = doc_.Lane[l];
    if (lane.Part == kPartStacked) stacked_ = true;
    for (const std::string* ch : {&lane.Channel, &lane.BackChannel}) {
      if (*ch != "__" && !ch->empty()) AddKnown(upper(*ch), 1);
      if (*ch != "__") add(*ch, ch == &lane.Channel ? ChannelKind::LaneFront : ChannelKind::LaneBack, l, 0);
    }
  }
  std::sort(nameLengths_.begin(), nameLengths_.end());
  // What each byte of a line becomes in the cleaned line (0: dropped): letters upper-cased,
  // digits, capitals and kept symbols kept; listed non-ASCII symbols by their byte.
  for (int c = 0; c < 256; ++c) {
    const auto u = static_cast<unsigned char>(Up(static_cast<char>(c)));
    bool kept;
    if (u < 128)
      kept = IsAlnumUpper(static_cast<char>(u)) || osym_[u];
    else
      kept = u - 0x80u < wideO_.size() && wideO_[u - 0x80u];
    keep_[c] = kept ? u : 0;
    keepDot_[c] = c == '.' ? '.' : keep_[c];
  }
  if (stacked_) marks_.resize(lanes_ + 1);
}

void Reader::AddKnown(std::string_view upperName, uint8_t kind) {
  if (known_.Insert(upperName, kind)) maxKnown_ = std::max(maxKnown_, upperName.size());
}

uint8_t Reader::KnownChannel(std::string_view text) const {
  const uint8_t* kind = known_.Find(text, true);
  return kind ? *kind : 0;
}

// Builds the cleaned line: the command symbol, the measure digits, the channel, the separator
// when one is accepted, and the data, each character as one byte, blanks and other
// punctuation dropped.
void Reader::Clean(std::string_view line, size_t first, bool ascii) {
  if (cleanBuf_.size() < line.size()) cleanBuf_.resize(std::max(line.size(), 2 * cleanBuf_.size()));
  char* const start = cleanBuf_.data();
  char* out = start;
  lengthLine_ = false;
  bool sep = false;
  const size_t channelPos = static_cast<size_t>(ml_) + 2;  // 1-based character position
  if (ascii) {
    // One byte per character: positions are byte indices + 1.
    const size_t n = line.size();
    const auto at = [&](size_t i) { return static_cast<unsigned char>(line[i]); };
    const unsigned char b0 = static_cast<unsigned char>(Up(line[0]));
    if (hsym_[b0]) *out++ = static_cast<char>(b0);
    size_t i = 1;
    for (const size_t end = std::min(n, channelPos); i < end; ++i)
      if (const uint8_t c = keep_[at(i)]) *out++ = static_cast<char>(c);
    const size_t channelByte = channelPos - 1;
    for (; i < n; ++i) {
      const auto b = static_cast<unsigned char>(Up(line[i]));
      uint8_t kind = 0;
      if (ssym_[b & 0x7F] && b < 128 && i - channelByte <= maxKnown_ &&
          (kind = KnownChannel(line.substr(channelByte, i - channelByte))) != 0) {
        *out++ = static_cast<char>(b);
        sep = true;
        lengthLine_ = kind == 2;
        ++i;
        break;
      }
      if (const uint8_t c = keep_[b]) *out++ = static_cast<char>(c);
    }
    // The data: every byte is stored and the end moves on only past kept ones (no branch
    // per byte; the buffer has room for the whole line).
    const std::array<uint8_t, 256>& keep = lengthLine_ ? keepDot_ : keep_;
    for (; i < n; ++i) {
      const uint8_t c = keep[at(i)];
      *out = static_cast<char>(c);
      out += c != 0;
    }
    clean_ = std::string_view(start, static_cast<size_t>(out - start));
    return;
  }
  size_t channelByte = std::string_view::npos;
  size_t pos = 0;
  for (size_t i = 0; i < line.size();) {
    const size_t n = i == 0 ? first : CharBytes(line, i);
    ++pos;
    if (pos == channelPos) channelByte = i;
    const std::string_view ch = line.substr(i, n);
    i += n;
    unsigned char b;
    if (n == 1) {
      b = static_cast<unsigned char>(Up(ch[0]));
      if (b >= 128) continue;
    } else {
      const auto it = std::find(wideSyms_.begin(), wideSyms_.end(), ch);
      if (it == wideSyms_.end()) continue;
      b = static_cast<unsigned char>(0x80 + (it - wideSyms_.begin()));
    }
    if (pos == 1) {
      if (b < 128 ? hsym_[b] : wideH_[b - 0x80]) *out++ = static_cast<char>(b);
      continue;
    }
    uint8_t kind = 0;
    if (pos > channelPos && !sep && channelByte != std::string_view::npos &&
        (b < 128 ? ssym_[b] : wideS_[b - 0x80] != 0) && i - n - channelByte <= maxKnown_ &&
        (kind = KnownChannel(line.substr(channelByte, i - n - channelByte))) != 0) {
      sep = true;
      lengthLine_ = kind == 2;
      *out++ = static_cast<char>(b);
      continue;
    }
    if (const uint8_t c = (sep && lengthLine_ ? keepDot_ : keep_)[b]) *out++ = static_cast<char>(c);
  }
  clean_ = std::string_view(start, static_cast<size_t>(out - start));
}

// The number of code i of data (characters 2i+1 and 2i+2; a lone last one reads as if "0"
// stood before it) in numbering mode mode; table is that mode's CodeTable.
inline int Reader::CodeValue(std::string_view data, size_t i, int16_t mode, const int16_t* table) const {
  const size_t at = 2 * i;
  const char a = at + 1 < data.size() ? data[at] : '0';
  const char b = at + 1 < data.size() ? data[at + 1] : data[at];
  const int ia = kCodeIndex[static_cast<unsigned char>(a)], ib = kCodeIndex[static_cast<unsigned char>(b)];
  if (ia != kNoCode && ib != kNoCode) [[likely]]
    return table ? table[ia * 36 + ib] : 0;
  return OtherCodeValue(a, b, mode);
}

// A code with a kept symbol: the shared conversion on its characters as read.
int Reader::OtherCodeValue(char a, char b, int16_t mode) const {
  std::string code;
  for (char c : {a, b}) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 128)
      code.push_back(c);
    else if (u - 0x80u < wideSyms_.size())
      code += wideSyms_[u - 0x80];
  }
  return DefTextToNum(code, mode);
}

int16_t Reader::LaneMode(int lane) const { return doc_.Lane[lane].Part == kPartBga ? doc_.Fmt.BNum : doc_.Fmt.WNum; }

bool Reader::GrowTo(int m) {
  if (m <= doc_.MesCount) return true;
  // Measures without objects cost nothing in the grid: growing only sets the count.
  const size_t need = static_cast<size_t>(m) + 1;
  for (LaneMes& lane : doc_.Obj)
    if (lane.Mes.size() < need) lane.Mes.resize(need);
  doc_.MesCount = static_cast<int16_t>(m);
  return true;
}

MesData& Reader::Cell(int lane, int m) {
  MesList& list = doc_.Obj[lane].Mes;
  if (!list.Stored(m)) ++cells_;
  return list.Write(m);
}

void Reader::Settle(int lane, int m, MesData& cell, uint16_t bits, bool recount) {
  const int16_t div = recount ? int16_t{-1} : DivisionWith(cell.Division, bits);
  cell.Division = div >= 0 ? div : CellDivision(cell);
  // A cell the line left with nothing at all shares the empty record again.
  if (cell.Division == 0 && cell.Length == 0 && !cell.Obj.Any() && !cell.BackObj.Any()) {
    doc_.Obj[lane].Mes.Clear(m);
    --cells_;
  }
}

bool Reader::LayerFree(int lane, int m, bool back) {
  std::vector<uint8_t>& marks = marks_[lane];
  if (marks.size() <= static_cast<size_t>(m)) marks.resize(doc_.MesCount + 1);
  if (marks[m] & (back ? 2 : 1)) return false;
  const MesData& cell = doc_.Obj[lane].Mes[m];
  return !AnyObject(back ? cell.BackObj : cell.Obj);
}

void Reader::Mark(int lane, int m, bool back) {
  if (!stacked_) return;
  std::vector<uint8_t>& marks = marks_[lane];
  if (marks.size() <= static_cast<size_t>(m)) marks.resize(doc_.MesCount + 1);
  marks[m] |= back ? 2 : 1;
}

namespace {

// Number of codes of a data text of d characters (d / 2 rounded, halves to even).
inline size_t CodeCount(size_t d) { return static_cast<size_t>(std::nearbyint(static_cast<double>(d) / 2.0)); }

// Ticks of code i: the front rule rounds 192 / (d / 2) * i, the back rule truncates the slot
// width first. When d / 2 divides 192 both are exact. Neither passes 192 (the spare slot).
struct TickRule {
  double width;
  int whole;
  bool rounded;
  explicit TickRule(size_t d, bool round)
      : width(d == 0 ? 0.0 : 192.0 / (static_cast<double>(d) / 2.0)), whole(static_cast<int>(width)), rounded(round) {
    if (d % 2 == 0 && d > 0 && d / 2 <= 192 && 192 % (d / 2) == 0) rounded = false;
  }
  int operator()(size_t i) const {
    const int t =
        rounded ? static_cast<int>(std::nearbyint(width * static_cast<double>(i))) : whole * static_cast<int>(i);
    // Codes of an overlong line that round past the measure's last tick land on it: the end
    // of the measure is the next measure's start, where a save could not write them.
    return std::min(t, kTicksPerMeasure - 1);
  }
};

}  // namespace

bool Reader::StoreTempo(std::string_view data, int m) {
  const size_t n = CodeCount(data.size());
  const TickRule tick(data.size(), true);
  MesData& cell = Cell(0, m);
  // Empty slots are told by the WAV numbering mode; a script without one (a mode other than 1
  // to 3 codes nothing) still keeps its tempo values, told by their base-16 value.
  const int16_t* hex = CodeTable(1);
  const int16_t* test = CodeTable(doc_.Fmt.WNum) ? CodeTable(doc_.Fmt.WNum) : hex;
  const int16_t testMode = test == hex ? 1 : doc_.Fmt.WNum;
  int64_t stored = 0;
  for (size_t i = 0; i < n; ++i) {
    if (CodeValue(data, i, testMode, test) < 1) continue;
    cell.Obj[tick(i)] = static_cast<int16_t>(CodeValue(data, i, 1, hex));
    ++stored;
  }
  Count(stored);
  // A tempo value may read as 0 and so remove a tick: the count is taken afresh.
  Settle(0, m, cell, 0, true);
  return true;
}

bool Reader::StoreLane(const ChannelEntry& e, std::string_view data, int m) {
  const bool back = e.kind == ChannelKind::LaneBack;
  int lane = e.index;
  if (doc_.Lane[lane].Part == kPartStacked) {
    // Lanes sharing one channel are filled in turn: the next line goes to the first lane from
    // here whose layer is still free in this measure (front and back lines counted apart). A
    // lane without a channel in that layer never gets its lines, so they pass it by.
    auto none = [&](int l) { return (back ? doc_.Lane[l].BackChannel : doc_.Lane[l].Channel) == "__"; };
    while (lane <= lanes_ && (none(lane) || !LayerFree(lane, m, back))) ++lane;
    if (lane > lanes_)
      return Fail("チャンネル「" + (back ? doc_.Lane[e.index].BackChannel : doc_.Lane[e.index].Channel) +
                  "」の行が多すぎます（重ねるレーンが足りません）");
  }
  Mark(lane, m, back);
  MesData& cell = Cell(lane, m);
  uint16_t bits = 0;
  const int64_t stored = StoreCodes(back ? cell.BackObj : cell.Obj, data, LaneMode(e.index), !back, bits);
  if (!back) Count(stored);
  Settle(lane, m, cell, bits);
  return true;
}

// Stores the numbers of the non-empty codes of data into layer at their ticks (front rule when
// rounded, else the back rule), ORs the slot bits of their ticks into bits and returns how many
// codes were stored. The line's entries are gathered first and written to the layer at once.
int64_t Reader::StoreCodes(CellLayer& layer, std::string_view data, int16_t mode, bool rounded, uint16_t& bits) const {
  const int16_t* table = CodeTable(mode);
  const size_t d = data.size();
  CellLayer::Entry line[kCellSlots];
  size_t k = 0;
  uint16_t acc = 0;
  int64_t stored = 0;
  if (table && d % 2 == 0 && d > 0 && d / 2 <= kTicksPerMeasure && kTicksPerMeasure % (d / 2) == 0) {
    // The usual line: whole codes whose count divides the measure, where both tick rules give
    // code i the tick i * 192 / n, a different one for each code.
    const int step = static_cast<int>(kTicksPerMeasure / (d / 2));
    for (size_t i = 0, t = 0; i < d; i += 2, t += step) {
      const char a = data[i], b = data[i + 1];
      const int ia = kCodeIndex[static_cast<unsigned char>(a)], ib = kCodeIndex[static_cast<unsigned char>(b)];
      const int v = ia != kNoCode && ib != kNoCode ? table[ia * 36 + ib] : OtherCodeValue(a, b, mode);
      if (v < 1) continue;
      line[k++] = CellLayer::Entry{static_cast<uint8_t>(t), static_cast<int16_t>(v)};
      acc |= TickSlotBits(static_cast<int>(t));
    }
    stored = static_cast<int64_t>(k);
  } else {
    // Ticks rise with the code, but several codes may land on one tick: the last one stands.
    const size_t n = CodeCount(d);
    const TickRule tick(d, rounded);
    for (size_t i = 0; i < n; ++i) {
      const int v = CodeValue(data, i, mode, table);
      if (v < 1) continue;
      const int t = tick(i);
      const CellLayer::Entry e{static_cast<uint8_t>(t), static_cast<int16_t>(v)};
      if (k != 0 && line[k - 1].Tick == e.Tick)
        line[k - 1] = e;
      else
        line[k++] = e;
      acc |= TickSlotBits(t);
      ++stored;
    }
  }
  layer.Merge(line, k);
  bits |= acc;
  return stored;
}

bool Reader::StoreGroup(const ChannelEntry& e, std::string_view data, int m) {
  const GtEntry& gt = doc_.Fmt.Gt[e.index];
  // Group lines are coded in the WAV numbering mode, as the writer codes them.
  const int16_t mode = doc_.Fmt.WNum;
  const int16_t* table = CodeTable(mode);
  const size_t n = CodeCount(data.size());
  if (e.kind == ChannelKind::GroupW) {
    const int lane = gt.Lane + 3;
    Mark(lane, m, false);
    MesData& cell = Cell(lane, m);
    uint16_t bits = 0;
    Count(StoreCodes(cell.Obj, data, mode, true, bits));
    Settle(lane, m, cell, bits);
    return true;
  }
  const TickRule tick(data.size(), false);
  static constexpr int kWeights[3] = {4, 2, 1};
  // The slot bits of what went into each of the group's first three lanes.
  std::array<uint16_t, 3> bits{};
  for (size_t i = 0; i < n; ++i) {
    const int v = CodeValue(data, i, mode, table);
    if (v < 1) continue;
    const int t = tick(i);
    if (e.digit == 0) {
      if (v + kOpenObjectBase > INT16_MAX) return Fail("定義番号が大きすぎて格納できません");
      Cell(gt.Lane, m).Obj[t] = static_cast<int16_t>(v + kOpenObjectBase);
      bits[0] |= TickSlotBits(t);
      continue;
    }
    int rest = e.digit;
    for (int j = 0; j < 3; ++j) {
      if (rest < kWeights[j]) continue;
      Cell(gt.Lane + j, m).Obj[t] = static_cast<int16_t>(v);
      bits[j] |= TickSlotBits(t);
      rest -= kWeights[j];
    }
  }
  for (int j = 0; j < 3; ++j)
    if (bits[j] != 0) Settle(gt.Lane + j, m, doc_.Obj[gt.Lane + j].Mes.Write(m), bits[j]);
  return true;
}

LineOutcome Reader::ChannelLine(std::string_view line, size_t first, bool ascii) {
  // The measure field: the characters after the command symbol, all decimal digits.
  for (size_t i = first, k = 0; k < static_cast<size_t>(ml_) && i < line.size(); ++i, ++k)
    if (!IsDigit(line[i])) return LineOutcome::NoMatch;
  Clean(line, first, ascii);

  // The channel: the first name in the order of trial that starts at the channel position.
  const size_t at = static_cast<size_t>(ml_) + 1;
  if (clean_.size() <= at) return LineOutcome::NoMatch;
  const std::string_view tail = clean_.substr(at);
  const ChannelEntry* best = nullptr;
  size_t bestLen = 0;
  for (size_t len : nameLengths_) {
    if (len > tail.size()) break;
    const ChannelEntry* e = channels_.Find(tail.substr(0, len), false);
    if (e && (!best || e->order < best->order)) {
      best = e;
      bestLen = len;
    }
  }
  if (!best) return LineOutcome::NoMatch;

  // The measure number, then the data after the separator.
  const std::string_view field = clean_.substr(1, ml_);
  int m = 0;
  bool digits = true;
  for (char c : field) {
    if (!IsDigit(c)) {
      digits = false;
      break;
    }
    m = std::min(m * 10 + (c - '0'), 100000);
  }
  if (!digits) {
    const auto v = plat::ToInt16(plat::LeadingNumber(field));
    m = v ? *v : 100000;
  }
  if (m > INT16_MAX || m < 0) {
    Fail("小節番号が範囲外です");
    return LineOutcome::Failed;
  }
  if (measureLimit >= 0 && m > measureLimit && m > doc_.MesCount) return LineOutcome::NoMatch;
  if (!GrowTo(m)) return LineOutcome::Failed;
  const size_t skip = at + bestLen + 1;
  const std::string_view data = skip < clean_.size() ? clean_.substr(skip) : std::string_view();

  bool ok = true;
  switch (best->kind) {
    case ChannelKind::Tempo: ok = StoreTempo(data, m); break;
    case ChannelKind::Length: {
      const double v = plat::LeadingNumber(data);
      if (!std::isfinite(v)) {
        ok = Fail("数値が大きすぎます");
      } else {
        MesData& cell = Cell(0, m);
        cell.Length = v;
        Settle(0, m, cell, 0);
      }
      break;
    }
    case ChannelKind::GroupDigit:
    case ChannelKind::GroupW: ok = StoreGroup(*best, data, m); break;
    case ChannelKind::LaneFront:
    case ChannelKind::LaneBack: ok = StoreLane(*best, data, m); break;
  }
  if (ok && cells_ > kMaxChartCells)
    ok = Fail("オブジェのある小節が多すぎます（レーンと小節の組が " + std::to_string(kMaxChartCells) +
              " を超えました）");
  return ok ? LineOutcome::Done : LineOutcome::Failed;
}

}  // namespace mk::chartread
