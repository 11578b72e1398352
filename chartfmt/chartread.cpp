// Chart reader: line splitting, line classes, header, definition and echo lines.
#include "chartfmt/chartread.h"

#include <cmath>
#include <cstring>

#include "chartfmt/chartread_internal.h"
#include "chartfmt/defcode.h"
#include "platform/core/ansitext.h"
#include "platform/core/textfile.h"
#include "platform/core/vbnum.h"

namespace mk {
namespace chartread {

size_t CharBytes(std::string_view s, size_t i) {
  const auto b = static_cast<unsigned char>(s[i]);
  size_t n = 1;
  if (b >= 0xF0)
    n = 4;
  else if (b >= 0xE0)
    n = 3;
  else if (b >= 0xC0)
    n = 2;
  if (i + n > s.size()) return 1;
  for (size_t k = 1; k < n; ++k)
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 1;
  return n;
}

Reader::Reader(DocData& doc, bool scratch) : doc_(doc), scratch_(scratch) {
  // Every lane the script describes gets a grid column with every measure, so that no line
  // can reach a cell that does not exist.
  lanes_ = std::max<int>(0, doc_.LaneCount);
  if (doc_.Lane.size() < static_cast<size_t>(lanes_) + 1)
    lanes_ = std::max<int>(0, static_cast<int>(doc_.Lane.size()) - 1);
  if (doc_.MesCount < 0) doc_.MesCount = 0;
  if (doc_.Obj.size() < static_cast<size_t>(lanes_) + 1) doc_.Obj.resize(lanes_ + 1);
  for (LaneMes& lane : doc_.Obj)
    if (lane.Mes.size() < static_cast<size_t>(doc_.MesCount) + 1) lane.Mes.resize(doc_.MesCount + 1);
  for (const LaneMes& lane : doc_.Obj) cells_ += static_cast<int64_t>(lane.Mes.StoredCells());
  // Each line settles the slot counts of the cells it writes from what they were: the cells
  // already there must hold theirs.
  if (cells_ > 0) RecalcLaneResolution(doc_, 0, lanes_, 0, doc_.MesCount);
  ml_ = std::max<int>(0, doc_.Fmt.Ml);
  if (!scratch_) doc_.ObjReadCount = 0;
  doc_.FreeText.clear();
  BuildChannelIndex();
  const ScrKeys& k = doc_.Keys;
  for (int e = 1; e <= k.EchoCount && e < static_cast<int>(k.Echo.size()); ++e) {
    echoMin_ = std::min(echoMin_, k.Echo[e].size());
    echoMax_ = std::max(echoMax_, k.Echo[e].size());
  }
  for (const std::string* kw : {&k.Title, &k.Artist, &k.Genre, &k.Bpm, &k.BaseBpm, &k.Level[0], &k.Level[1],
                                &k.Level[2], &k.Wav, &k.Bga, &k.Pre, &k.Wall}) {
    if (kw->empty()) continue;
    const auto c = static_cast<unsigned char>((*kw)[0]);
    kwFirst_[c] = true;
    kwFirst_[static_cast<unsigned char>(Up(static_cast<char>(c)))] = true;
    if (c >= 'A' && c <= 'Z') kwFirst_[c + 32] = true;
  }
}

bool Reader::Fail(std::string text) {
  reason = std::move(text);
  return false;
}

bool Reader::IsCommandSymbol(std::string_view ch) const {
  if (ch.size() == 1) {
    const auto b = static_cast<unsigned char>(ch[0]);
    return b < 128 && hsym_[b];
  }
  for (size_t k = 0; k < wideSyms_.size(); ++k)
    if (wideH_[k] && wideSyms_[k] == ch) return true;
  return false;
}

void Reader::FreeLine(std::string_view line) {
  // The script's own head and foot texts and its echo lines are printed by the writer on every
  // save; kept as free text they would come back once more after each save and read.
  const ScrFormat& f = doc_.Fmt;
  if (!line.empty() && (line == f.Head || line == f.Foot)) return;
  if (IsEcho(line)) return;
  doc_.FreeText.append(line);
  doc_.FreeText.append("\r\n");
}

bool Reader::Line(std::string_view line, bool ascii) {
  if (line.empty()) return true;
  const size_t first = ascii ? 1 : CharBytes(line, 0);
  const ScrKeys& k = doc_.Keys;
  bool command = IsCommandSymbol(line.substr(0, first));
  if (!command && line[0] == ';') {
    const std::string_view after = line.substr(1);
    command = (!k.Wav.empty() && plat::StartsWithNoCase(after, k.Wav)) ||
              (!k.Bga.empty() && plat::StartsWithNoCase(after, k.Bga));
    if (!command) return true;  // banner, section titles and other comments
  }
  if (!command) {
    FreeLine(line);
    return true;
  }
  if (CommandLine(line, first)) return reason.empty();
  const LineOutcome out = ChannelLine(line, first, ascii);
  if (out == LineOutcome::Failed) return false;
  if (out == LineOutcome::NoMatch && line[0] != ';') FreeLine(line);
  return true;
}

// Header, definition, comment and echo lines. True when one of them took the line (reason is
// set when it could not be stored).
bool Reader::CommandLine(std::string_view line, size_t first) {
  const ScrKeys& k = doc_.Keys;
  const std::string_view rest = line.substr(first);
  // Channel lines start with a digit after the symbol: no keyword can match them.
  if (rest.empty() || !kwFirst_[static_cast<unsigned char>(rest[0])]) return IsEcho(line);
  // The value after "KW " when the line is a header line of keyword kw.
  auto value = [&](const std::string& kw, std::string_view& out) {
    if (kw.empty() || rest.size() <= kw.size() || !plat::StartsWithNoCase(rest, kw) || rest[kw.size()] != ' ')
      return false;
    out = rest.substr(kw.size() + 1);
    return true;
  };
  auto number = [&](std::string_view text, double& out) {
    const double v = plat::LeadingNumber(text);
    if (!std::isfinite(v)) return Fail("数値が大きすぎます");
    out = v;
    return true;
  };
  std::string_view v;
  if (value(k.Title, v)) {
    doc_.Title.assign(v);
    return true;
  }
  if (value(k.Artist, v)) {
    doc_.Artist.assign(v);
    return true;
  }
  if (value(k.Genre, v)) {
    doc_.Genre.assign(v);
    return true;
  }
  if (value(k.Bpm, v)) {
    number(v, doc_.Bpm);
    return true;
  }
  if (value(k.BaseBpm, v)) {
    number(v, doc_.BaseBpm);
    return true;
  }
  for (int i = 0; i < 3; ++i) {
    if (!value(k.Level[i], v)) continue;
    const auto level = plat::ToInt16(plat::LeadingNumber(v));
    if (!level) return !Fail("レベルの値が範囲外です");
    doc_.Level[i] = *level;
    return true;
  }
  bool matched = false;
  if (line[0] == ';') {
    if (!Definition(line, first, true, false, matched) || matched) return true;
    if (!Definition(line, first, true, true, matched) || matched) return true;
  }
  if (!Definition(line, first, false, false, matched) || matched) return true;
  if (!Definition(line, first, false, true, matched) || matched) return true;
  if (value(k.Pre, v)) {
    doc_.Pre.assign(v);
    return true;
  }
  if (value(k.Wall, v)) {
    doc_.Wall.assign(v);
    return true;
  }
  return IsEcho(line);
}

bool Reader::IsEcho(std::string_view line) const {
  if (line.size() < echoMin_ || line.size() > echoMax_) return false;
  const ScrKeys& k = doc_.Keys;
  for (int e = 1; e <= k.EchoCount && e < static_cast<int>(k.Echo.size()); ++e)
    if (plat::EqualsNoCase(line, k.Echo[e])) return true;
  return false;
}

// ";KW" + code + " " + comment (commentForm), or a symbol, KW, code, " ", file [";" comment].
// matched tells whether the line had the form; false is returned when it could not be stored.
bool Reader::Definition(std::string_view line, size_t first, bool commentForm, bool bga, bool& matched) {
  matched = false;
  const std::string& kw = bga ? doc_.Keys.Bga : doc_.Keys.Wav;
  if (kw.empty()) return true;
  const std::string_view rest = line.substr(commentForm ? 1 : first);
  if (!plat::StartsWithNoCase(rest, kw)) return true;
  size_t at = kw.size();
  for (int c = 0; c < 2; ++c) {
    if (at >= rest.size()) return true;
    at += CharBytes(rest, at);
  }
  if (at >= rest.size() || rest[at] != ' ') return true;
  matched = true;
  std::string code(rest.substr(kw.size(), at - kw.size()));
  const int16_t mode = bga ? doc_.Fmt.BNum : doc_.Fmt.WNum;
  const int n = DefTextToNum(code, mode);
  std::vector<DefEntry>& table = bga ? doc_.Bga : doc_.Wav;
  // WAV number 0 is never listed nor saved: the line stays free text so a save keeps it.
  if (!bga && n == 0) {
    matched = false;
    return true;
  }
  if (n < 0 || n >= static_cast<int>(table.size()))
    return Fail(std::string(bga ? "BGA" : "WAV") + "の定義番号「" + code + "」が範囲外です");
  const std::string_view text = rest.substr(at + 1);
  DefEntry& entry = table[n];
  if (commentForm) {
    entry.Comment.assign(text);
    return true;
  }
  const size_t semi = text.find(';');
  if (semi == std::string_view::npos) {
    entry.File.assign(text);
  } else {
    entry.File = plat::Trim(text.substr(0, semi));
    entry.Comment = plat::Trim(text.substr(semi + 1));
  }
  return true;
}

void Reader::Finish() { RecalcLaneResolution(doc_, 0, lanes_, 0, doc_.MesCount); }

}  // namespace chartread

namespace {

bool AllAscii(const char* p, size_t n) {
  uint64_t acc = 0;
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t w;
    std::memcpy(&w, p + i, 8);
    acc |= w;
  }
  for (; i < n; ++i) acc |= static_cast<unsigned char>(p[i]);
  return (acc & 0x8080808080808080ULL) == 0;
}

// Calls f(line, ascii) for each line of text (ended by CR LF, a lone CR or a lone LF; a last
// line without an end counts too); stops at the first false.
template <typename F>
bool ForEachLine(std::string_view text, F&& f) {
  const char* p = text.data();
  const size_t n = text.size();
  // Where the next LF and the next CR are, each searched again only once passed, so that a
  // text with one kind of line end alone is not searched to its end for the other per line.
  auto find = [&](size_t from, char c) {
    const void* at = std::memchr(p + from, c, n - from);
    return at ? static_cast<size_t>(static_cast<const char*>(at) - p) : n;
  };
  size_t nextLf = 0, nextCr = 0, i = 0;
  bool lfValid = false, crValid = false;
  while (i < n) {
    if (!lfValid || nextLf < i) {
      nextLf = find(i, '\n');
      lfValid = true;
    }
    if (!crValid || nextCr < i) {
      nextCr = find(i, '\r');
      crValid = true;
    }
    const size_t end = std::min(nextLf, nextCr);
    if (!f(std::string_view(p + i, end - i), AllAscii(p + i, end - i))) return false;
    i = end + 1;
    if (end < n && p[end] == '\r' && i < n && p[i] == '\n') ++i;
  }
  return true;
}

// The lines before the failing one have taken effect; their slot counts are made right so that
// the grid stays consistent for a caller that keeps it.
ChartReadResult Failure(chartread::Reader& r) {
  r.Finish();
  return ChartReadResult{false, r.lineNo, r.reason};
}

}  // namespace

ChartReadResult ReadChartText(DocData& doc, std::string_view text, ChartCoding coding, bool scratch, int measureLimit) {
  chartread::Reader r(doc, scratch);
  r.measureLimit = measureLimit;
  std::string decoded;
  const bool ok = ForEachLine(text, [&](std::string_view line, bool ascii) {
    ++r.lineNo;
    if (ascii || coding == ChartCoding::Utf8) return r.Line(line, ascii);
    decoded = plat::DecodeAnsi(line);
    return r.Line(decoded, false);
  });
  if (!ok) return Failure(r);
  return {};
}

ChartReadResult ReadChartLines(DocData& doc, const std::vector<std::string>& lines, bool scratch) {
  chartread::Reader r(doc, scratch);
  for (const std::string& line : lines) {
    ++r.lineNo;
    if (!r.Line(line, AllAscii(line.data(), line.size()))) return Failure(r);
  }
  return {};
}

ChartReadResult ReadChartFile(DocData& doc, const std::string& path, const std::string& title, bool scratch) {
  std::string bytes, error;
  plat::FileStamp stamp;
  if (!plat::ReadFileBytes(path, bytes, error, &stamp))
    return ChartReadResult{false, 0, "ファイルを読み込めません（" + error + "）"};
  ChartReadResult result = ReadChartText(doc, bytes, ChartCoding::Ansi, scratch);
  if (result && !scratch) {
    NameChartRecord(doc, path, title);
    doc.Stamp = stamp;
  }
  return result;
}

void NameChartRecord(DocData& doc, const std::string& path, const std::string& title) {
  const bool named = path.size() >= title.size() && path.compare(path.size() - title.size(), title.size(), title) == 0;
  std::string folder = named ? path.substr(0, path.size() - title.size()) : path.substr(0, path.rfind('/') + 1);
  doc.Folder = std::move(folder);
  doc.FileName = named ? title : path.substr(path.rfind('/') + 1);
  doc.FilePath = path;
}

std::string ChartReadMessage(const ChartReadResult& result) {
  if (result.ok) return {};
  if (result.line <= 0) return result.reason;
  return std::to_string(result.line) + "行目: " + result.reason;
}

}  // namespace mk
