// Fuzzes the chart reader: the first byte picks a script and the kind of read, the rest is the
// chart text (CP932 bytes for files, UTF-8 for the free-statement tab). Whatever the text, the
// read must end without a fault, and a successful read must leave the grid consistent.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "chartfmt/chartread.h"
#include "chartfmt/chartwrite.h"
#include "chartfmt/defcode.h"
#include "chartfmt/scriptlayout.h"
#include "chartfmt/scriptread.h"
#include "platform/core/ansitext.h"
#include "reader_fixture.h"

namespace {

std::vector<mk::DocData> Scripts() {
  std::vector<mk::DocData> out;
  out.push_back(readerfix::StandardScript().Build(3));
  // Odd symbols: a second command symbol, non-ASCII separator and kept symbols, one measure digit.
  readerfix::DocBuilder odd = readerfix::StandardScript();
  odd.Keys().HSymbol = {"#", "＃"};
  odd.Keys().SSymbol = {":", "＝", "-"};
  odd.Keys().OSymbol = {"", "_", "・"};
  odd.Lane("_1", "・2", 100);
  odd.Modes(2, 3).Ml(1);
  out.push_back(odd.Build(0));  // a layout scripts may have: its charts are also saved
  // Lanes without a channel in one layer, reached by the stacked lanes' lines that run over.
  odd.Lane("01", "__", 100).Lane("__", "A1", 100).Lane("01", "A1", 100);
  out.push_back(odd.Build(0));
  for (const char* name : {"nexal.dfn", "dual.dfn", "tapline.dfn", "simple.dfn"}) {
    mk::DocData d;
    std::string info;
    if (!mk::ReadScript(std::string(MIRKAN_SOURCE_DIR) + "/scripts/" + name, d, info).ok) continue;
    d.MesCount = 2;
    for (mk::LaneMes& lane : d.Obj) lane.Mes.resize(3);
    out.push_back(std::move(d));
  }
  return out;
}

// The entries of a layer that a save can write: a value without a two-character code in the
// numbering is left out.
std::vector<mk::CellLayer::Entry> Writable(const mk::CellLayer& layer, int16_t mode) {
  std::vector<mk::CellLayer::Entry> out;
  for (const mk::CellLayer::Entry& e : layer.Entries()) {
    const int v = e.Value > mk::kOpenObjectBase ? e.Value - mk::kOpenObjectBase : e.Value;
    if (mk::DefNumToText(static_cast<int16_t>(v), mode).size() == 2) out.push_back(e);
  }
  return out;
}

void Check(bool ok) {
  if (!ok) std::abort();
}

[[noreturn]] void Fail(const char* what, const std::string& text) {
  std::fprintf(stderr, "%s\n--- written\n", what);
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::abort();
}

// Saves doc as a save does (ANSI code page) and opens the text again into a fresh window of
// the script; the text is returned, the document read goes to out.
std::string SaveAndOpen(const mk::DocData& doc, const mk::DocData& script, mk::DocData& out) {
  const std::string text = mk::ChartText(doc, 0);
  out = script;
  const mk::ChartReadResult r = mk::ReadChartText(out, plat::EncodeAnsi(text), mk::ChartCoding::Ansi, false);
  if (!r.ok) Fail(("the saved text does not open: " + r.reason).c_str(), text);
  return text;
}

// A saved chart opens with every object it had (but values the numbering cannot write), and
// saving that again writes the same text: from the first save on, the file no longer changes.
void CheckSave(const mk::DocData& doc, const mk::DocData& script) {
  mk::DocData second;
  const std::string first = SaveAndOpen(doc, script, second);
  bool dropped = false;
  for (size_t l = 0; l < doc.Obj.size(); ++l)
    for (size_t m = 0; m < doc.Obj[l].Mes.size(); ++m) {
      const mk::MesData& a = doc.Obj[l].Mes[m];
      const mk::MesData& b = second.Obj[l].Mes[m];
      const std::vector<mk::CellLayer::Entry> front = Writable(a.Obj, doc.Fmt.WNum),
                                              back = Writable(a.BackObj, doc.Fmt.WNum);
      dropped |= front.size() != a.Obj.Entries().size() || back.size() != a.BackObj.Entries().size();
      if (mk::CellLayer::EntryList(front) != b.Obj.Entries() || mk::CellLayer::EntryList(back) != b.BackObj.Entries()) {
        std::fprintf(stderr, "lane %zu measure %zu:", l, m);
        for (const auto& e : a.Obj.Entries()) std::fprintf(stderr, " %d:%d", e.Tick, e.Value);
        std::fprintf(stderr, " /");
        for (const auto& e : a.BackObj.Entries()) std::fprintf(stderr, " %d:%d", e.Tick, e.Value);
        std::fprintf(stderr, " read back as");
        for (const auto& e : b.Obj.Entries()) std::fprintf(stderr, " %d:%d", e.Tick, e.Value);
        std::fprintf(stderr, " /");
        for (const auto& e : b.BackObj.Entries()) std::fprintf(stderr, " %d:%d", e.Tick, e.Value);
        Fail("\nobjects moved or were lost by a save", first);
      }
    }
  mk::DocData third;
  const std::string again = SaveAndOpen(second, script, third);
  if (!dropped && again != first) Fail("a second save writes other text", first + "\n--- second\n" + again);
  if (dropped && mk::ChartText(third, 0) != again) Fail("a third save writes other text", again);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::vector<mk::DocData> scripts = Scripts();
  if (size == 0) return 0;
  const uint8_t pick = data[0];
  mk::DocData doc = scripts[(pick & 0x0F) % scripts.size()];
  const bool scratch = pick & 0x10;
  const auto coding = (pick & 0x20) ? mk::ChartCoding::Utf8 : mk::ChartCoding::Ansi;
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  const mk::ChartReadResult r = mk::ReadChartText(doc, text, coding, scratch);
  if (!r.ok) Check(!r.reason.empty() && r.line >= 1);
  Check(doc.MesCount >= 0);
  int64_t stored = 0;
  for (const mk::LaneMes& lane : doc.Obj) stored += static_cast<int64_t>(lane.Mes.StoredCells());
  Check(stored <= mk::kMaxChartCells);
  for (const mk::LaneMes& lane : doc.Obj) {
    Check(lane.Mes.size() == static_cast<size_t>(doc.MesCount) + 1);
    for (const mk::MesData& cell : lane.Mes) Check(cell.Division == mk::CellDivision(cell));
  }
  Check(doc.FreeText.empty() || doc.FreeText.ends_with("\r\n"));
  // Saved where the script is one the script reader accepts (its charts can read back).
  static const std::vector<bool> savable = [] {
    std::vector<bool> ok;
    for (const mk::DocData& d : scripts) ok.push_back(mk::CheckChartLayout(d, {}).empty());
    return ok;
  }();
  const size_t which = (pick & 0x0F) % scripts.size();
  if (r.ok && !scratch && coding == mk::ChartCoding::Ansi && savable[which]) CheckSave(doc, scripts[which]);
  return 0;
}
