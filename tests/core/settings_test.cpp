#include "frame/settings.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "chartfmt/globals.h"
#include "platform/core/ansitext.h"
#include "temp_dir.h"

namespace mk {
namespace {

using Bar = FrameSettingsPort::Bar;
using Placement = FrameSettingsPort::Placement;

// The frame as a plain record: what loading applied, and what saving reads.
struct FakeFrame : FrameSettingsPort {
  std::map<Placement, double> applied;
  std::optional<int16_t> appliedState;
  std::map<Bar, bool> bars;
  int wheelItem = 0;
  std::optional<bool> autoFocus, playObj;

  std::map<Placement, double> current{{Placement::Top, 300},
                                      {Placement::Left, 450},
                                      {Placement::Width, 9000},
                                      {Placement::Height, 7500}};
  int16_t state = 0;

  void ApplyPlacement(Placement which, double twips) override { applied[which] = twips; }
  void ApplyWindowState(int16_t s) override { appliedState = s; }
  void ApplyBar(Bar bar, bool visible) override { bars[bar] = visible; }
  void ApplyWheelCheck(int item) override { wheelItem = item; }
  void ApplyAutoFocusCheck(bool on) override { autoFocus = on; }
  void ApplyPlayObjCheck(bool on) override { playObj = on; }

  double PlacementValue(Placement which) const override { return current.at(which); }
  int16_t WindowState() const override { return state; }
  bool BarChecked(Bar bar) const override { return bars.count(bar) ? bars.at(bar) : true; }
  bool AutoFocusChecked() const override { return autoFocus.value_or(true); }
};

class Settings : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetSettings();
    ResetWindowTable();
    g_InstallDir = dir.path() + "/";
  }
  void TearDown() override {
    ResetSettings();
    ResetWindowTable();
    g_InstallDir.clear();
  }

  // Writes the settings file (CP932, as on disk) and loads it.
  FakeFrame LoadFrom(const std::string& ini) {
    dir.Write("Mirkan.ini", plat::EncodeAnsi(ini));
    return Load();
  }
  FakeFrame Load() {
    FakeFrame f;
    LoadSettings(f);
    return f;
  }
  FakeFrame LoadDefault(const std::string& key, const std::string& value) {
    return LoadFrom("[Default]\r\n" + key + "=" + value + "\r\n");
  }
  std::string File() const { return dir.Read("Mirkan.ini"); }
  // The raw text after "key=" in the file (blanks kept), or nullopt.
  std::optional<std::string> Raw(const std::string& key) const {
    const std::string text = File();
    const std::string want = "\r\n" + key + "=";
    size_t at = ("\r\n" + text).find(want);
    if (at == std::string::npos) return std::nullopt;
    at += want.size() - 2;
    return text.substr(at, text.find("\r\n", at) - at);
  }

  testsupport::TempDir dir;
};

TEST_F(Settings, NoFileGivesDefaultsAndTheDesignedFrame) {
  FakeFrame f = Load();
  EXPECT_EQ(g_MaxWindows, 30);
  EXPECT_EQ(g_ScrollSpeed, 4);
  EXPECT_EQ(g_ScrollSkip, 6);
  EXPECT_EQ(g_MaxMeasure, 499);
  EXPECT_EQ(g_DefMeasure, 10);
  EXPECT_EQ(g_Splash, 1200);
  EXPECT_EQ(g_SplashOn, -1);
  EXPECT_EQ(g_SelectColor, 0 + 256 * 255 + 65536 * 128);
  EXPECT_EQ(g_DefGrid, 3);
  EXPECT_EQ(g_DefMag, 0);
  EXPECT_EQ(g_Streaming, -1);
  EXPECT_EQ(g_RecentNum, 4);
  EXPECT_EQ(g_ScrollSpeedX, 80);
  EXPECT_EQ(g_ScrollSpeedY, 80);
  EXPECT_EQ(g_DefExt, "NXL");
  EXPECT_EQ(g_MesLargeChange, 8);
  EXPECT_EQ(g_Wheel, 2);
  EXPECT_EQ(g_FirstOpen, -1);
  EXPECT_EQ(g_PlayObj, 0);

  EXPECT_TRUE(f.applied.empty());
  EXPECT_FALSE(f.appliedState);
  ASSERT_EQ(f.bars.size(), 4u);
  for (const auto& [bar, visible] : f.bars) EXPECT_TRUE(visible);
  EXPECT_EQ(f.wheelItem, 2);
  EXPECT_EQ(f.autoFocus, true);
  EXPECT_EQ(f.playObj, false);

  EXPECT_EQ(g_Docs.size(), 31u);
  EXPECT_EQ(g_SlotUsed.size(), 30u);
  EXPECT_EQ(g_RecentFiles, std::vector<std::string>(5));
  EXPECT_EQ(g_RecentScripts, std::vector<std::string>(5));
  EXPECT_EQ(g_RecentScriptFiles, std::vector<std::string>(5));
  EXPECT_FALSE(dir.Exists("Mirkan.ini"));  // reading creates nothing
}

TEST_F(Settings, FirstSaveCreatesTheFileWithoutDefault) {
  FakeFrame f = Load();
  SaveSettings(f);
  const std::string text = File();
  for (const char* s : {"[Window]", "[Visibility]", "[Recent]", "[Etc]"}) EXPECT_THAT(text, ::testing::HasSubstr(s));
  EXPECT_THAT(text, ::testing::Not(::testing::HasSubstr("[Default]")));
  EXPECT_EQ(Raw("Top"), " 300");
  EXPECT_EQ(Raw("Left"), " 450");
  EXPECT_EQ(Raw("Width"), " 9000");
  EXPECT_EQ(Raw("Height"), " 7500");
  EXPECT_EQ(Raw("State"), " 0");
  EXPECT_EQ(Raw("FormToolbar"), "True");
  EXPECT_EQ(Raw("0"), "");
  EXPECT_EQ(Raw("4S"), "");
  EXPECT_EQ(Raw("5"), std::nullopt);
  EXPECT_EQ(Raw("Wheel"), " 2");
  EXPECT_EQ(Raw("AutoFocus"), "True");
  EXPECT_EQ(Raw("FirstOpen"), "True");
  EXPECT_EQ(Raw("PlayObj"), "False");

  // What was saved comes back.
  FakeFrame again = Load();
  EXPECT_EQ(again.applied.at(Placement::Width), 9000);
  EXPECT_EQ(again.appliedState, 0);
}

TEST_F(Settings, WheelKeepsOneTwoAndEight) {
  struct Case {
    const char* value;
    int16_t wheel;
    int item;
  } cases[] = {{"1", 1, 1},  {"2", 2, 2}, {"8", 8, 3},   {"3", 2, 2},    {"0", 2, 2},
               {"-8", 2, 2}, {"x", 2, 2}, {"7.6", 8, 3}, {"99999", 2, 2}};
  for (const Case& c : cases) {
    FakeFrame f = LoadFrom(std::string("[Etc]\r\nWheel=") + c.value + "\r\n");
    EXPECT_EQ(g_Wheel, c.wheel) << c.value;
    EXPECT_EQ(f.wheelItem, c.item) << c.value;
  }
}

TEST_F(Settings, WheelOfOneMeasureIsSavedAndRestored) {
  FakeFrame f = Load();
  g_Wheel = 8;
  SaveSettings(f);
  EXPECT_EQ(Raw("Wheel"), " 8");
  ResetSettings();
  FakeFrame again = Load();
  EXPECT_EQ(g_Wheel, 8);
  EXPECT_EQ(again.wheelItem, 3);
}

TEST_F(Settings, NumbersTakeTheTableCorrections) {
  struct Case {
    const char* key;
    const char* value;
    const int16_t* global;
    int16_t expected;
  } cases[] = {
      {"RecentNum", "0", &g_RecentNum, 0},
      {"RecentNum", "1", &g_RecentNum, 0},
      {"RecentNum", "40", &g_RecentNum, 15},
      {"RecentNum", "16", &g_RecentNum, 15},
      {"RecentNum", "3.5", &g_RecentNum, 2},
      {"RecentNum", "-9", &g_RecentNum, 0},
      {"DefGrid", "9", &g_DefGrid, 3},
      {"DefGrid", "8", &g_DefGrid, 8},
      {"DefGrid", "0", &g_DefGrid, 0},
      {"DefGrid", "x", &g_DefGrid, 0},
      {"DefMag", "11", &g_DefMag, 0},
      {"DefMag", "10", &g_DefMag, 9},
      {"DefMag", "3", &g_DefMag, 2},
      {"DefMag", "2.5", &g_DefMag, 2},  // 1.5 to even
      {"DefMag", "3.5", &g_DefMag, 2},
      {"ScrollSkip", "12", &g_ScrollSkip, 12},
      {"MesLargeChange", " 4", &g_MesLargeChange, 4},
      {"MaxMeasure", "600", &g_MaxMeasure, 600},
      {"DefMeasure", "1e1", &g_DefMeasure, 10},
      {"MaxWindows", "&H10", &g_MaxWindows, 16},
  };
  for (const Case& c : cases) {
    LoadDefault(c.key, c.value);
    EXPECT_EQ(*c.global, c.expected) << c.key << "=" << c.value;
  }
}

TEST_F(Settings, RecentListsAreSizedByRecentNum) {
  LoadDefault("RecentNum", "40");
  EXPECT_EQ(g_RecentFiles.size(), 16u);
  EXPECT_EQ(g_RecentScripts.size(), 16u);
  LoadDefault("RecentNum", "1");
  EXPECT_EQ(g_RecentFiles.size(), 1u);
}

TEST_F(Settings, SplashTime) {
  struct Case {
    const char* value;
    int16_t splash, on;
  } cases[] = {
      {"0", 0, 0},         {"2000", 2000, -1}, {"0.6", 1, -1}, {"-300", -300, 0},
      {"x", 0, 0},         {"0.4", 0, 0},  // rounds to 0 ms: the splash would never close, so none is shown
      {"0.5", 0, 0},                       // half to even
      {"99999", 1200, -1},                 // outside 16 bits: the default
  };
  for (const Case& c : cases) {
    LoadDefault("Splash", c.value);
    EXPECT_EQ(g_Splash, c.splash) << c.value;
    EXPECT_EQ(g_SplashOn, c.on) << c.value;
  }
}

TEST_F(Settings, FlagsReadTrueOnlyFromTheExactWord) {
  struct Case {
    const char* value;
    int16_t flag;
  } cases[] = {{"True", -1}, {"True ", -1}, {"Truest", -1}, {"True;x", -1}, {"TRUE", 0},
               {"true", 0},  {"1", 0},      {"-1", 0},      {"Tru", 0},     {"False", 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(TextToBool(c.value), c.flag) << c.value;
    LoadDefault("Streaming", c.value);
    EXPECT_EQ(g_Streaming, c.flag) << c.value;
  }
  // The profile trims values, so a blank after the word is only seen by TextToBool itself;
  // with characters after the blank the file's value still starts with "True".
  LoadDefault("Streaming", "True x");
  EXPECT_EQ(g_Streaming, -1);
  EXPECT_EQ(BoolToText(-1), "True");
  EXPECT_EQ(BoolToText(0), "False");
  EXPECT_EQ(BoolToText(1), "False");
}

TEST_F(Settings, Colours) {
  struct Case {
    const char* value;
    int32_t colour;
  } cases[] = {{"FF0000", 255},
               {"00FF80", 65280 + 128 * 65536},
               {"0000ff", 255 * 65536},
               {"zz", 0},
               {"F", 15},
               {"12G456", 0x12 + 0x56 * 65536},
               {"FFFFFFFFF", 0xFFFFFF},
               {"00 1FF", 255 * 65536}};  // a blank ends a pair's digits
  for (const Case& c : cases) {
    LoadDefault("SelectColor", c.value);
    EXPECT_EQ(g_SelectColor, c.colour) << c.value;
  }
}

TEST_F(Settings, DefaultExtension) {
  struct Case {
    const char* value;
    const char* ext;
  } cases[] = {{"tpl", "tpl"}, {"ABCDEFGHIJKL", "ABCDEFGHI"}, {"ＮＸＬ", ""}, {"Ｎ1", "1"}, {"", ""}};
  for (const Case& c : cases) {
    LoadDefault("DefExt", c.value);
    EXPECT_EQ(g_DefExt, c.ext) << c.value;
  }
}

TEST_F(Settings, RecentValues) {
  const std::string longPath = "/" + std::string(253, 'a');  // 254 bytes: its "*" is cut off
  const std::string fitPath = "/" + std::string(252, 'b');   // 253 bytes + "*" still fits
  LoadFrom(
      "[Default]\r\nRecentNum=8\r\n[Recent]\r\n"
      "0=/c/one.nxl*\r\n0S=Nexal*\r\n0F=nexal6.dfn*\r\n"
      "1=*\r\n1S=*\r\n"
      "2=/c/two.nxl*junk\r\n2S=Dual*\r\n"  // as older versions wrote it: no script file
      "3=nostar\r\n3S=Nexal*\r\n"
      "4=" +
      longPath +
      "*\r\n4S=Nexal*\r\n"
      "5=" +
      fitPath +
      "*\r\n5S=Simple*\r\n"
      "6=\r\n6S=\r\n");
  // Lost entries leave no gap: an empty entry ends the list.
  std::vector<std::string> files(8), scripts(8), scriptFiles(8);
  files[0] = "/c/one.nxl", scripts[0] = "Nexal", scriptFiles[0] = "nexal6.dfn";
  files[1] = "/c/two.nxl", scripts[1] = "Dual";
  files[2] = fitPath, scripts[2] = "Simple";
  EXPECT_EQ(g_RecentFiles, files);
  EXPECT_EQ(g_RecentScripts, scripts);
  EXPECT_EQ(g_RecentScriptFiles, scriptFiles);
}

TEST_F(Settings, RecentSaveWritesPathsAndKeepsHigherKeys) {
  dir.Write("Mirkan.ini", "[Default]\r\nRecentNum=3\r\n[Recent]\r\n7=/old.nxl*\r\n");
  FakeFrame f = Load();
  g_RecentFiles = {"/c/a b.nxl", "", ""};
  g_RecentScripts = {"Nexal", "Dual", ""};
  g_RecentScriptFiles = {"nexal.dfn", "dual.dfn", ""};
  SaveSettings(f);
  EXPECT_EQ(Raw("0"), "/c/a b.nxl*");
  EXPECT_EQ(Raw("0S"), "Nexal*");  // the title stays for older versions, the file beside it
  EXPECT_EQ(Raw("0F"), "nexal.dfn*");
  EXPECT_EQ(Raw("1"), "");
  EXPECT_EQ(Raw("1S"), "");  // no file: the script goes too
  EXPECT_EQ(Raw("1F"), "");
  EXPECT_EQ(Raw("2"), "");
  EXPECT_EQ(Raw("7"), "/old.nxl*");
  EXPECT_EQ(Raw("RecentNum"), "3");  // [Default] is left as it was
}

TEST_F(Settings, WindowPlacement) {
  FakeFrame f = LoadFrom("[Window]\r\nTop=0.1\r\nLeft=0.10\r\nWidth=12000\r\nHeight=-5\r\nState=2\r\n");
  EXPECT_EQ(f.applied.count(Placement::Top), 0u);
  EXPECT_EQ(f.applied.count(Placement::Left), 0u);
  EXPECT_EQ(f.applied.at(Placement::Width), 12000);
  EXPECT_EQ(f.applied.count(Placement::Height), 0u);  // no window has a negative size
  EXPECT_EQ(f.appliedState, 2);

  f = LoadFrom("[Window]\r\nTop=-120\r\nLeft=1e99\r\nState=1.5\r\n");
  EXPECT_EQ(f.applied.at(Placement::Top), -120);
  EXPECT_EQ(f.applied.count(Placement::Left), 0u);
  EXPECT_EQ(f.appliedState, 2);

  for (const char* state : {"0.1", "3", "-1", "x9"}) {
    f = LoadFrom(std::string("[Window]\r\nState=") + state + "\r\n");
    EXPECT_EQ(f.appliedState, state[0] == 'x' ? std::optional<int16_t>(0) : std::nullopt) << state;
  }
}

TEST_F(Settings, SaveByWindowState) {
  struct Case {
    int16_t state;
    const char *top, *left, *width, *height, *saved;
  } cases[] = {{0, " 300", " 450", " 9000", " 7500", " 0"},
               {1, " 0", " 0", " 10200", " 8460", " 0"},
               {2, " 0", " 0", " 10200", " 8460", " 2"}};
  for (const Case& c : cases) {
    FakeFrame f;
    f.state = c.state;
    SaveSettings(f);
    EXPECT_EQ(Raw("Top"), c.top) << c.state;
    EXPECT_EQ(Raw("Left"), c.left) << c.state;
    EXPECT_EQ(Raw("Width"), c.width) << c.state;
    EXPECT_EQ(Raw("Height"), c.height) << c.state;
    EXPECT_EQ(Raw("State"), c.saved) << c.state;
  }
}

TEST_F(Settings, VisibilityAndEtcSwitchesRoundTrip) {
  FakeFrame f = LoadFrom(
      "[Visibility]\r\nEditToolbar=False\r\nstatusbar=true\r\n"
      "[Etc]\r\nAutoFocus=False\r\nFirstOpen=False\r\nPlayObj=True\r\n");
  EXPECT_TRUE(f.bars.at(Bar::FormToolbar));
  EXPECT_FALSE(f.bars.at(Bar::EditToolbar));
  EXPECT_TRUE(f.bars.at(Bar::DefFrame));
  EXPECT_FALSE(f.bars.at(Bar::Statusbar));  // key matched without case, value "true" is false
  EXPECT_EQ(f.autoFocus, false);
  EXPECT_EQ(g_FirstOpen, 0);
  EXPECT_EQ(g_PlayObj, -1);
  EXPECT_EQ(f.playObj, true);

  f.bars[Bar::FormToolbar] = false;
  f.bars[Bar::Statusbar] = true;
  f.autoFocus = true;
  g_PlayObj = 0;
  SaveSettings(f);
  EXPECT_EQ(Raw("FormToolbar"), "False");
  EXPECT_EQ(Raw("EditToolbar"), "False");
  EXPECT_EQ(Raw("Statusbar"), "True");  // replaced in place
  EXPECT_EQ(Raw("statusbar"), std::nullopt);
  EXPECT_EQ(Raw("AutoFocus"), "True");
  EXPECT_EQ(Raw("FirstOpen"), "False");
  EXPECT_EQ(Raw("PlayObj"), "False");
}

// Values the program cannot work with take their defaults instead of dividing by zero,
// indexing outside a list or wrapping a 16-bit field.
TEST_F(Settings, UnusableValuesTakeTheirDefaults) {
  struct Case {
    const char* ini;
    const void* global;
    bool wide;
    int32_t expected;
  } cases[] = {
      {"MaxWindows=0", &g_MaxWindows, false, 30},
      {"MaxWindows=-3", &g_MaxWindows, false, 30},
      {"MaxWindows=40000", &g_MaxWindows, false, 30},
      {"MaxWindows=5000", &g_MaxWindows, false, 1000},  // capped: each slot holds a record
      {"ScrollSpeed=0", &g_ScrollSpeed, true, 4},
      {"ScrollSpeed=-2", &g_ScrollSpeed, true, 4},
      {"ScrollSpeed=383", &g_ScrollSpeed, true, 383},
      {"ScrollSpeed=384", &g_ScrollSpeed, true, 4},  // page step 192 / 384 would round to 0
      {"ScrollSpeed=5e9", &g_ScrollSpeed, true, 4},
      {"ScrollSpeedX=0", &g_ScrollSpeedX, false, 80},
      {"ScrollSpeedY=-1", &g_ScrollSpeedY, false, 80},
      {"ScrollSpeedY=1", &g_ScrollSpeedY, false, 1},
      {"DefGrid=-1", &g_DefGrid, false, 3},
      {"DefMag=0", &g_DefMag, false, 0},  // index -1 selects no zoom
      {"DefMag=x", &g_DefMag, false, 0},
      {"DefMag=40000", &g_DefMag, false, 0},
      {"DefGrid=1e9", &g_DefGrid, false, 3},
      {"RecentNum=99999", &g_RecentNum, false, 4},
      {"ScrollSkip=32768", &g_ScrollSkip, false, 6},
      {"MesLargeChange=-32769", &g_MesLargeChange, false, 8},
      {"MaxMeasure=-1", &g_MaxMeasure, false, 499},
      {"MaxMeasure=1e6", &g_MaxMeasure, false, 499},
      // The scroll range is 32-bit: any measure limit fits at any speed.
      {"ScrollSpeed=1\r\nMaxMeasure=499", &g_MaxMeasure, false, 499},
      {"ScrollSpeed=5\r\nMaxMeasure=30000", &g_MaxMeasure, false, 30000},
      {"ScrollSpeed=4\r\nMaxMeasure=682", &g_MaxMeasure, false, 682},
      {"ScrollSpeed=4\r\nMaxMeasure=683", &g_MaxMeasure, false, 683},
      {"ScrollSpeed=383\r\nMaxMeasure=32767", &g_MaxMeasure, false, 32767},
      // A new window needs measures it may have.
      {"DefMeasure=-2", &g_DefMeasure, false, 10},
      {"MaxMeasure=5", &g_DefMeasure, false, 5},
      {"DefMeasure=700", &g_DefMeasure, false, 499},
  };
  for (const Case& c : cases) {
    LoadFrom(std::string("[Default]\r\n") + c.ini + "\r\n");
    const int32_t got = c.wide ? *static_cast<const int32_t*>(c.global) : *static_cast<const int16_t*>(c.global);
    EXPECT_EQ(got, c.expected) << c.ini;
  }
}

TEST_F(Settings, WindowTableFollowsMaxWindowsAndKeepsContents) {
  SizeWindowTable(2);
  g_Docs[1].Title = "open chart";
  LoadDefault("MaxWindows", "4");
  EXPECT_EQ(g_Docs.size(), 5u);
  EXPECT_EQ(g_SlotUsed.size(), 4u);
  EXPECT_EQ(g_Docs[1].Title, "open chart");
}

TEST_F(Settings, SettingsPathIsInTheInstallFolder) { EXPECT_EQ(SettingsPath(), dir.path() + "/Mirkan.ini"); }

}  // namespace
}  // namespace mk
