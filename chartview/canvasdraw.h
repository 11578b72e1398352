// The chart canvas repaint: background, measure numbers and lengths, lines, objects with their
// labels and the selection, all composed from the object sprite sheet.
#pragma once
#include "chartfmt/docdata.h"
#include "chartview/viewstate.h"
#include "platform/gfx/canvas.h"
#include "platform/gfx/picture.h"

namespace mk {

// The view frame of one repaint.
struct ViewFrame {
  int X0 = 0;  // horizontal scroll, pixels
  int W = 0, H = 0;
  int XR = 0;      // right edge of the view in lane coordinates
  int PPM = 0;     // pixels per measure
  int First = 0;   // measure in the first row
  int Off = 0;     // how far the first row is scrolled, pixels
  int Rows = 0;    // rows 1 to Rows + 1 are laid out
  bool Up = true;  // measure 0 at the bottom

  // Lower and upper edge of row k (1-based).
  int YL(int k) const { return Up ? H + Off - (k - 1) * PPM : k * PPM - Off; }
  int YT(int k) const { return YL(k) - PPM; }
};

ViewFrame MakeViewFrame(const DocData& doc, const ViewState& view);

// "N個のオブジェを選択", or empty for no selection.
std::string SelectionInfoText(int selCount);

// Repaints the canvas picture (sized to the view's canvas) from the record. Publishes the
// selection to the frame only when this window is the current one. A record without lanes leaves
// picture and frame as they were; returns false then.
bool ObjDraw(const DocData& doc, const ViewState& view, const SpriteSheets& sheets, plat::Picture& canvas,
             SelectionPublisher* frame, bool currentWindow);
// Same on a canvas: the repaint replaces the overlay too.
bool ObjDraw(const DocData& doc, const ViewState& view, const SpriteSheets& sheets, plat::Canvas& canvas,
             SelectionPublisher* frame, bool currentWindow);

}  // namespace mk
