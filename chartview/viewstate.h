// What a chart window's drawing reads besides the document record: the sizes of its canvas and
// header strip, the horizontal scroll bar, the frame's View > Parts switches and the loaded
// wallpaper pictures. Zoom, vertical scroll position, grid, scroll direction and the wallpaper
// mode and flag live in the document record (Zoom, ScrollPos, GridDiv, ScrlUp, CanvasWallMode,
// CanvasWallOn), where the scroll and zoom controls keep them.
#pragma once
#include <cstdint>
#include <string>

#include "platform/gfx/picture.h"

namespace mk {

// View > Parts of the frame.
struct PartsSwitches {
  bool Back = true;    // lane tiles or wallpaper
  bool Line = true;    // measure, grid, beat and lane lines
  bool Grid = true;    // grid lines (with Line)
  bool Spell = true;   // object number labels
  bool Lower = false;  // labels in lower case
};

struct ViewState {
  int CanvasWidth = 521;  // Picture1
  int CanvasHeight = 337;
  int StripHeight = 25;  // Picture3, the lane header strip
  int HScrollValue = 0;  // HScroll1.Value; one unit is 5 pixels
  PartsSwitches Parts;
  const plat::Picture* Wall = nullptr;           // Picture4: the wallpaper as loaded
  const plat::Picture* WallStretched = nullptr;  // Picture5: stretched to the canvas
};

// The two sprite sheets of a window.
struct SpriteSheets {
  plat::Picture Obj;   // Picture2
  plat::Picture Head;  // Picture6
};

// Where ObjDraw publishes the selection to the frame: the status-bar panel "Info" and the enabled
// state of the cut, copy, delete and batch-edit items.
class SelectionPublisher {
 public:
  virtual ~SelectionPublisher() = default;
  virtual void PublishSelection(const std::string& infoText, bool editItemsEnabled) = 0;
};

// Horizontal scroll in pixels.
inline int ScrollX(const ViewState& v) { return v.HScrollValue * 5; }

// Font of the drawing surfaces ("ＭＳ ゴシック" bold) at a point size.
inline plat::Font SheetFont(double points) { return plat::Font{"ＭＳ ゴシック", points, true}; }

}  // namespace mk
