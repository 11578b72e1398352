#include "chartfmt/scriptread.h"

#include <cstring>
#include <functional>

#include "chartfmt/defcode.h"
#include "chartfmt/scriptlayout.h"
#include "chartfmt/scriptreg.h"
#include "chartfmt/scriptwin.h"
#include "platform/core/ansitext.h"
#include "platform/core/textfile.h"
#include "platform/core/vbnum.h"

namespace mk {

std::vector<std::string> SplitScriptList(const std::string& v, size_t limit) {
  std::vector<std::string> out;
  if (v.empty()) return out;
  size_t start = 0;
  for (;;) {
    size_t comma = v.find(',', start);
    if (comma == std::string::npos || (limit != 0 && out.size() + 1 == limit)) {
      out.push_back(v.substr(start));
      return out;
    }
    out.push_back(v.substr(start, comma - start));
    start = comma + 1;
  }
}

namespace {

const char kPartError[] = "不正なパートNoを検出しました";
const char kRangeReason[] = "の数値が範囲外です";
const char kLaneFieldsReason[] = "のレーン定義の項目が足りません";
const char kGroupPiecesReason[] = "の #GT 定義の項目が足りません";
const char kGroupLaneReason[] = "の #GT 定義が存在しないレーンを指しています";
const char kTooManyReason[] = "の定義が多すぎます";

// Byte position just after the UTF-8 character that starts at pos.
size_t CharEnd(const std::string& s, size_t pos) {
  if (pos >= s.size()) return s.size();
  ++pos;
  while (pos < s.size() && (static_cast<unsigned char>(s[pos]) & 0xC0) == 0x80) ++pos;
  return pos;
}

// Every character of a text as its own string.
std::vector<std::string> SplitChars(const std::string& s) {
  std::vector<std::string> out;
  for (size_t i = 0; i < s.size();) {
    size_t e = CharEnd(s, i);
    out.push_back(s.substr(i, e - i));
    i = e;
  }
  return out;
}

// The fields of a lane line, read like a comma-separated data file: leading blanks of a field
// are skipped; a field in double quotes may hold commas, and what follows its closing quote up
// to the next comma is dropped.
std::vector<std::string> SplitFields(const std::string& line) {
  std::vector<std::string> fields;
  const size_t n = line.size();
  size_t i = 0;
  for (;;) {
    while (i < n && (line[i] == ' ' || line[i] == '\t')) ++i;
    size_t comma;
    if (i < n && line[i] == '"') {
      size_t close = line.find('"', i + 1);
      if (close == std::string::npos) {
        fields.push_back(line.substr(i + 1));
        return fields;
      }
      fields.push_back(line.substr(i + 1, close - i - 1));
      comma = line.find(',', close + 1);
    } else {
      comma = line.find(',', i);
      fields.push_back(line.substr(i, comma == std::string::npos ? std::string::npos : comma - i));
    }
    if (comma == std::string::npos) return fields;
    i = comma + 1;
  }
}

// "RRGGBB" as the lane's red, green and blue.
Rgb ParseColor(const std::string& field) {
  const std::array<int, 3> c = plat::ColourPairs(field);
  return Rgb{static_cast<int16_t>(c[0]), static_cast<int16_t>(c[1]), static_cast<int16_t>(c[2])};
}

class Reader {
 public:
  Reader(const std::vector<std::string>& lines, const std::string& name, DocData& doc, std::string& info)
      : lines_(lines), name_(name), doc_(doc), info_(info) {}

  ScriptReadResult Run();

 private:
  using Handler = std::function<bool(const std::string& value)>;
  struct Directive {
    const char* text;
    Handler handle;  // false: the line broke a rule and result_ holds the message
  };

  void Reset();
  std::vector<Directive> Directives();
  bool Fail(const std::string& reason) {
    result_.ok = false;
    result_.message = ScriptLineError(name_, static_cast<int>(pos_), reason);
    return false;
  }
  bool Number(const std::string& value, int16_t& out) {
    std::optional<int16_t> n = plat::ToInt16(plat::LeadingNumber(value));
    if (!n) return Fail(kRangeReason);
    out = *n;
    return true;
  }
  bool LaneBlock();
  bool LaneLine(const std::string& line);
  void HelpBlock();
  void Finish();

  const std::vector<std::string>& lines_;
  const std::string& name_;
  DocData& doc_;
  std::string& info_;
  size_t pos_ = 0;  // 1-based number of the line being handled
  int16_t groups_ = 0;
  std::vector<size_t> groupLines_;
  ScriptLineNumbers numbers_;  // where lanes, groups and the tempo and length channels were said
  ScriptReadResult result_;
};

void Reader::Reset() {
  ScrFormat& f = doc_.Fmt;
  doc_.LaneCount = 0;
  doc_.MaxPart = 0;
  doc_.PartCount = 0;
  info_.clear();
  f.Head.clear();
  f.Foot.clear();
  f.WNum = 1;
  f.BNum = 1;
  f.Ml = 3;
  f.Bright = 24;
  f.BExt = {"@"};
  f.BlType = 0;
  // A window slot reused for another script starts these from a fresh window's values, so no
  // chart ever plays with the player or levels of the script read before.
  f.Ext.clear();
  f.Lv = {0, 0, 0};
  f.Lvn = {"", "", ""};
  f.Viewer.clear();
  f.VStart.clear();
  f.VPlay.clear();
  f.VPlayH.clear();
  f.VStop.clear();
  f.Gt.clear();
  f.GtCount = -1;
  doc_.Keys = ScrKeys{};
  doc_.Keys.Echo = {""};
  doc_.Keys.EchoCount = 0;
  doc_.Keys.HSymbol = {"#"};
  doc_.Keys.SSymbol = {":"};
  doc_.Keys.OSymbol = {""};
  doc_.PKeys = ScrKeys{};
  doc_.Lane.assign(1, LaneInfo{});
}

std::vector<Reader::Directive> Reader::Directives() {
  ScrFormat& f = doc_.Fmt;
  ScrKeys& k = doc_.Keys;
  ScrKeys& p = doc_.PKeys;
  auto text = [](std::string& field) {
    return [&field](const std::string& v) {
      field = v;
      return true;
    };
  };
  auto number = [this](int16_t& field) { return [this, &field](const std::string& v) { return Number(v, field); }; };
  // "#LVNk name", "#LEVELk keyword": the value starts with the level digit k, and what follows
  // the character after it is stored. A digit other than 1 to 3 leaves the line without effect,
  // like a directive the format does not know.
  auto level = [](std::array<std::string, 3>& field) {
    return [&field](const std::string& v) {
      if (!v.empty() && v[0] >= '1' && v[0] <= '3') field[v[0] - '1'] = v.substr(CharEnd(v, 1));
      return true;
    };
  };
  auto symbols = [](std::vector<std::string>& field, bool fromOne) {
    return [&field, fromOne](const std::string& v) {
      std::vector<std::string> s = SplitChars(v);
      if (fromOne) {
        s.insert(s.begin(), std::string());
      } else if (s.empty()) {
        return true;  // no symbol at all: the line is ignored, the symbols before it stay
      }
      field = std::move(s);
      return true;
    };
  };
  return {
      {"#EXT ",
       [&f](const std::string& v) {
         f.Ext = SplitScriptList(v);
         return true;
       }},
      {"#HEAD ", text(f.Head)},
      {"#FOOT ", text(f.Foot)},
      {"#WNUM ", number(f.WNum)},
      {"#BNUM ", number(f.BNum)},
      {"#LV ",
       [this, &f](const std::string& v) {
         std::vector<std::string> pieces = SplitScriptList(v, 3);
         for (size_t i = 0; i < pieces.size(); ++i) {
           if (!Number(pieces[i], f.Lv[i])) return false;
         }
         return true;
       }},
      {"#LVN", level(f.Lvn)},
      {"#GT ",
       [this, &f](const std::string& v) {
         std::vector<std::string> pieces = SplitScriptList(v, 4);
         if (pieces.size() < 3) return Fail(kGroupPiecesReason);
         if (groups_ == INT16_MAX) return Fail(kTooManyReason);
         GtEntry g;
         g.Name = pieces[0];
         if (!Number(pieces[1], g.Lane)) return false;
         g.Channel = pieces[2];
         g.Channel2 = pieces.size() > 3 ? pieces[3] : pieces[2];
         f.Gt.push_back(g);
         groupLines_.push_back(pos_);
         ++groups_;
         return true;
       }},
      {"#ML ", number(f.Ml)},
      {"#SCRL ",
       [this](const std::string& v) {
         doc_.ScrlUp = plat::LeadingNumber(v) != 0 ? -1 : 0;
         result_.scrollSet = true;
         return true;
       }},
      {"#BRIGHT ", number(f.Bright)},
      {"#VIEWER ", text(f.Viewer)},
      {"#VSTART ", text(f.VStart)},
      {"#VPLAY ", text(f.VPlay)},
      {"#VPLAYH ", text(f.VPlayH)},
      {"#VSTOP ", text(f.VStop)},
      {"#BEXT ",
       [&f](const std::string& v) {
         if (!v.empty()) f.BExt = SplitScriptList(v);  // the BGA file dialog needs an entry 0
         return true;
       }},
      {"#BLTYPE ", number(f.BlType)},
      {"#TITLE ", text(k.Title)},
      {"#ARTIST ", text(k.Artist)},
      {"#GENRE ", text(k.Genre)},
      {"#BPM ", text(k.Bpm)},
      {"#BASEBPM ", text(k.BaseBpm)},
      {"#LEVEL", level(k.Level)},
      {"#WAV ", text(k.Wav)},
      {"#BGA ", text(k.Bga)},
      {"#PRE ", text(k.Pre)},
      {"#WALL ", text(k.Wall)},
      {"#TMPC ",
       [this, &k](const std::string& v) {
         k.Tmpc = v;
         numbers_.tmpc = static_cast<int>(pos_);
         return true;
       }},
      {"#MESC ",
       [this, &k](const std::string& v) {
         k.Mesc = v;
         numbers_.mesc = static_cast<int>(pos_);
         return true;
       }},
      {"#PATH ", text(k.Path)},
      {"#ECHO ",
       [this, &k](const std::string& v) {
         if (k.EchoCount == INT16_MAX) return Fail(kTooManyReason);
         k.Echo.push_back(v);
         ++k.EchoCount;
         return true;
       }},
      {"#HSYMBOL ", symbols(k.HSymbol, false)},
      {"#SSYMBOL ", symbols(k.SSymbol, false)},
      {"#OSYMBOL ", symbols(k.OSymbol, true)},
      {"#PBPM ", text(p.Bpm)},
      {"#PBASEBPM ", text(p.BaseBpm)},
      {"#PWAV ", text(p.Wav)},
      {"#PBGA ", text(p.Bga)},
      {"#PTMPC ", text(p.Tmpc)},
      {"#PMESC ", text(p.Mesc)},
  };
}

bool Reader::LaneLine(const std::string& line) {
  const std::vector<std::string> fields = SplitFields(line);
  if (fields.size() < 8) return Fail(kLaneFieldsReason);
  if (doc_.LaneCount >= kMaxScriptLanes) return Fail(kTooManyReason);
  LaneInfo lane;
  lane.Name = fields[0];
  lane.Label = fields[1];
  lane.Channel = fields[2];
  lane.BackChannel = fields[3];
  lane.Color1 = ParseColor(fields[4]);
  lane.Color2 = ParseColor(fields[5]);
  lane.Color3 = ParseColor(fields[6]);
  if (!Number(fields[7], lane.Part)) return false;
  lane.PChannel = fields.size() > 8 && !fields[8].empty() ? fields[8] : lane.Channel;
  lane.PBackChannel = fields.size() > 9 && !fields[9].empty() ? fields[9] : lane.BackChannel;
  if (lane.Part < doc_.MaxPart) {
    result_.ok = false;
    result_.message = ScriptError(kPartError, true);
    return false;
  }
  if (lane.Part > doc_.MaxPart) {
    doc_.MaxPart = lane.Part;
    ++doc_.PartCount;
  }
  doc_.Lane.push_back(std::move(lane));
  numbers_.lanes.push_back(static_cast<int>(pos_));
  ++doc_.LaneCount;
  return true;
}

bool Reader::LaneBlock() {
  while (pos_ < lines_.size()) {
    const std::string& line = lines_[pos_++];
    if (line == "#EOL") return true;
    if (!LaneLine(line)) return false;
  }
  return true;
}

void Reader::HelpBlock() {
  while (pos_ < lines_.size()) {
    const std::string& line = lines_[pos_++];
    if (plat::AsciiUpper(line) == "#EOH") return;
    info_ += line;
    info_ += "\r\n";
  }
}

void Reader::Finish() {
  ScrFormat& f = doc_.Fmt;
  f.GtCount = static_cast<int16_t>(groups_ - 1);
  // A group covers four lanes from its first one; all four must be lanes of the lane block.
  for (size_t i = 0; i < f.Gt.size(); ++i) {
    if (f.Gt[i].Lane < 1 || f.Gt[i].Lane + 3 > doc_.LaneCount) {
      pos_ = groupLines_[i];
      Fail(kGroupLaneReason);
      return;
    }
  }
  ScrKeys& k = doc_.Keys;
  ScrKeys& p = doc_.PKeys;
  const std::pair<std::string*, const std::string*> fallBack[] = {{&p.Bpm, &k.Bpm},   {&p.BaseBpm, &k.BaseBpm},
                                                                  {&p.Wav, &k.Wav},   {&p.Bga, &k.Bga},
                                                                  {&p.Tmpc, &k.Tmpc}, {&p.Mesc, &k.Mesc}};
  for (const auto& [player, chart] : fallBack) {
    if (player->empty()) *player = *chart;
  }
  // Definition tables: 0..255, 575 or 1295 by the numbering mode; another mode leaves the table
  // empty, so charts of that script hold no definitions of that kind.
  const int16_t wavMax = DefNumMax(f.WNum);
  const int16_t bgaMax = DefNumMax(f.BNum);
  doc_.Wav.assign(wavMax > 0 ? wavMax + 1 : 0, DefEntry{});
  doc_.Bga.assign(bgaMax > 0 ? bgaMax + 1 : 0, DefEntry{});
  doc_.Obj.assign(doc_.LaneCount + 1, LaneMes{});
  // A script whose charts would not read back as they are written is refused here, before any
  // chart of it is made.
  numbers_.lanes.insert(numbers_.lanes.begin(), 0);
  for (size_t line : groupLines_) numbers_.groups.push_back(static_cast<int>(line));
  const LayoutFault fault = CheckChartLayout(doc_, numbers_);
  if (!fault.empty()) {
    result_.ok = false;
    result_.message = ScriptLinesError(name_, fault.line1, fault.line2, fault.reason);
  }
}

ScriptReadResult Reader::Run() {
  Reset();
  std::vector<Directive> table = Directives();
  while (pos_ < lines_.size()) {
    const std::string& line = lines_[pos_++];
    if (line.empty() || line[0] != '#') continue;
    const std::string upper = plat::AsciiUpper(line.substr(0, 10));
    bool matched = false;
    for (const Directive& d : table) {
      const size_t n = std::strlen(d.text);
      if (upper.compare(0, n, d.text) != 0) continue;
      if (!d.handle(line.substr(n))) return result_;
      matched = true;
      break;
    }
    if (matched) continue;
    const std::string whole = plat::AsciiUpper(line);
    if (whole == "#LANE") {
      if (!LaneBlock()) return result_;
    } else if (whole == "#HELP") {
      HelpBlock();
    }
  }
  Finish();
  return result_;
}

}  // namespace

ScriptReadResult ReadScriptLines(const std::vector<std::string>& lines, const std::string& name, DocData& doc,
                                 std::string& info) {
  return Reader(lines, name, doc, info).Run();
}

ScriptReadResult ReadScript(const std::string& path, DocData& doc, std::string& info) {
  const size_t slash = path.find_last_of('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::vector<std::string> lines;
  std::string error;
  if (!plat::ReadTextLines(path, lines, error)) {
    ScriptReadResult r;
    r.ok = false;
    r.message = ScriptOpenError(name, false);
    return r;
  }
  return ReadScriptLines(lines, name, doc, info);
}

namespace {

std::vector<std::string> RowCodes(int16_t mode) {
  std::vector<std::string> codes;
  const int16_t max = DefNumMax(mode);
  codes.reserve(max > 0 ? max : 0);
  for (int16_t k = 1; k <= max; ++k) codes.push_back(DefNumToText(k, mode));
  return codes;
}

}  // namespace

ScriptReadResult ScrRead(int16_t scriptNo, DocData& doc, ScriptWindowSteps& window) {
  if (scriptNo < 1 || scriptNo > g_ScriptCount || scriptNo >= static_cast<int>(g_ScriptTable.size())) {
    ScriptReadResult r;
    r.ok = false;
    r.message = ScriptError("スクリプト番号 " + std::to_string(scriptNo) + " は登録されていません", false);
    return r;
  }
  ScriptEntry& entry = g_ScriptTable[scriptNo];
  ScriptReadResult r = ReadScript(entry.Path, doc, entry.Info);
  if (!r.ok) return r;
  if (r.scrollSet) window.SetScrollDirection();
  if (!doc.Wav.empty()) window.AppendWavRows(RowCodes(doc.Fmt.WNum));
  if (!doc.Bga.empty()) window.AppendBgaRows(RowCodes(doc.Fmt.BNum));
  window.ObjMake();
  window.Scr_Chg();
  window.SetCaption("新規 - " + entry.Title);
  window.HeadDraw();
  window.HeadDraw2();
  window.ObjDraw();
  return r;
}

}  // namespace mk
