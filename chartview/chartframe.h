// What a chart window needs of the frame that holds it: the per-chart controls, the selection
// display, the View > Parts switches and the frame's public operations.
#pragma once
#include <cstdint>
#include <string>

#include "chartview/framepanels.h"
#include "chartview/viewstate.h"

namespace mk {

class ChartFrame : public FramePanels, public SelectionPublisher {
 public:
  // Check marks of View > Parts.
  virtual PartsSwitches Parts() const = 0;
  // Save dialog for window win (-1: the current one); a cancelled dialog sets g_SaveCancel.
  virtual void QuerySave(int16_t win) = 0;
  // Opens path by its extension; win is the window it was dropped on (-1: none).
  // -1 no script takes the file, 0 cancelled or refused, 1 read.
  virtual int16_t QueryScriptOpen(const std::string& path, int16_t win) = 0;
  // Marks the current chart modified.
  virtual void SetDirty() = 0;
  // A chart window has closed and freed its number.
  virtual void WindowClosed(int16_t win) = 0;
  // The script whose title is shown in captions.
  virtual std::string ScriptTitle(int16_t scriptNo) = 0;
  // The help text of a script (empty when it has none).
  virtual std::string ScriptInfo(int16_t scriptNo) = 0;
  // Plays a sound file as the definition preview does.
  virtual void PreviewPlay(const std::string& file) = 0;
  // An error box (title "エラー", OK). While boxes are held it waits, in order, until the hold
  // ends: a press on a chart canvas holds them until its release, which a box would take.
  virtual void ErrorBox(const std::string& text) = 0;
  virtual void HoldErrorBoxes(bool hold) = 0;
  // Select mode (the select button of the main toolbar is pressed) or draw mode.
  virtual bool SelectMode() const = 0;
  // Shows the chart context menu at the pointer and returns once it has closed.
  virtual void PopupEditMenu() = 0;
  // Whether a chart canvas under the pointer takes the keyboard focus: the frame is the active
  // window and automatic focus is switched on.
  virtual bool CanvasAutoFocus() const = 0;
};

}  // namespace mk
