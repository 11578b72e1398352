#include "chartview/viewsettings.h"

namespace mk {

int32_t g_ScrollSpeed = kDefScrollSpeed;
int16_t g_ScrollSkip = kDefScrollSkip;
int16_t g_MaxMeasure = kDefMaxMeasure;
int16_t g_DefMeasure = kDefDefMeasure;
int32_t g_SelectColor = kDefSelectColor;
int16_t g_DefGrid = kDefDefGrid;
int16_t g_DefMag = kDefDefMag;
int16_t g_ScrollSpeedX = kDefScrollSpeedXY;
int16_t g_ScrollSpeedY = kDefScrollSpeedXY;
int16_t g_MesLargeChange = kDefMesLargeChange;
int16_t g_Wheel = kDefWheel;
int16_t g_PlayObj = 0;

}  // namespace mk
