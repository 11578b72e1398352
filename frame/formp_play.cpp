// The Play menu: test play through the script's external player, the stop command and the
// switch that plays an object's sound when it is selected.
#include <QAction>

#include "chartfmt/chartwrite.h"
#include "chartfmt/globals.h"
#include "chartview/form1.h"
#include "chartview/formglobals.h"
#include "frame/formp.h"
#include "frame/settings.h"
#include "frame/testplay.h"
#include "platform/core/desktop.h"

namespace mk {

namespace {
void Error(const std::string& text) {
  plat::TheDesktop().MessageBox(text, "エラー", plat::MsgButtons::Ok, plat::MsgIcon::Critical);
}

// How long a test play waits for the player's load command to end before it starts the play
// command. The two would otherwise run side by side, and the play could take the chart an
// earlier load handed over. A player whose load takes longer is left running; the window is
// blocked for this long at most.
constexpr int kLoadWaitMs = 1500;

bool Start(const PlayerStart& start, int waitMs) {
  if (plat::TheDesktop().StartProgramAndWait(start.program, start.args, waitMs)) return true;
  Error(PlayerStartFailure(start.program));
  return false;
}

// Loads the scratch chart into the player, then plays it.
void LoadAndPlay(const PlayerStart& load, const PlayerStart& play) {
  if (Start(load, kLoadWaitMs)) Start(play, 0);
}
}  // namespace

// Writes the current chart as the player's scratch file. A chart that could not be written
// is said so: the player would otherwise play whatever an earlier test play left there.
bool FormP::WriteTestChart(std::string& scratch) {
  Form1* w = WinAt(g_CurWin);
  if (!w || g_Docs[g_CurWin].Fmt.Viewer.empty()) return false;
  scratch = ScratchFilePath("temp.tmp");
  std::string why;
  if (scratch.empty()) {
    Error(ScratchWriteFailure(g_InstallDir + "temp.tmp", "書き込める場所がありません"));
    return false;
  }
  const bool written = ChartWrite(scratch, "temp.tmp", g_CurWin, g_Docs[g_CurWin].ScriptNo, -1, &why);
  w->ObjDraw();  // the selection went back into the grid
  if (!written) Error(ScratchWriteFailure(scratch, why));
  return written;
}

bool FormP::StartPlayer(const PlayerStart& start) { return Start(start, 0); }

void FormP::Menu_Play_PlayAll_Click() {
  std::string scratch;
  if (!WriteTestChart(scratch)) return;
  const ScrFormat& fmt = g_Docs[g_CurWin].Fmt;
  LoadAndPlay(LoadStart(fmt, g_InstallDir, scratch), PlayAllStart(fmt, g_InstallDir));
}

void FormP::Menu_Play_PlayHere_Click() {
  if (!WinAt(g_CurWin)) return;
  const int16_t measure = PlayMeasure(g_Docs[g_CurWin].ScrollPos);
  std::string scratch;
  if (!WriteTestChart(scratch)) return;
  const ScrFormat& fmt = g_Docs[g_CurWin].Fmt;
  LoadAndPlay(LoadStart(fmt, g_InstallDir, scratch), PlayHereStart(fmt, g_InstallDir, measure));
}

void FormP::Menu_Play_Stop_Click() {
  if (!WinAt(g_CurWin) || g_Docs[g_CurWin].Fmt.Viewer.empty()) return;
  StartPlayer(StopStart(g_Docs[g_CurWin].Fmt, g_InstallDir));
}

// The check mark turns with the click; the flag is turned on its own, from the same loaded value.
void FormP::Menu_Play_PlayObj_Click() { g_PlayObj = g_PlayObj == 0 ? -1 : 0; }

}  // namespace mk
