#include "chartfmt/docdata.h"

namespace mk {

void ResizeMeasures(DocData& d, int16_t mesCount) {
  const size_t n = mesCount < 0 ? 0 : static_cast<size_t>(mesCount) + 1;
  for (LaneMes& lane : d.Obj) lane.Mes.resize(n);
}

}  // namespace mk
