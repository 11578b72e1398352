#include "chartview/formglobals.h"

namespace mk {

int16_t g_Filling = 0;
int16_t g_SkipActivate = 0;
int16_t g_SaveCancel = 0;
int16_t g_WizState = 0;
int16_t g_TextFocus = 0;

}  // namespace mk
