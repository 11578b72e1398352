// Chart writer: the head of the file (banner, header, definitions, free text, measure lengths,
// tempo), the object sections in their place, the foot; then the encoded text to disk.
#include "chartfmt/chartwrite.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <utility>

#include "chartfmt/chartwrite_objects.h"
#include "chartfmt/defcode.h"
#include "chartfmt/utils.h"
#include "platform/core/ansitext.h"
#include "platform/core/textfile.h"

namespace mk {

namespace chartwrite {

Ctx::Ctx(const DocData& d, bool scr, std::string& o)
    : doc(d),
      scratch(scr),
      out(o),
      h(d.Keys.HSymbol.empty() ? "#" : d.Keys.HSymbol[0]),
      s(d.Keys.SSymbol.empty() ? ":" : d.Keys.SSymbol[0]),
      ml(d.Fmt.Ml),
      wav(d.Fmt.WNum),
      bga(d.Fmt.BNum) {}

void Ctx::LineStart(int measure, const std::string& channel) {
  out += h;
  char digits[16];
  int len = 0;
  int m = measure < 0 ? 0 : measure;
  do {
    digits[len++] = static_cast<char>('0' + m % 10);
    m /= 10;
  } while (m > 0 && len < 16);
  for (int i = len; i < ml; ++i) out += '0';
  while (len > 0) out += digits[--len];
  out += channel;
  out += s;
}

}  // namespace chartwrite

namespace {

using chartwrite::Ctx;

void Line(std::string& out, const std::string& text) {
  out += text;
  out += "\r\n";
}

// text with each of its line breaks (CR LF, a lone CR or a lone LF, as an edit box may leave
// them) written as CR LF.
void CrLfText(std::string& out, std::string_view text) {
  EachTextLine(text, [&out](std::string_view line, std::string_view lineBreak) {
    out.append(line);
    if (!lineBreak.empty()) out += "\r\n";
  });
}

}  // namespace

std::string OneLineText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char ch = text[i];
    if (ch != '\r' && ch != '\n') {
      out += ch;
      continue;
    }
    out += ' ';
    if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
  }
  return out;
}

std::string DefinitionFileText(std::string_view file) {
  std::string out = OneLineText(file);
  for (char& ch : out)
    if (ch == ';') ch = '?';
  return out;
}

namespace {

void HeaderLines(Ctx& c) {
  const DocData& d = c.doc;
  const ScrKeys& k = d.Keys;
  const ScrKeys& pk = c.scratch ? d.PKeys : d.Keys;
  std::string& out = c.out;
  if (!k.Title.empty()) Line(out, c.h + k.Title + " " + OneLineText(d.Title));
  if (!k.Artist.empty()) Line(out, c.h + k.Artist + " " + OneLineText(d.Artist));
  if (!k.Genre.empty()) Line(out, c.h + k.Genre + " " + OneLineText(d.Genre));
  if (!k.Bpm.empty()) Line(out, c.h + pk.Bpm + " " + FormatNumberShort(d.Bpm));
  if (!k.BaseBpm.empty()) Line(out, c.h + pk.BaseBpm + " " + FormatNumberShort(d.BaseBpm));
  for (int i = 0; i < 3; ++i) {
    if (!k.Level[i].empty()) Line(out, c.h + k.Level[i] + " " + std::to_string(d.Level[i]));
  }
  if (!k.Pre.empty() && !d.Pre.empty()) Line(out, c.h + k.Pre + " " + OneLineText(d.Pre));
  if (!k.Wall.empty() && !d.Wall.empty()) Line(out, c.h + k.Wall + " " + OneLineText(d.Wall));
  if (c.scratch && !k.Path.empty()) Line(out, c.h + k.Path + " " + d.Folder);
  for (int i = 1; i <= k.EchoCount && i < static_cast<int>(k.Echo.size()); ++i) Line(out, k.Echo[i]);
}

// One definition block: definition and comment lines of numbers from..the mode's highest.
void DefinitionBlock(Ctx& c, const std::vector<DefEntry>& table, int16_t mode, int from, const std::string& key) {
  const DocData& d = c.doc;
  const bool prefix = c.scratch && d.Keys.Path.empty();
  c.out += "\r\n";
  const int last = std::min<int>(DefNumMax(mode), static_cast<int>(table.size()) - 1);
  for (int n = from; n <= last; ++n) {
    const DefEntry& e = table[n];
    if (e.File.empty() && e.Comment.empty()) continue;
    const std::string code = DefNumToText(static_cast<int16_t>(n), mode);
    if (!e.File.empty()) Line(c.out, c.h + key + code + " " + (prefix ? d.Folder : "") + DefinitionFileText(e.File));
    if (!e.Comment.empty()) Line(c.out, ";" + key + code + " " + OneLineText(e.Comment));
  }
}

void LengthSection(Ctx& c) {
  const DocData& d = c.doc;
  const std::string& key = c.scratch ? d.PKeys.Mesc : d.Keys.Mesc;
  if (d.Keys.Mesc.empty() || d.Obj.empty()) return;
  const auto& mes = d.Obj[0].Mes;
  const int last = std::min<int>(d.MesCount, static_cast<int>(mes.size()) - 1);
  // A factor so small that its text is 0 reads back as the normal length: it is not written,
  // so that the file stays the same from one save to the next.
  std::vector<std::pair<int, std::string>> lengths;
  for (int m = 0; m <= last; ++m) {
    if (mes[m].Length == 0) continue;
    std::string text = FormatNumberShort(mes[m].Length);
    if (text != "0" && text != "-0") lengths.emplace_back(m, std::move(text));
  }
  if (lengths.empty()) return;
  Line(c.out, ";Custom Long Measure");
  for (const auto& [m, text] : lengths) {
    c.LineStart(m, key);
    c.out += text;
    c.LineEnd();
  }
  c.out += "\r\n\r\n";
}

void TempoSection(Ctx& c) {
  static const char kHex[] = "0123456789ABCDEF";
  const DocData& d = c.doc;
  const std::string& key = c.scratch ? d.PKeys.Tmpc : d.Keys.Tmpc;
  if (d.Keys.Tmpc.empty()) return;
  bool any = false;
  for (int m = 0; m <= d.MesCount && !any; ++m) any = chartwrite::CellSlots(d, 0, m) > 0;
  if (!any) return;
  Line(c.out, ";BPM");
  for (int m = 0; m <= d.MesCount; ++m) {
    const int n = chartwrite::CellSlots(d, 0, m);
    if (n <= 0) continue;
    const MesData& cell = d.Obj[0].Mes[m];
    c.LineStart(m, key);
    const int step = kTicksPerMeasure / n;
    for (int k = 0; k < n; ++k) {
      const int v = cell.Obj[k * step];
      if (v < 1) {
        c.out += "00";
      } else {  // the last two hex digits
        c.out += kHex[(v >> 4) & 15];
        c.out += kHex[v & 15];
      }
    }
    c.LineEnd();
  }
  c.out += "\r\n\r\n";
}

// Highest measure that gets a line, -1 when none.
int LastWrittenMeasure(const DocData& d) {
  for (int m = d.MesCount; m >= 0; --m) {
    const MesData* tempo = chartwrite::CellAt(d, 0, m);
    if (tempo && tempo->Length != 0 && !d.Keys.Mesc.empty()) return m;
    if (!d.Keys.Tmpc.empty() && chartwrite::CellSlots(d, 0, m) > 0) return m;
    for (int l = 1; l <= d.LaneCount; ++l) {
      if (chartwrite::CellSlots(d, l, m) > 0) return m;
    }
  }
  return -1;
}

int DigitCount(int m) {
  int n = 1;
  while (m >= 10) {
    m /= 10;
    ++n;
  }
  return n;
}

// Offset of the first byte above 0x7F at or after from, or the size when there is none.
size_t FirstHighByte(const std::string& text, size_t from) {
  const char* p = text.data();
  const size_t size = text.size();
  size_t i = from;
  for (; i + 8 <= size; i += 8) {
    uint64_t w;
    std::memcpy(&w, p + i, 8);
    if (w & 0x8080808080808080ULL) break;
  }
  while (i < size && static_cast<unsigned char>(p[i]) < 0x80) ++i;
  return i;
}

// The text turned into CP932 bytes in place: lines of plain ASCII stay as they are, the others
// are encoded (never longer than their UTF-8 form).
void ToAnsiInPlace(std::string& text) {
  size_t read = 0, write = 0;
  const size_t size = text.size();
  while (read < size) {
    const size_t high = FirstHighByte(text, read);
    size_t lineStart = high;
    while (lineStart > read && text[lineStart - 1] != '\n') --lineStart;
    if (write != read) std::memmove(text.data() + write, text.data() + read, lineStart - read);
    write += lineStart - read;
    if (high == size) {
      read = size;
      break;
    }
    size_t lineEnd = text.find('\n', high);
    lineEnd = lineEnd == std::string::npos ? size : lineEnd + 1;
    const std::string bytes = plat::EncodeAnsi(std::string_view(text).substr(lineStart, lineEnd - lineStart));
    if (bytes.size() > lineEnd - lineStart) {  // cannot happen with CP932; kept correct anyway
      std::string rest = text.substr(lineEnd);
      text.resize(write);
      text += bytes;
      ToAnsiInPlace(rest);
      text += rest;
      return;
    }
    std::memcpy(text.data() + write, bytes.data(), bytes.size());
    write += bytes.size();
    read = lineEnd;
  }
  text.resize(write);
}

// Prints the whole chart into c.out (handing it on piece by piece when c.spill is set).
void PrintChart(Ctx& c) {
  const DocData& doc = c.doc;
  std::string& out = c.out;
  if (!doc.Fmt.Head.empty()) Line(out, doc.Fmt.Head);
  Line(out, kChartBanner);
  out += "\r\n";
  Line(out, ";Header");
  HeaderLines(c);
  if (!doc.Keys.Wav.empty()) {
    DefinitionBlock(c, doc.Wav, doc.Fmt.WNum, 1, c.scratch ? doc.PKeys.Wav : doc.Keys.Wav);
  }
  if (!doc.Keys.Bga.empty()) {
    DefinitionBlock(c, doc.Bga, doc.Fmt.BNum, 0, c.scratch ? doc.PKeys.Bga : doc.Keys.Bga);
  }
  if (!doc.FreeText.empty()) {
    out += "\r\n";
    CrLfText(out, doc.FreeText);
    out += "\r\n";
  }
  out += "\r\n\r\n";
  LengthSection(c);
  TempoSection(c);
  chartwrite::WriteObjectSections(c);
  if (!doc.Fmt.Foot.empty()) Line(out, doc.Fmt.Foot);
}

}  // namespace

std::string MeasureText(int measure, int ml) {
  std::string digits = std::to_string(measure < 0 ? 0 : measure);
  if (static_cast<int>(digits.size()) < ml) digits.insert(0, ml - digits.size(), '0');
  return digits;
}

std::string ChartText(const DocData& doc, int16_t scratch) {
  std::string out;
  out.reserve(chartwrite::ObjectSectionsEstimate(doc) + 64 * (doc.Wav.size() + doc.Bga.size()) + doc.FreeText.size() +
              16 * static_cast<size_t>(doc.MesCount + 1) + 4096);
  Ctx c(doc, scratch != 0, out);
  PrintChart(c);
  return out;
}

std::string ChartBytes(const DocData& doc, int16_t scratch) {
  std::string text = ChartText(doc, scratch);
  ToAnsiInPlace(text);
  return text;
}

bool CheckMeasureDigits(const DocData& doc, std::string& error) {
  const int last = LastWrittenMeasure(doc);
  if (last < 0 || DigitCount(last) <= doc.Fmt.Ml) return true;
  error = "小節 " + std::to_string(last) + " の番号はこの形式の小節番号の桁数（" + std::to_string(doc.Fmt.Ml) +
          "桁）に収まらないため、保存できません。";
  return false;
}

std::string FloatingPlaces(const DocData& doc, size_t maxLines) {
  std::map<std::pair<int, int>, int> places;  // (measure, lane) -> entries there
  const int n = SelectedEntryCount(doc);
  for (int i = 1; i <= n; ++i) ++places[{doc.Sel[i].Mes, doc.Sel[i].Lane}];
  std::string out;
  size_t lines = 0;
  for (const auto& [at, count] : places) {
    if (lines++ == maxLines) {
      out += "　ほか " + std::to_string(places.size() - maxLines) + " か所\r\n";
      break;
    }
    const auto [mes, lane] = at;
    out += "　小節 " + std::to_string(mes) + "　レーン " + std::to_string(lane);
    // A lane the chart does not have shows its number alone.
    const bool onLanes = lane > 0 && lane <= doc.LaneCount && lane < static_cast<int>(doc.Lane.size());
    const std::string label = lane == 0 ? std::string("BPM") : onLanes ? doc.Lane[lane].Label : std::string();
    if (!label.empty()) out += " (" + label + ")";
    if (count > 1) out += "　" + std::to_string(count) + " 個";
    out += "\r\n";
  }
  if (!out.empty()) out.resize(out.size() - 2);
  return out;
}

bool CheckNothingFloating(const DocData& doc, std::string& error) {
  if (doc.SelCount < 1) return true;
  error =
      "選択中のオブジェ " + std::to_string(doc.SelCount) +
      " 個は保存できない位置にあるため、保存しませんでした。移動するか削除してから保存してください。\r\n位置：\r\n" +
      FloatingPlaces(doc, kFloatingPlaceLines);
  return false;
}

bool WriteChartFile(const std::string& path, const DocData& doc, int16_t scratch, std::string& error,
                    plat::FileStamp* stamp) {
  if (!CheckMeasureDigits(doc, error)) return false;
  if (scratch == 0 && !CheckNothingFloating(doc, error)) return false;
  // The text goes to the temporary file in pieces as it is made, each encoded on its way; the
  // file replaces the old one only when all of it was written.
  plat::AtomicFileWriter file;
  if (!file.Open(path, error)) {
    if (error.empty()) error = "ファイルに書き込めません: " + path;
    return false;
  }
  std::string out;
  out.reserve(Ctx::kSpillBytes + 64 * (doc.Wav.size() + doc.Bga.size()) + doc.FreeText.size() + 4096);
  Ctx c(doc, scratch != 0, out);
  c.spill = [&file](std::string& text) {
    ToAnsiInPlace(text);
    file.Write(text);
  };
  PrintChart(c);
  c.spill(out);
  if (!file.Commit(error)) {
    if (error.empty()) error = "ファイルに書き込めません: " + path;
    return false;
  }
  if (stamp) *stamp = file.Stamp();
  return true;
}

}  // namespace mk
