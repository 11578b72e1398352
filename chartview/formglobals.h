// Program-wide flags shared by the chart windows, the frame and the definition panel.
#pragma once
#include <cstdint>

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
// The internal clipboard's object count and the WAV numbering mode it was copied in.
extern int16_t g_ClipCount;
extern int16_t g_ClipMode;

}  // namespace mk
