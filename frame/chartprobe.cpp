#include "frame/chartprobe.h"

#include "chartfmt/docdata.h"
#include "chartfmt/scriptread.h"
#include "chartfmt/scriptreg.h"
#include "chartfmt/scriptwin.h"
#include "chartview/form1_calc.h"
#include "frame/recent.h"
#include "frame/settings.h"

namespace mk {

namespace {
// A window that shows nothing: the script reader's window steps are not wanted here.
class NoWindowSteps : public ScriptWindowSteps {
 public:
  void SetScrollDirection() override {}
  void AppendWavRows(const std::vector<std::string>&) override {}
  void AppendBgaRows(const std::vector<std::string>&) override {}
  void ObjMake() override {}
  void Scr_Chg() override {}
  void SetCaption(const std::string&) override {}
  void HeadDraw() override {}
  void HeadDraw2() override {}
  void ObjDraw() override {}
};

ScriptMessage ChartFault(const std::string& path, const std::string& reason) {
  return ScriptError(path + "\r\n" + reason, false);
}
}  // namespace

ScriptMessage TryChartRead(const std::string& path, const std::string& title, int16_t script, ChartReadAhead* ahead) {
  std::string reason;
  if (!ChartFileReadable(path, reason)) return ChartFault(path, reason);

  DocData doc;
  doc.ScriptNo = script == 0 ? g_DefaultScript : script;
  doc.Sel.assign(1, SelEntry{});
  NoWindowSteps none;
  const ScriptReadResult s = ScrRead(doc.ScriptNo, doc, none);
  if (!s.ok) return s.message;
  MesChangeScroll unused;
  ApplyMesChange(doc, g_DefMeasure, 0, 0, unused);

  ChartReadAhead local;
  ChartReadAhead& out = ahead ? *ahead : local;
  const ChartReadResult r = ReadChartAhead(path, title, std::move(doc), out);
  if (!r) return ChartFault(path, ChartReadMessage(r));
  return {};
}

}  // namespace mk
