// The settings file "Mirkan.ini" in the install folder: the settings globals, read once at
// start-up and partly written back at exit. Qt-free: the frame's placement and menu check
// marks pass through FrameSettingsPort, which the frame implements.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "chartview/viewsettings.h"

namespace mk {

// [Default] (read only; a value the program cannot use takes the default below). The values the
// chart window reads are declared in chartview/viewsettings.h.
extern int16_t g_MaxWindows;  // 30; 1 .. kMaxWindowsLimit
extern int16_t g_Splash;      // 1200 ms
extern int16_t g_SplashOn;    // -1 when a splash is shown
extern int16_t g_Streaming;   // -1
extern int16_t g_RecentNum;   // 4; last index of the recent lists, 0 .. 15
extern std::string g_DefExt;  // "NXL"
// [Etc]
extern int16_t g_FirstOpen;  // -1
// [Recent], entries 0 .. g_RecentNum, newest first.
extern std::vector<std::string> g_RecentFiles;
extern std::vector<std::string> g_RecentScripts;      // the titles of their scripts
extern std::vector<std::string> g_RecentScriptFiles;  // their scripts' file names (ScriptFileName)

constexpr int16_t kMaxWindowsLimit = 1000;

// The frame as the settings file sees it. Placement values are in twips.
class FrameSettingsPort {
 public:
  enum class Placement { Top, Left, Width, Height };
  enum class Bar { FormToolbar, EditToolbar, DefFrame, Statusbar };

  virtual ~FrameSettingsPort() = default;

  // Loading.
  virtual void ApplyPlacement(Placement which, double twips) = 0;
  virtual void ApplyWindowState(int16_t state) = 0;  // 0 normal, 1 minimised, 2 maximised
  virtual void ApplyBar(Bar bar, bool visible) = 0;  // check mark, then the control's visibility
  virtual void ApplyWheelCheck(int item) = 0;        // 1 "8分", 2 "4分", 3 "1小節"
  virtual void ApplyAutoFocusCheck(bool on) = 0;
  virtual void ApplyPlayObjCheck(bool on) = 0;

  // Saving.
  virtual double PlacementValue(Placement which) const = 0;
  virtual int16_t WindowState() const = 0;
  virtual bool BarChecked(Bar bar) const = 0;
  virtual bool AutoFocusChecked() const = 0;
};

// Every settings global at its default; the recent lists empty with entries 0 .. g_RecentNum.
void ResetSettings();

// Full path of the settings file: g_InstallDir + "Mirkan.ini".
std::string SettingsPath();

// Reads every setting, sizes the window table and the recent lists, and applies the frame's
// placement and check marks through port.
void LoadSettings(FrameSettingsPort& port);
// Writes [Window], [Visibility], [Recent] and [Etc] (never [Default]).
void SaveSettings(const FrameSettingsPort& port);

std::string BoolToText(int16_t flag);         // "True" for -1, else "False"
int16_t TextToBool(const std::string& text);  // -1 when the first four characters are "True"

}  // namespace mk
