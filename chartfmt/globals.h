// Program-wide window table. Plain data; tests reset it with ResetWindowTable().
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "chartfmt/docdata.h"

namespace mk {

extern std::vector<DocData> g_Docs;      // 0..g_MaxWindows, element 0 unused
extern int16_t g_CurWin;                 // active chart window, 0 when none
extern std::vector<int16_t> g_SlotUsed;  // flags 0..g_MaxWindows-1
extern int16_t g_OpenCount;
extern int16_t g_NewSlot;
extern int16_t g_NewScript;
extern std::string g_InstallDir;  // program folder, ending in "/"

// Sizes g_Docs (0..maxWindows) and g_SlotUsed (0..maxWindows-1), keeping contents.
void SizeWindowTable(int16_t maxWindows);
void ResetWindowTable();

}  // namespace mk
