// Undo levels: taking, restoring and dropping a snapshot.
#include "editing/undo.h"

#include <utility>

namespace mk {

void ObjBackup(DocData& d) {
  d.UndoObj2 = std::move(d.UndoObj);
  d.UndoSel2 = std::move(d.UndoSel);
  d.UndoSelCount2 = d.UndoSelCount;
  d.UndoDirty2 = d.UndoDirty;
  d.UndoMesCount2 = d.UndoMesCount;
  d.UndoOn2 = d.UndoOn;
  d.UndoObj = d.Obj;  // shares every cell
  d.UndoSel = d.Sel;
  d.UndoSelCount = d.SelCount;
  d.UndoDirty = d.Dirty;
  d.UndoMesCount = d.MesCount;
  d.UndoOn = -1;
  d.Dirty = -1;
}

bool Undo(DocData& d) {
  if (d.UndoOn == 0) return false;
  d.Obj = d.UndoObj;
  d.Sel = d.UndoSel;
  d.SelCount = d.UndoSelCount;
  d.MesCount = d.UndoMesCount;
  d.UndoOn = 0;
  d.Dirty = d.UndoDirty;
  return true;
}

void DropLastBackup(DocData& d) {
  d.UndoObj = std::move(d.UndoObj2);
  d.UndoSel = std::move(d.UndoSel2);
  d.UndoSelCount = d.UndoSelCount2;
  d.UndoDirty = d.UndoDirty2;
  d.UndoMesCount = d.UndoMesCount2;
  d.UndoOn = d.UndoOn2;
  d.UndoObj2.clear();
  d.UndoSel2.clear();
  d.UndoSelCount2 = 0;
  d.UndoDirty2 = 0;
  d.UndoMesCount2 = 0;
  d.UndoOn2 = 0;
}

void MarkChangedBeyondUndo(DocData& d) {
  d.Dirty = -1;
  d.UndoDirty = d.UndoDirty2 = -1;
}

void MarkSaved(DocData& d) {
  d.Dirty = 0;
  d.UndoDirty = d.UndoDirty2 = -1;
}

}  // namespace mk
