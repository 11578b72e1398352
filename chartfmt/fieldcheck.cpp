// Which header fields and definitions read back otherwise after a save: a round trip of those
// lines through the writer and the reader.
#include "chartfmt/fieldcheck.h"

#include "chartfmt/chartread.h"
#include "chartfmt/chartwrite.h"
#include "chartfmt/defcode.h"
#include "chartfmt/utils.h"

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

std::vector<FieldLoss> FieldsNotReadBack(const DocData& doc) {
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
  DocData back = Probe(doc);
  // A probe that does not read (the script's own head or foot cannot be read) leaves back with
  // what the lines before the failure set: every field it lacks is reported.
  ReadChartText(back, ChartBytes(written, 0), ChartCoding::Ansi, false);

  // A field whose keyword the script lacks is neither shown in the header panel nor written:
  // the window already shows it as the file will hold it.
  const ScrKeys& keys = doc.Keys;
  std::vector<FieldLoss> out;
  auto text = [&out](const std::string& key, ChartField f, const char* name, const std::string& held,
                     const std::string& read) {
    if (!key.empty() && held != read) out.push_back({f, 0, name, read});
  };
  auto number = [&out](const std::string& key, ChartField f, const char* name, double held, double read) {
    if (!key.empty() && !(held == read)) out.push_back({f, 0, name, FormatNumberShort(read)});
  };
  text(keys.Title, ChartField::Title, "曲名", doc.Title, back.Title);
  text(keys.Artist, ChartField::Artist, "制作者", doc.Artist, back.Artist);
  text(keys.Genre, ChartField::Genre, "ジャンル", doc.Genre, back.Genre);
  number(keys.Bpm, ChartField::Bpm, kBpmName, doc.Bpm, back.Bpm);
  number(keys.BaseBpm, ChartField::BaseBpm, kBaseBpmName, doc.BaseBpm, back.BaseBpm);
  for (int k = 0; k < 3; ++k) {
    if (keys.Level[k].empty() || doc.Level[k] == back.Level[k]) continue;
    const std::string name = doc.Fmt.Lvn[k].empty() ? "難度" + std::to_string(k + 1) : doc.Fmt.Lvn[k];
    out.push_back({ChartField::Level, k, name, std::to_string(back.Level[k])});
  }
  text(keys.Wall, ChartField::Wall, "壁紙", doc.Wall, back.Wall);
  text(keys.Pre, ChartField::Pre, "プレビュー", doc.Pre, back.Pre);
  if (!keys.Wav.empty()) CompareTable(doc.Wav, back.Wav, 1, false, doc.Fmt.WNum, out);
  if (!keys.Bga.empty()) CompareTable(doc.Bga, back.Bga, 0, true, doc.Fmt.BNum, out);
  return out;
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
