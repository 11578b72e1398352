// Which header fields and definitions read back otherwise after a save: a round trip of those
// lines through the writer and the reader.
#include "chartfmt/fieldcheck.h"

#include <algorithm>

#include "chartfmt/chartread.h"
#include "chartfmt/chartwrite.h"
#include "chartfmt/defcode.h"
#include "chartfmt/utils.h"
#include "platform/core/ansitext.h"

namespace mk {

namespace {

// doc's script and lanes with an empty grid of one measure, empty header and empty tables.
DocData Probe(const DocData& doc) {
  DocData p;
  p.Fmt = doc.Fmt;
  p.Keys = doc.Keys;
  p.PKeys = doc.PKeys;
  p.Lane = doc.Lane;
  p.LaneCount = doc.LaneCount;
  p.MaxPart = doc.MaxPart;
  p.PartCount = doc.PartCount;
  p.Obj.resize(doc.Obj.size());
  p.MesCount = 0;
  ResizeMeasures(p, 0);
  p.Wav.resize(doc.Wav.size());
  p.Bga.resize(doc.Bga.size());
  return p;
}

std::string DefName(const char* table, int n, int16_t mode, const char* what) {
  std::string code = DefNumToText(static_cast<int16_t>(n), mode);
  if (code.empty()) code = std::to_string(n);
  return std::string(table) + " " + code + " の" + what;
}

void CompareTable(const std::vector<DefEntry>& held, const std::vector<DefEntry>& back, int from, bool bga,
                  int16_t mode, std::vector<FieldLoss>& out) {
  const char* table = bga ? "BGA" : "WAV";
  for (int n = from; n < static_cast<int>(held.size()) && n < static_cast<int>(back.size()); ++n) {
    if (held[n].File != back[n].File)
      out.push_back(
          {bga ? ChartField::BgaFile : ChartField::WavFile, n, DefName(table, n, mode, "ファイル名"), back[n].File});
    if (held[n].Comment != back[n].Comment)
      out.push_back({bga ? ChartField::BgaComment : ChartField::WavComment, n, DefName(table, n, mode, "コメント"),
                     back[n].Comment});
  }
}

}  // namespace

std::string HeaderValueText(double v) { return FormatNumberShort(v); }
std::string HeaderValueText(int16_t v) { return std::to_string(v); }

std::string HeaderFieldName(const DocData& doc, ChartField field, int index) {
  switch (field) {
    case ChartField::Title: return "曲名";
    case ChartField::Artist: return "制作者";
    case ChartField::Genre: return "ジャンル";
    case ChartField::Bpm: return kBpmName;
    case ChartField::BaseBpm: return kBaseBpmName;
    case ChartField::Level:
      if (index < 0 || index > 2) return {};
      return doc.Fmt.Lvn[index].empty() ? "難度" + std::to_string(index + 1) : doc.Fmt.Lvn[index];
    case ChartField::Pre: return "プレビュー";
    case ChartField::Wall: return "壁紙";
    default: return {};
  }
}

namespace {

// What a read of doc's saved file gives of the header, the definitions and the free statements,
// into back. A read that fails leaves back with what the lines before the failure set.
ChartReadResult ReadBack(const DocData& doc, DocData& back) {
  DocData written = Probe(doc);
  written.Title = doc.Title;
  written.Artist = doc.Artist;
  written.Genre = doc.Genre;
  written.Bpm = doc.Bpm;
  written.BaseBpm = doc.BaseBpm;
  written.Level = doc.Level;
  written.Pre = doc.Pre;
  written.Wall = doc.Wall;
  written.Wav = doc.Wav;
  written.Bga = doc.Bga;
  written.FreeText = doc.FreeText;
  back = Probe(doc);
  return ReadChartText(back, ChartBytes(written, 0), ChartCoding::Ansi, false);
}

// Calls line(number from 1, text, what the file holds of it) for each line of the free
// statements, split as the writer splits them, and gives back the statements with every line
// as the file holds it and the line ends as they were.
template <typename F>
std::string EachFreeLine(std::string_view free, F line) {
  std::string saved;
  saved.reserve(free.size());
  int number = 1;
  EachTextLine(free, [&](std::string_view text, std::string_view lineBreak) {
    // Plain ASCII is written and read as it stands.
    const bool ascii =
        std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    const std::string held(text);
    const std::string written = ascii ? held : plat::DecodeAnsi(plat::EncodeAnsi(text));
    line(number++, held, written);
    saved += written;
    saved.append(lineBreak);
  });
  return saved;
}

}  // namespace

std::vector<FieldLoss> FieldsNotReadBack(const DocData& doc) {
  // A probe that does not read (the script's own head or foot cannot be read) reports every
  // field that the lines before the failure did not set.
  DocData back;
  ReadBack(doc, back);

  // A field whose keyword the script lacks is neither shown in the header panel nor written:
  // the window already shows it as the file will hold it.
  const ScrKeys& keys = doc.Keys;
  std::vector<FieldLoss> out;
  EachHeaderField(keys, doc, back,
                  [&](ChartField f, int index, const std::string& key, const auto& held, const auto& read) {
                    if (!key.empty() && !(held == read))
                      out.push_back({f, index, HeaderFieldName(doc, f, index), std::string(HeaderValueText(read))});
                  });
  if (!keys.Wav.empty()) CompareTable(doc.Wav, back.Wav, 1, false, doc.Fmt.WNum, out);
  if (!keys.Bga.empty()) CompareTable(doc.Bga, back.Bga, 0, true, doc.Fmt.BNum, out);
  EachFreeLine(doc.FreeText, [&out](int n, const std::string& held, const std::string& written) {
    if (held != written) out.push_back({ChartField::FreeLine, n, "Free タブ " + std::to_string(n) + " 行目", written});
  });
  return out;
}

bool TakeSavedFields(DocData& doc) {
  bool changed = false;
  std::string free = EachFreeLine(doc.FreeText, [](int, const std::string&, const std::string&) {});
  if (free != doc.FreeText) {
    doc.FreeText = std::move(free);
    changed = true;
  }
  // A file that does not read back gives no fields to take: the held ones stay.
  DocData back;
  if (!ReadBack(doc, back)) return changed;
  auto take = [&changed](const std::string& key, auto& held, const auto& read) {
    if (key.empty() || held == read) return;
    held = read;
    changed = true;
  };
  const ScrKeys& keys = doc.Keys;
  EachHeaderField(keys, doc, back, [&take](ChartField, int, const std::string& key, auto& held, const auto& read) {
    take(key, held, read);
  });
  for (int bga = 0; bga < 2; ++bga) {
    std::vector<DefEntry>& held = bga ? doc.Bga : doc.Wav;
    const std::vector<DefEntry>& read = bga ? back.Bga : back.Wav;
    const std::string& key = bga ? keys.Bga : keys.Wav;
    for (size_t n = bga ? 0 : 1; n < held.size() && n < read.size(); ++n) take(key, held[n], read[n]);
  }
  return changed;
}

std::optional<FieldLoss> FieldNotReadBack(const DocData& doc, ChartField field, int index) {
  for (FieldLoss& l : FieldsNotReadBack(doc))
    if (l.field == field && l.index == index) return std::move(l);
  return std::nullopt;
}

std::string FieldLossMessage(const std::vector<FieldLoss>& losses) {
  std::string m = "次の項目は譜面ファイルにそのままでは保存できません。\r\n保存して開き直すと次のようになります：\r\n";
  int shown = 0;
  for (const FieldLoss& l : losses) {
    if (shown == kFieldLossLines) break;
    m += "\r\n" + l.name + "：「" + l.readBack + "」";
    ++shown;
  }
  const size_t rest = losses.size() - static_cast<size_t>(shown);
  if (rest > 0) m += "\r\nほか " + std::to_string(rest) + " 項目";
  return m;
}

}  // namespace mk
