#include "chartfmt/globals.h"

namespace mk {

std::vector<DocData> g_Docs;
int16_t g_CurWin = 0;
std::vector<int16_t> g_SlotUsed;
int16_t g_OpenCount = 0;
int16_t g_NewSlot = 0;
int16_t g_NewScript = 0;
std::string g_InstallDir;

void SizeWindowTable(int16_t maxWindows) {
  const size_t n = maxWindows < 0 ? 0 : static_cast<size_t>(maxWindows);
  g_Docs.resize(n + 1);
  g_SlotUsed.resize(n, 0);
}

// Empties the table and its counters. g_InstallDir is not part of the table and stays.
void ResetWindowTable() {
  g_Docs.clear();
  g_SlotUsed.clear();
  g_CurWin = 0;
  g_OpenCount = 0;
  g_NewSlot = 0;
  g_NewScript = 0;
}

}  // namespace mk
