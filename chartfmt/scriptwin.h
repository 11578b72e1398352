// What the script reader asks of the chart window that it reads a script for. The chart window
// implements it; tests record the calls.
#pragma once
#include <string>
#include <vector>

namespace mk {

class ScriptWindowSteps {
 public:
  virtual ~ScriptWindowSteps() = default;
  // A "#SCRL " line was read: apply the record's ScrlUp to the view at once.
  virtual void SetScrollDirection() = 0;
  // Appends one row per code to the frame's WAV list (Grid1) / BGA list (Grid2), file and
  // comment empty. codes[0] is the row of definition 1.
  virtual void AppendWavRows(const std::vector<std::string>& codes) = 0;
  virtual void AppendBgaRows(const std::vector<std::string>& codes) = 0;
  virtual void ObjMake() = 0;  // object sprites
  virtual void Scr_Chg() = 0;  // horizontal scroll range
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void HeadDraw() = 0;
  virtual void HeadDraw2() = 0;
  virtual void ObjDraw() = 0;
};

}  // namespace mk
