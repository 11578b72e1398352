// Any bytes as a definition script: the reader either fills the record consistently or returns
// a message; it never overruns. The same record is read twice, as a reused window would be.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "chartfmt/docdata.h"
#include "chartfmt/scriptread.h"
#include "platform/core/ansitext.h"
#include "platform/core/textfile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> lines = plat::SplitLines(bytes);
  for (std::string& line : lines) line = plat::DecodeAnsi(line);
  mk::DocData doc;
  std::string info;
  for (int pass = 0; pass < 2; ++pass) {
    mk::ScriptReadResult r = mk::ReadScriptLines(lines, "fuzz.dfn", doc, info);
    if (!r.ok) {
      if (r.message.text.empty()) __builtin_trap();
      return 0;
    }
    // What the chart reader and writer rely on after a successful reading.
    if (doc.Lane.size() != static_cast<size_t>(doc.LaneCount) + 1) __builtin_trap();
    if (doc.Obj.size() != static_cast<size_t>(doc.LaneCount) + 1) __builtin_trap();
    if (doc.Fmt.Gt.size() != static_cast<size_t>(doc.Fmt.GtCount + 1)) __builtin_trap();
    for (const mk::GtEntry& g : doc.Fmt.Gt) {
      if (g.Lane < 1 || g.Lane + 3 > doc.LaneCount) __builtin_trap();
    }
    if (doc.Keys.HSymbol.empty() || doc.Keys.SSymbol.empty() || doc.Keys.OSymbol.empty() || doc.Fmt.BExt.empty()) {
      __builtin_trap();
    }
    if (doc.Keys.Echo.size() != static_cast<size_t>(doc.Keys.EchoCount) + 1) __builtin_trap();
    for (int l = 2; l <= doc.LaneCount; ++l) {
      if (doc.Lane[l].Part < doc.Lane[l - 1].Part) __builtin_trap();
    }
  }
  return 0;
}
