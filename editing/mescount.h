// The measure count of a chart: the one place where it changes.
#pragma once
#include "chartfmt/docdata.h"

namespace mk {

// Changes MesCount by delta and sizes every lane to measures 0..MesCount; measures added are
// empty, measures removed go with their objects. Refused (false, nothing changed) when the
// count would fall below 0 or grow past maxMeasure. A chart read with more measures than
// maxMeasure keeps them: delta 0 and shrinking are always allowed.
bool Mes_Change(DocData& d, int delta, int maxMeasure);

}  // namespace mk
