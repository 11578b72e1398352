// The canvas repaint done piece by piece, for comparing pictures.
#pragma once
#include "chartfmt/docdata.h"
#include "chartview/viewstate.h"
#include "platform/gfx/picture.h"

namespace drawtest {

plat::Picture ReferenceObjDraw(const mk::DocData& doc, const mk::ViewState& view, const mk::SpriteSheets& sheets);

}  // namespace drawtest
