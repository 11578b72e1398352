// The measure count of a chart: the one place where it changes, and the "+" and "-" buttons'
// question before a cut takes what the chart holds.
#pragma once
#include <functional>

#include "chartfmt/docdata.h"
#include "editing/edithost.h"

namespace mk {

// Changes MesCount by delta and sizes every lane to measures 0..MesCount; measures added are
// empty, measures removed go with their objects. Refused (false, nothing changed) when the
// count would fall below 0 or grow past maxMeasure. A chart read with more measures than
// maxMeasure keeps them: delta 0 and shrinking are always allowed.
bool Mes_Change(DocData& d, int delta, int maxMeasure);
// Whether Mes_Change would take that delta.
bool MesChangeAllowed(const DocData& d, int delta, int maxMeasure);

// The question asked before measures that hold something are cut (title "確認", OK and Cancel).
inline constexpr const char* kMesCountCutQuestion =
    "指定された数値は現在の小節数より少ないです\r\n譜面が削除される場合がありますがよろしいですか？";

// Whether cutting the chart down to measures 0..newCount takes something the window shows in the
// measures above newCount: an object of either layer, a length factor of its own, or a floating
// entry on the lanes lying there (the cut keeps it floating, but it then lies past the end).
bool MesCutTakesSomething(const DocData& d, int newCount);

// The "+" and "-" buttons: the count changes by delta within Mes_Change's limits (false,
// nothing asked, when it refuses). A cut that takes something asks confirm() first; false keeps
// every measure. A confirmed cut takes the undo snapshot before it cuts, so Undo brings the
// measures back and the chart is marked modified. Growth and cuts of empty measures change the
// count without a question, as they change nothing a save writes. The selection stays floating.
bool MesButtonChange(DocData& d, EditHost& host, int delta, int maxMeasure, const std::function<bool()>& confirm);

}  // namespace mk
