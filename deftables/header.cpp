// Header panel, tab and preview rules.
#include "deftables/header.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "chartfmt/defcode.h"
#include "chartfmt/utils.h"
#include "platform/core/vbnum.h"

namespace mk {

std::string MesCountPrompt(int mesCount) {
  return "変更後の最大小節数を入力してください\r\n(現在：" + std::to_string(mesCount) + "小節)";
}

MesCountDecision DecideMesCount(bool cancelled, const std::string& text, int mesCount, int maxMeasure) {
  if (cancelled || text.empty()) return {};
  const double v = std::floor(plat::FieldNumber(text));
  if (v == mesCount) return {};
  if (v < 0 || v > maxMeasure || v > INT16_MAX) return {MesCountDecision::Invalid, 0};
  const int n = static_cast<int>(v);
  return {n < mesCount ? MesCountDecision::AskCut : MesCountDecision::Change, n};
}

double HeaderNumberValue(std::string_view typed) {
  return plat::FieldNumber(FormatNumberShort(plat::FieldNumber(typed)));
}

std::vector<FieldLoss> HeaderNumberLosses(const DocData& doc, const std::string& bpmText,
                                          const std::string& baseBpmText) {
  std::vector<FieldLoss> out;
  auto field = [&out](const std::string& key, ChartField f, const char* name, const std::string& shown, double held) {
    std::string written = FormatNumberShort(held);
    if (!key.empty() && shown != written) out.push_back({f, 0, name, std::move(written)});
  };
  field(doc.Keys.Bpm, ChartField::Bpm, kBpmName, bpmText, doc.Bpm);
  field(doc.Keys.BaseBpm, ChartField::BaseBpm, kBaseBpmName, baseBpmText, doc.BaseBpm);
  return out;
}

HeaderWidths HeaderWidthsFor(int w, int labelText) {
  HeaderWidths r;
  r.labelColumn = std::max(r.labelColumn, std::min(labelText + 1, w - 55));
  r.controlLeft = r.labelColumn - 1;
  const int room = w - r.controlLeft - 8;
  r.text = room;
  r.bpm = static_cast<int>(std::floor((room - 7) / 2.0));
  r.bpm2Left = r.bpm + r.controlLeft + 7;
  r.label = w;
  return r;
}

std::string LevelPanelText(const std::string& name, int value) { return name + "：" + std::to_string(value); }

std::string HeaderFileFilter(int k) {
  return k == 3 ? "画像ファイル(*.bmp;*.jpg)|*.bmp;*.jpg|" : "音声ファイル(*.wav;*.zq)|*.wav;*.zq|";
}

std::string ApplyHeaderFile(DocData& doc, int k, bool cancelled, const std::string& path,
                            const std::string& fileTitle) {
  std::string& field = k == 3 ? doc.Wall : doc.Pre;
  if (cancelled) {
    field.clear();
    return "None";
  }
  doc.Folder = path.substr(0, path.size() >= fileTitle.size() ? path.size() - fileTitle.size() : 0);
  field = fileTitle;
  return field.empty() ? "None" : field;
}

int TabHoverFor(const std::vector<int>& tabLefts, int x, int previous) {
  int hover = previous;
  for (size_t i = 0; i < tabLefts.size(); ++i)
    if (tabLefts[i] - 8 < x) hover = static_cast<int>(i) + 1;
  return hover;
}

bool SwitchDefTab(DocData& doc, int tab) {
  switch (tab) {
    case 1: {
      doc.DefTab = 0;
      const int last = std::min<int>(static_cast<int>(doc.Wav.size()) - 1, DefNumMax(doc.Fmt.WNum));
      if (doc.CurDef < 1 || doc.CurDef > last) doc.CurDef = 1;
      return true;
    }
    case 2:
      if (doc.Keys.Bga.empty()) return false;
      doc.DefTab = 1;
      if (doc.CurDef > 255) doc.CurDef = 1;
      return true;
    case 3: doc.DefTab = 2; return true;
    default: return false;
  }
}

BgaPreviewFile BgaPreviewPath(const DocData& doc) {
  BgaPreviewFile shown;
  if (doc.CurDef < 0 || doc.CurDef >= static_cast<int>(doc.Bga.size())) return shown;
  const std::string& file = doc.Bga[doc.CurDef].File;
  if (file.empty()) return shown;
  shown.path = doc.Folder + file;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(std::filesystem::path(shown.path), ec)) {
    shown.black = BgaBlack::Missing;
    return shown;
  }
  std::string ext = file.size() > 3 ? file.substr(file.size() - 3) : file;
  for (char& c : ext)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  shown.black = ext == "JPG" || ext == "BMP" || ext == "GIF" ? BgaBlack::None : BgaBlack::OtherKind;
  return shown;
}

std::string FreeTextForBox(std::string_view record) {
  std::string s;
  s.reserve(record.size());
  for (size_t i = 0; i < record.size(); ++i) {
    if (record[i] == '\r' && i + 1 < record.size() && record[i + 1] == '\n') continue;
    s.push_back(record[i]);
  }
  return s;
}

std::string FreeTextFromBox(std::string_view box) {
  std::string s;
  s.reserve(box.size() + box.size() / 16);
  for (size_t i = 0; i < box.size(); ++i) {
    if (box[i] == '\n' && (i == 0 || box[i - 1] != '\r')) s.push_back('\r');
    s.push_back(box[i]);
  }
  return s;
}

}  // namespace mk
