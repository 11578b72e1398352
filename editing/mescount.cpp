// Measure count changes.
#include "editing/mescount.h"

namespace mk {

bool Mes_Change(DocData& d, int delta, int maxMeasure) {
  const int count = d.MesCount + delta;
  if (count < 0 || count > INT16_MAX || (delta > 0 && count > maxMeasure)) return false;
  d.MesCount = static_cast<int16_t>(count);
  ResizeMeasures(d, d.MesCount);
  return true;
}

}  // namespace mk
