#include "frame/settings.h"

#include <algorithm>
#include <array>
#include <optional>

#include "chartfmt/globals.h"
#include "platform/core/ansitext.h"
#include "platform/core/profile.h"
#include "platform/core/vbnum.h"

namespace mk {

namespace {

constexpr int16_t kDefMaxWindows = 30;
constexpr int16_t kDefSplash = 1200;
constexpr int16_t kDefRecentNum = 4;

}  // namespace

int16_t g_MaxWindows = kDefMaxWindows;
int16_t g_Splash = kDefSplash;
int16_t g_SplashOn = -1;
int16_t g_Streaming = -1;
int16_t g_RecentNum = kDefRecentNum;
std::string g_DefExt = "NXL";
int16_t g_FirstOpen = -1;
std::vector<std::string> g_RecentFiles(kDefRecentNum + 1);
std::vector<std::string> g_RecentScripts(kDefRecentNum + 1);
std::vector<std::string> g_RecentScriptFiles(kDefRecentNum + 1);

namespace {

constexpr size_t kValueBuffer = 10;    // [Default], [Window], [Visibility], [Etc]
constexpr size_t kRecentBuffer = 255;  // [Recent]

// Frame bounds written for a frame closed minimised or maximised.
constexpr const char* kRestoreWidth = " 10200";
constexpr const char* kRestoreHeight = " 8460";

// The settings file as LoadSettings read it, once for all its keys.
const plat::ProfileSnapshot* g_ini = nullptr;

std::string Value(const char* section, const char* key, const char* def) {
  return g_ini->Get(section, key, def, kValueBuffer);
}

double NumberOf(const char* section, const char* key, const char* def) {
  return plat::LeadingNumber(Value(section, key, def));
}

// A number setting; one that does not fit its 16-bit field takes its default.
int16_t Number16(double v, int16_t def) { return plat::ToInt16(v).value_or(def); }
int16_t Number16(const char* key, const char* def, int16_t fallback) {
  return Number16(NumberOf("Default", key, def), fallback);
}

int16_t Flag(const char* section, const char* key, const char* def) { return TextToBool(Value(section, key, def)); }

// RRGGBB as red + 256 * green + 65536 * blue.
int32_t Colour(const std::string& text) {
  const std::array<int, 3> c = plat::ColourPairs(text);
  return c[0] + 256 * c[1] + 65536 * c[2];
}

// The extension keeps the characters whose ANSI code is positive as a 16-bit value: single-byte
// characters other than NUL. Double-byte characters (and a lead byte cut off by the buffer) go.
std::string ExtensionText(const std::string& value) {
  std::string out;
  const size_t n = plat::CharLen(value);
  for (size_t i = 1; i <= n; ++i) {
    const std::string ch = plat::CharMid(value, i, 1);
    const std::string ansi = plat::EncodeAnsi(ch);
    if (ansi.size() == 1 && ansi[0] != '\0' && !plat::IsAnsiLeadByte(static_cast<unsigned char>(ansi[0]))) out += ch;
  }
  return out;
}

void ReadDefaults() {
  g_MaxWindows = Number16("MaxWindows", "30", kDefMaxWindows);
  if (g_MaxWindows < 1) g_MaxWindows = kDefMaxWindows;
  if (g_MaxWindows > kMaxWindowsLimit) g_MaxWindows = kMaxWindowsLimit;

  g_ScrollSpeed = plat::ToInt32(NumberOf("Default", "ScrollSpeed", "4")).value_or(kDefScrollSpeed);
  if (g_ScrollSpeed < 1 || g_ScrollSpeed > kMaxScrollSpeed) g_ScrollSpeed = kDefScrollSpeed;

  g_ScrollSkip = Number16("ScrollSkip", "6", kDefScrollSkip);

  g_MaxMeasure = Number16("MaxMeasure", "499", kDefMaxMeasure);
  if (g_MaxMeasure < 0) g_MaxMeasure = kDefMaxMeasure;

  // A new window must be able to take its first measures.
  g_DefMeasure = Number16("DefMeasure", "10", kDefDefMeasure);
  if (g_DefMeasure < 0) g_DefMeasure = kDefDefMeasure;
  g_DefMeasure = std::min(g_DefMeasure, g_MaxMeasure);

  // A time that rounds to 0 ms would never close the splash: no splash then.
  double splash = NumberOf("Default", "Splash", "1200");
  if (!plat::ToInt16(splash)) splash = kDefSplash;
  g_Splash = Number16(splash, kDefSplash);
  g_SplashOn = (splash > 0 && g_Splash > 0) ? -1 : 0;

  g_SelectColor = Colour(Value("Default", "SelectColor", "00FF80"));

  g_DefGrid = Number16("DefGrid", "3", kDefDefGrid);
  if (g_DefGrid > 8 || g_DefGrid < 0) g_DefGrid = kDefDefGrid;

  g_DefMag = Number16(NumberOf("Default", "DefMag", "1") - 1, kDefDefMag);
  if (g_DefMag > 9 || g_DefMag < 0) g_DefMag = kDefDefMag;

  g_Streaming = Flag("Default", "Streaming", "True");

  g_RecentNum = Number16(NumberOf("Default", "RecentNum", "5") - 1, kDefRecentNum);
  if (g_RecentNum < 0) g_RecentNum = 0;
  if (g_RecentNum > 15) g_RecentNum = 15;

  g_ScrollSpeedX = Number16("ScrollSpeedX", "80", kDefScrollSpeedXY);
  if (g_ScrollSpeedX < 1) g_ScrollSpeedX = kDefScrollSpeedXY;
  g_ScrollSpeedY = Number16("ScrollSpeedY", "80", kDefScrollSpeedXY);
  if (g_ScrollSpeedY < 1) g_ScrollSpeedY = kDefScrollSpeedXY;

  g_DefExt = ExtensionText(Value("Default", "DefExt", "NXL"));

  g_MesLargeChange = Number16("MesLargeChange", "8", kDefMesLargeChange);
}

void ReadWindow(FrameSettingsPort& port) {
  using P = FrameSettingsPort::Placement;
  static constexpr struct {
    P which;
    const char* key;
  } kPlacement[] = {{P::Top, "Top"}, {P::Left, "Left"}, {P::Width, "Width"}, {P::Height, "Height"}};
  for (const auto& p : kPlacement) {
    const double v = NumberOf("Window", p.key, "0.1");
    if (v == 0.1) continue;  // not saved yet: the frame keeps its designed placement
    // Only what a window can take: a finite 32-bit twip count, and no negative size.
    if (!plat::ToInt32(v)) continue;
    if ((p.which == P::Width || p.which == P::Height) && v < 0) continue;
    port.ApplyPlacement(p.which, v);
  }
  const double state = NumberOf("Window", "State", "0.1");
  if (state != 0.1) {
    const std::optional<int16_t> s = plat::ToInt16(state);
    if (s && *s >= 0 && *s <= 2) port.ApplyWindowState(*s);
  }
}

constexpr struct {
  FrameSettingsPort::Bar bar;
  const char* key;
} kBars[] = {{FrameSettingsPort::Bar::FormToolbar, "FormToolbar"},
             {FrameSettingsPort::Bar::EditToolbar, "EditToolbar"},
             {FrameSettingsPort::Bar::DefFrame, "DefFrame"},
             {FrameSettingsPort::Bar::Statusbar, "Statusbar"}};

// The text of a recent value before its first "*"; a value without "*" (cut by the buffer)
// gives an empty entry.
std::string RecentEntry(const std::string& value) {
  const size_t star = value.find('*');
  return star == std::string::npos ? std::string() : value.substr(0, star);
}

void ReadRecent() {
  std::vector<std::string> files, scripts, scriptFiles;
  for (int i = 0; i <= g_RecentNum; ++i) {
    const std::string key = std::to_string(i);
    std::string file = RecentEntry(g_ini->Get("Recent", key, "*", kRecentBuffer));
    std::string script = RecentEntry(g_ini->Get("Recent", key + "S", "*", kRecentBuffer));
    // Missing in files written before entries kept their script's file.
    std::string scriptFile = RecentEntry(g_ini->Get("Recent", key + "F", "*", kRecentBuffer));
    // An empty entry ends the list, so the entries after a lost one move up.
    if (!file.empty()) {
      files.push_back(std::move(file));
      scripts.push_back(std::move(script));
      scriptFiles.push_back(std::move(scriptFile));
    }
  }
  const size_t n = static_cast<size_t>(g_RecentNum) + 1;
  files.resize(n);
  scripts.resize(n);
  scriptFiles.resize(n);
  g_RecentFiles = std::move(files);
  g_RecentScripts = std::move(scripts);
  g_RecentScriptFiles = std::move(scriptFiles);
}

int WheelItem(int16_t wheel) { return wheel == 1 ? 1 : wheel == 8 ? 3 : 2; }

// The values SaveSettings writes, in order; the file is replaced once with all of them.
class Writes {
 public:
  void operator()(const char* section, const std::string& key, const std::string& value) {
    entries_.push_back({section, key, value});
  }
  void Commit() const { plat::WriteProfileStrings(entries_, SettingsPath()); }  // not reported

 private:
  std::vector<plat::ProfileEntry> entries_;
};

}  // namespace

std::string SettingsPath() { return g_InstallDir + "Mirkan.ini"; }

std::string BoolToText(int16_t flag) { return flag == -1 ? "True" : "False"; }

int16_t TextToBool(const std::string& text) { return plat::CharLeft(text, 4) == "True" ? -1 : 0; }

void ResetSettings() {
  g_MaxWindows = kDefMaxWindows;
  g_ScrollSpeed = kDefScrollSpeed;
  g_ScrollSkip = kDefScrollSkip;
  g_MaxMeasure = kDefMaxMeasure;
  g_DefMeasure = kDefDefMeasure;
  g_Splash = kDefSplash;
  g_SplashOn = -1;
  g_SelectColor = kDefSelectColor;
  g_DefGrid = kDefDefGrid;
  g_DefMag = kDefDefMag;
  g_Streaming = -1;
  g_RecentNum = kDefRecentNum;
  g_ScrollSpeedX = kDefScrollSpeedXY;
  g_ScrollSpeedY = kDefScrollSpeedXY;
  g_DefExt = "NXL";
  g_MesLargeChange = kDefMesLargeChange;
  g_Wheel = kDefWheel;
  g_FirstOpen = -1;
  g_PlayObj = 0;
  g_RecentFiles.assign(static_cast<size_t>(g_RecentNum) + 1, std::string());
  g_RecentScripts.assign(static_cast<size_t>(g_RecentNum) + 1, std::string());
  g_RecentScriptFiles.assign(static_cast<size_t>(g_RecentNum) + 1, std::string());
}

void LoadSettings(FrameSettingsPort& port) {
  const plat::ProfileSnapshot ini(SettingsPath());
  g_ini = &ini;
  struct Release {
    ~Release() { g_ini = nullptr; }
  } release;
  ReadDefaults();
  SizeWindowTable(g_MaxWindows);
  g_RecentFiles.assign(static_cast<size_t>(g_RecentNum) + 1, std::string());
  g_RecentScripts.assign(static_cast<size_t>(g_RecentNum) + 1, std::string());
  g_RecentScriptFiles.assign(static_cast<size_t>(g_RecentNum) + 1, std::string());

  ReadWindow(port);
  for (const auto& b : kBars) port.ApplyBar(b.bar, Flag("Visibility", b.key, "True") == -1);
  ReadRecent();

  int16_t wheel = Number16(NumberOf("Etc", "Wheel", "2"), kDefWheel);
  g_Wheel = (wheel == 1 || wheel == 2 || wheel == 8) ? wheel : kDefWheel;
  port.ApplyWheelCheck(WheelItem(g_Wheel));
  port.ApplyAutoFocusCheck(Flag("Etc", "AutoFocus", "True") == -1);
  g_FirstOpen = Flag("Etc", "FirstOpen", "True");
  g_PlayObj = Flag("Etc", "PlayObj", "False");
  port.ApplyPlayObjCheck(g_PlayObj == -1);
}

void SaveSettings(const FrameSettingsPort& port) {
  using P = FrameSettingsPort::Placement;
  Writes write;
  const int16_t state = port.WindowState();
  if (state == 1 || state == 2) {
    // A minimised frame comes back normal; a maximised one maximised over these bounds.
    write("Window", "Top", " 0");
    write("Window", "Left", " 0");
    write("Window", "Width", kRestoreWidth);
    write("Window", "Height", kRestoreHeight);
    write("Window", "State", state == 2 ? " 2" : " 0");
  } else {
    write("Window", "Top", plat::NumberToText(port.PlacementValue(P::Top)));
    write("Window", "Left", plat::NumberToText(port.PlacementValue(P::Left)));
    write("Window", "Width", plat::NumberToText(port.PlacementValue(P::Width)));
    write("Window", "Height", plat::NumberToText(port.PlacementValue(P::Height)));
    write("Window", "State", " 0");
  }

  for (const auto& b : kBars) write("Visibility", b.key, BoolToText(port.BarChecked(b.bar) ? -1 : 0));

  for (int i = 0; i <= g_RecentNum; ++i) {
    const size_t k = static_cast<size_t>(i);
    const std::string file = k < g_RecentFiles.size() ? g_RecentFiles[k] : std::string();
    const std::string script = k < g_RecentScripts.size() ? g_RecentScripts[k] : std::string();
    const std::string scriptFile = k < g_RecentScriptFiles.size() ? g_RecentScriptFiles[k] : std::string();
    const std::string key = std::to_string(i);
    write("Recent", key, file.empty() ? std::string() : file + "*");
    write("Recent", key + "S", file.empty() ? std::string() : script + "*");
    // The script's file beside its title, which older versions read alone.
    write("Recent", key + "F", file.empty() ? std::string() : scriptFile + "*");
  }

  write("Etc", "Wheel", plat::NumberToText(g_Wheel));
  write("Etc", "AutoFocus", BoolToText(port.AutoFocusChecked() ? -1 : 0));
  write("Etc", "FirstOpen", BoolToText(g_FirstOpen));
  write("Etc", "PlayObj", BoolToText(g_PlayObj));
  write.Commit();
}

}  // namespace mk
