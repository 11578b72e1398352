// What the edit commands need of the chart window that holds the record: the window's own
// snapshot, landing, selection and redraw steps, each of which also updates what the window
// shows (the Undo item, the caption mark, the scroll range, the status panel).
#pragma once

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
  // Adds the objects of a rectangle (lanes x1..x2, measure m1 grid step s1 to measure m2 grid
  // step s2) to the floating selection.
  virtual void ObjSelect(int x1, int m1, int s1, int x2, int m2, int s2) = 0;
  virtual void ObjDraw() = 0;
};

}  // namespace mk
