#include "chartfmt/docdata.h"

namespace mk {

bool DefinitionsBesideChart(const DocData& d) {
  if (d.FilePath.empty() || d.Folder.empty()) return true;
  const size_t slash = d.FilePath.rfind('/');
  const std::string own = slash == std::string::npos ? std::string() : d.FilePath.substr(0, slash + 1);
  return own == d.Folder || plat::SameFile(own, d.Folder);
}

void ResizeMeasures(DocData& d, int16_t mesCount) {
  const size_t n = mesCount < 0 ? 0 : static_cast<size_t>(mesCount) + 1;
  for (LaneMes& lane : d.Obj) lane.Mes.resize(n);
}

int16_t LaneTable(const DocData& d, int lane) {
  if (lane < 1 || lane > d.LaneCount || lane >= static_cast<int>(d.Lane.size())) return kSelTableNone;
  return d.Lane[lane].Part == kPartBga ? kSelTableBga : kSelTableWav;
}

int16_t SelEntryTable(const DocData& d, const SelEntry& e) {
  const int16_t own = LaneTable(d, e.Lane);
  if (own != kSelTableNone) return own;
  return e.Table == kSelTableLane ? kSelTableNone : e.Table;
}

void SetSelLane(const DocData& d, SelEntry& e, int16_t lane, int16_t table) {
  e.Lane = lane;
  // Off the definition lanes an entry without a table holds kSelTableLane as well.
  const bool off = LaneTable(d, lane) == kSelTableNone;
  e.Table = off && (table == kSelTableWav || table == kSelTableBga) ? table : kSelTableLane;
}

}  // namespace mk
