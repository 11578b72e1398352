// Fuzzes the chart reader: the first byte picks a script and the kind of read, the rest is the
// chart text (CP932 bytes for files, UTF-8 for the free-statement tab). Whatever the text, the
// read must end without a fault, and a successful read must leave the grid consistent.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "chartfmt/chartread.h"
#include "chartfmt/defcode.h"
#include "chartfmt/scriptread.h"
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
  // Lanes without a channel in one layer, reached by the stacked lanes' lines that run over.
  odd.Lane("01", "__", 100).Lane("__", "A1", 100).Lane("01", "A1", 100);
  out.push_back(odd.Modes(2, 3).Ml(1).Build(0));
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

void Check(bool ok) {
  if (!ok) std::abort();
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
  return 0;
}
