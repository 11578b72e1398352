// Program-wide flags shared by the chart windows, the frame and the definition panel.
#pragma once
#include <cstdint>

#include "editing/clipboard.h"  // the internal clipboard (g_Clip, g_ClipCount, ...)

namespace mk {

// True while ClearThisWin or SetThisWin rewrite the frame's header fields, sliders and the
// free-statement box: their change handlers then leave the document alone.
extern int16_t g_Filling;
// The next activation of a chart window only clears this flag.
extern int16_t g_SkipActivate;
// Set by QuerySave when its dialog was cancelled; callers read it and clear it.
extern int16_t g_SaveCancel;
// Conversion wizard state: every chart window load ends by setting it to 99.
extern int16_t g_WizState;
// -1 while one of the edit palette's text boxes, definition lists, level sliders or its tab
// strip has the keyboard focus: the Edit menu's Cut, Copy and Delete then leave the chart alone.
extern int16_t g_TextFocus;

}  // namespace mk
