// The window reset's plain parts: the document record back to its empty state, and the frame's
// per-chart controls into the no-chart state.
#pragma once
#include "chartfmt/docdata.h"
#include "chartview/framepanels.h"

namespace mk {

// Record fields to their defaults and every table erased (selection count 0). Keeps ScriptNo,
// MaxPart, ScrollPos, ObjReadCount, the pointer fields and the script settings. The script's
// help text in the script table is shared by every window of that script and is left alone.
void ResetDocument(DocData& doc);

// Menus, main toolbar, definition panel, header fields, level display and status panels into
// the cleared, disabled state; the BGA preview window closed. g_Filling is set while the header
// fields are written. Copy, cut, delete, paste, the "Info" panel, the slider positions and which
// of the lists is shown are left as they are.
void ClearFramePanels(FramePanels& frame);

}  // namespace mk
