// What the edit commands need of the chart window that holds the record: the window's own
// snapshot, landing and redraw steps, each of which also updates what the window
// shows (the Undo item, the caption mark, the scroll range, the status panel).
#pragma once
#include <string>

namespace mk {

class EditHost {
 public:
  virtual ~EditHost() = default;
  // Undo snapshot; marks the chart modified.
  virtual void ObjBackup() = 0;
  // Lands the floating selection in the grid (growing the chart where it must).
  virtual void ObjDeSel() = 0;
  // The measure count changed: the scroll range and the measure-count label follow it.
  virtual void MesCountChanged() = 0;
  virtual void ObjDraw() = 0;
  // A line for the status bar about what the command could not do (empty: clear).
  virtual void StatusNote(const std::string& text) { (void)text; }
};

}  // namespace mk
