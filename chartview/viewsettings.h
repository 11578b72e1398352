// The settings the chart window reads: scroll speeds and steps, the measure limit, the new
// window's grid, zoom and measure count, the selection colour and the preview switch. The frame
// reads them from the settings file (frame/settings.h) and may change them at any time; the
// chart window only reads them, so it never includes the frame.
#pragma once
#include <cstdint>

namespace mk {

// Defaults, also taken by a value the program cannot use.
constexpr int32_t kDefScrollSpeed = 4;
constexpr int16_t kDefScrollSkip = 6;
constexpr int16_t kDefMaxMeasure = 499;
constexpr int16_t kDefDefMeasure = 10;
constexpr int32_t kDefSelectColor = 0x80FF00;  // "00FF80": green 255, blue 128
constexpr int16_t kDefDefGrid = 3;
constexpr int16_t kDefDefMag = 0;
constexpr int16_t kDefScrollSpeedXY = 80;
constexpr int16_t kDefMesLargeChange = 8;
constexpr int16_t kDefWheel = 2;

constexpr int32_t kMaxScrollSpeed = 383;  // 192 / 383 still rounds to a page step of 1

// [Default]
extern int32_t g_ScrollSpeed;     // 4; ticks per vertical scroll unit, 1 .. 383
extern int16_t g_ScrollSkip;      // 6
extern int16_t g_MaxMeasure;      // 499; highest measure index the editor grows a chart to
extern int16_t g_DefMeasure;      // 10; 0 .. g_MaxMeasure
extern int32_t g_SelectColor;     // red + 256 * green + 65536 * blue; default 00FF80
extern int16_t g_DefGrid;         // 3; grid list index 0 .. 8
extern int16_t g_DefMag;          // 0; zoom list index 0 .. 9
extern int16_t g_ScrollSpeedX;    // 80; positive
extern int16_t g_ScrollSpeedY;    // 80; positive
extern int16_t g_MesLargeChange;  // 8
// [Etc]
extern int16_t g_Wheel;    // 2; 1, 2 or 8 eighths of a measure per wheel notch
extern int16_t g_PlayObj;  // 0

}  // namespace mk
