// Hostile files through the program's own paths: definition scripts in the install folder, chart
// files, the settings file, wallpaper pictures and sound previews. Each one gets a clear message
// (or is refused quietly), the program keeps running where it can, every open chart stays as it
// was and no user file is written over.
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QImage>
#include <QLineEdit>
#include <QScrollBar>
#include <cstdint>
#include <filesystem>
#include <functional>

#include "chartfmt/globals.h"
#include "chartfmt/scriptreg.h"
#include "chartview/form1.h"
#include "chartview/form1_calc.h"
#include "chartview/formglobals.h"
#include "frame/settings.h"
#include "frame_fixture.h"
#include "platform/core/ansitext.h"

using namespace mk;
using testsupport::CallKind;
using testsupport::FrameTest;

namespace {

namespace fs = std::filesystem;

const std::string kError = "エラー";

std::string Garbage(size_t n, uint32_t seed) {
  std::string s(n, '\0');
  for (char& c : s) {
    seed = seed * 1664525u + 1013904223u;
    c = static_cast<char>(seed >> 24);
  }
  return s;
}

void PutU16(std::string& s, uint16_t v) {
  s.push_back(static_cast<char>(v));
  s.push_back(static_cast<char>(v >> 8));
}
void PutU32(std::string& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>(v >> (8 * i)));
}

// A script of our own for the extension HST: two lanes, the given lines before the lane block.
std::string HostScript(const std::string& extra = "", const std::string& lanes = "") {
  return "#DFN\r\nHostile\r\n#EXT HST\r\n" + extra + "#LANE\r\nOne,1,K1,__,202020,FFFFFF,808080,1\r\n" +
         "Two,2,K2,__,202020,FFFFFF,808080,1\r\n" + lanes + "#EOL\r\n";
}

class HostileTest : public FrameTest {
 protected:
  // The frame with one modified chart open; ExpectKept checks that it is still there as it was.
  void StartWithKeptChart() {
    ASSERT_TRUE(Start({Sample("simple_sample.s4k")}));
    ASSERT_EQ(g_OpenCount, 1);
    g_Docs[1].Title = "kept";
    Frame().SetDirty();
    kept_ = WinAt(1);
    keptScript_ = g_Docs[1].ScriptNo;
  }
  void ExpectKept(const std::string& how) {
    Pump();
    EXPECT_FALSE(Frame().Ended()) << how;
    EXPECT_FALSE(quit_) << how;
    ASSERT_EQ(WinAt(1), kept_) << how;
    EXPECT_EQ(g_Docs[1].Title, "kept") << how;
    EXPECT_EQ(g_Docs[1].Dirty, -1) << how;
    EXPECT_EQ(g_Docs[1].ScriptNo, keptScript_) << how;
    EXPECT_EQ(g_Docs[1].FileName, "simple_sample.s4k") << how;
    EXPECT_FALSE(desk_.WaitCursorOn()) << how;
    desk_.Verify();
  }
  // Opens path as a drop on the frame; a refused file must be reported with its name.
  int16_t OpenReported(const std::string& path, const std::string& also = "") {
    desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.textContains = also.empty() ? path : also,
                                                 .title = kError,
                                                 .icon = plat::MsgIcon::Critical});
    const int16_t r = Frame().QueryScriptOpen(path, -1);
    Pump();
    return r;
  }
  // Draws the current window scrolled to each far end.
  static void DrawAtBothEnds() {
    Form1* w = WinAt(g_CurWin);
    ASSERT_NE(w, nullptr);
    for (QScrollBar* bar : {w->HScroll1(), w->VScroll1()}) {
      bar->setValue(bar->maximum());
      w->ObjDraw();
      bar->setValue(bar->minimum());
      w->ObjDraw();
    }
  }
  // Closes every window opened after the kept one, unchanged.
  void CloseOthers() {
    for (size_t i = 2; i < g_Wins.size(); ++i)
      if (Form1* w = WinAt(static_cast<int>(i))) {
        g_Docs[i].Dirty = 0;
        w->close();
      }
    Pump();
  }

  Form1* kept_ = nullptr;
  int16_t keptScript_ = 0;
};

// ---- Definition scripts in the install folder ------------------------------------------------

enum class ScriptOutcome {
  FatalAtStart,  // the registry refuses it: "エラー" naming the file, and the program ends
  FailsOnOpen,   // registered; reading it for a window fails with "エラー" naming the file
  Opens          // a chart of its extension opens
};

struct ScriptCase {
  const char* name;
  std::function<std::string()> text;
  ScriptOutcome outcome;
  const char* message;  // a part of the message, besides the file name
};

class HostileScriptTest : public HostileTest {
 protected:
  // Puts script c into the install folder as hostile.dfn, starts and opens a chart of its extension.
  void Check(const ScriptCase& c) {
    const std::string chart = Install() + "chart.hst";
    SCOPED_TRACE(c.name);
    dir_.Write("chart.hst", "#TITLE t\r\n#001K1:01\r\n");
    const std::string script = c.text();
    dir_.Write("hostile.dfn", script);
    if (c.outcome == ScriptOutcome::FatalAtStart) {
      desk_.ExpectMessageBox(plat::MsgAnswer::Ok,
                             {.textContains = "hostile.dfn", .title = kError, .icon = plat::MsgIcon::Critical});
      EXPECT_FALSE(Start());
      EXPECT_TRUE(Frame().Ended());
      EXPECT_TRUE(quit_);
      EXPECT_NE(desk_.Calls().at(0).text.find(c.message), std::string::npos) << desk_.Calls().at(0).text;
    } else {
      StartWithKeptChart();
      if (c.outcome == ScriptOutcome::FailsOnOpen) {
        EXPECT_EQ(OpenReported(chart, "hostile.dfn"), 0);
        EXPECT_NE(desk_.Calls().back().text.find(c.message), std::string::npos) << desk_.Calls().back().text;
        EXPECT_EQ(g_OpenCount, 1);
      } else {
        EXPECT_EQ(Frame().QueryScriptOpen(chart, -1), 1);
        EXPECT_EQ(g_OpenCount, 2);
        EXPECT_EQ(desk_.CountOf(CallKind::MessageBox), 0u);
        DrawAtBothEnds();
        CloseOthers();
      }
      ExpectKept(c.name);
    }
    EXPECT_EQ(dir_.Read("hostile.dfn"), script);
    EXPECT_EQ(dir_.Read("chart.hst"), "#TITLE t\r\n#001K1:01\r\n");
  }
};

TEST_F(HostileScriptTest, HostileScriptsAreReportedWithTheirNameAndNeverTakeAChartWithThem) {
  std::string lanes998;  // with the two of HostScript: 1000, the most a script may have
  for (int i = 0; i < 998; ++i) {
    const std::string n = std::to_string(i);
    const std::string ch = "C" + std::to_string(1000 + i);  // no channel begins another
    lanes998 += "L" + n + ",L" + n + "," + ch + ",__,202020,FFFFFF,808080,1\r\n";
  }
  const ScriptCase cases[] = {
      {"empty file", [] { return std::string(); }, ScriptOutcome::FatalAtStart, "不正なスクリプトファイル"},
      {"binary garbage", [] { return Garbage(4096, 7); }, ScriptOutcome::FatalAtStart, ""},
      {"NUL bytes", [] { return std::string("#DFN\0\r\nHostile\r\n", 16); }, ScriptOutcome::FatalAtStart, ""},
      {"no #DFN", [] { return std::string("Hostile\r\n#EXT HST\r\n"); }, ScriptOutcome::FatalAtStart,
       "不正なスクリプトファイル"},
      // Bytes CP932 cannot decode are kept as they are, as in charts.
      {"CP932-invalid bytes",
       [] { return "#DFN\r\nHost\xFF\x81 ile\r\n#EXT HST\r\n#LANE\r\nO\xFD\x80,1,K1,__,0,0,0,1\r\n#EOL\r\n"; },
       ScriptOutcome::Opens, ""},
      {"lane block never closed",
       [] { return std::string("#DFN\r\nHostile\r\n#EXT HST\r\n#LANE\r\nOne,1,K1,__,202020,FFFFFF,808080,1\r\n"); },
       ScriptOutcome::Opens, ""},
      {"1000 lanes", [&] { return HostScript("", lanes998); }, ScriptOutcome::Opens, ""},
      {"1001 lanes", [&] { return HostScript("", lanes998 + "Last,Z,CZ,__,0,0,0,1\r\n"); }, ScriptOutcome::FailsOnOpen,
       "多すぎます"},
      {"huge measure digits", [] { return HostScript("#ML 99999999999999999999\r\n"); }, ScriptOutcome::FailsOnOpen,
       ""},
      {"huge numbering mode", [] { return HostScript("#WNUM 1e308\r\n"); }, ScriptOutcome::FailsOnOpen, ""},
      {"negative level", [] { return HostScript("#LV -2147483649,1,1\r\n"); }, ScriptOutcome::FailsOnOpen, ""},
      {"values at their extremes",
       [] {
         return HostScript(
             "#ML 1\r\n#WNUM 32767\r\n#BNUM -32768\r\n#LV 32767,-32768,0\r\n#SCRL 0\r\n#BRIGHT -32768\r\n"
             "#BLTYPE 32767\r\n#TMPC T\r\n#MESC L\r\n#HSYMBOL \x82\xa0\r\n#SSYMBOL ::\r\n");
       },
       ScriptOutcome::Opens, ""},
      {"lanes with extreme fields",
       [] {
         return HostScript("#GT G,1,GA,GB\r\n",
                           "Bga,3,K3,__,0,0,0,88\r\nStack,4,K4,__,0,0,0,99\r\n"
                           "Big,5,K5,__,ZZZZZZ,-1,1e308,32767,N,M\r\n");
       },
       ScriptOutcome::Opens, ""},
      {"a group past the lanes", [] { return HostScript("#GT G,32767,GA,GB\r\n"); }, ScriptOutcome::FailsOnOpen,
       "存在しないレーン"},
  };
  for (const ScriptCase& c : cases) {
    Check(c);
    Fresh();
  }
}

TEST_F(HostileScriptTest, AScriptWithAFiftyMegabyteLineOpensItsCharts) {
  Check({"a 50 MB line", [] { return HostScript("#HEAD ;" + std::string(50u << 20, 'h') + "\r\n"); },
         ScriptOutcome::Opens, ""});
}

// ---- Chart files ---------------------------------------------------------------------------

enum class ChartOutcome { Refused, Opens };

struct ChartCase {
  const char* name;
  const char* file;
  std::function<std::string()> text;
  ChartOutcome outcome;
  const char* message;  // a part of the message
  int32_t mesCount;     // measure count of an opened chart; -1: not checked
};

TEST_F(HostileTest, HostileChartsAreRefusedWithAClearMessageAndTheOpenChartStays) {
  const ChartCase cases[] = {
      {"empty", "empty.nxl", [] { return std::string(); }, ChartOutcome::Opens, "", -1},
      {"binary garbage", "garbage.nxl", [] { return Garbage(1 << 16, 3); }, ChartOutcome::Opens, "", -1},
      {"NUL bytes", "nul.nxl", [] { return std::string("#TITLE a\0b\r\n#001K1:0\0\r\n", 23); }, ChartOutcome::Opens, "",
       -1},
      {"a 4 MB channel line", "longch.nxl", [] { return "#001K1:" + std::string(4u << 20, '1') + "\r\n"; },
       ChartOutcome::Opens, "", -1},
      {"more stacked lines than lanes", "stack.nxl",
       [] {
         std::string s;
         for (int i = 0; i < 1000; ++i) s += "#001BG:01\r\n";
         return s;
       },
       ChartOutcome::Refused, "5行目: チャンネル「BG」の行が多すぎます", -1},
      {"a long chart with few objects", "wide.wid", [] { return std::string("#13106K1:01\r\n#32767X102:01\r\n"); },
       ChartOutcome::Opens, "", 32767},
      {"measure past 16 bits", "widest.wid", [] { return std::string("#99999K1:01\r\n"); }, ChartOutcome::Refused, "",
       -1},
      {"measure at the program's limit", "m499.nxl", [] { return std::string("#499K1:01\r\n"); }, ChartOutcome::Opens,
       "", 499},
      {"measure at the script's width", "m999.nxl", [] { return std::string("#999K1:01\r\n"); }, ChartOutcome::Opens,
       "", 999},
      {"measure wider than the script's digits", "m1000.nxl", [] { return std::string("#1000K1:01\r\n"); },
       ChartOutcome::Opens, "", -1},
      {"WAV at the last number", "wzz.nxl", [] { return std::string("#WAVZZ last.wav\r\n"); }, ChartOutcome::Opens, "",
       -1},
      {"WAV number 00 (the unlisted slot 0)", "w00.nxl", [] { return std::string("#WAV00 zero.wav\r\n"); },
       ChartOutcome::Opens, "", -1},
      {"WAV code with a foreign character (counts 0)", "wq.nxl", [] { return std::string("#WAV0! x.wav\r\n"); },
       ChartOutcome::Opens, "", -1},
      {"WAV code of three characters (free text)", "w3.nxl", [] { return std::string("#WAV100 x.wav\r\n"); },
       ChartOutcome::Opens, "", -1},
      {"BGA at the last number", "bzz.nxl", [] { return std::string("#BMPFF last.bmp\r\n"); }, ChartOutcome::Opens, "",
       -1},
      {"BGA code outside base 16 (reads as slot 0)", "bg0.nxl", [] { return std::string("#BMPG0 past.bmp\r\n"); },
       ChartOutcome::Opens, "", -1},
      {"WAV at the last base-36 number of mode 2", "wfz.scd", [] { return std::string("#SNDFZ last.wav\r\n"); },
       ChartOutcome::Opens, "", -1},
      {"WAV past the last number of mode 2", "wg0.scd", [] { return std::string("#SNDG0 past.wav\r\n"); },
       ChartOutcome::Refused, "範囲外", -1},
      {"simple WAV at the last number", "wff.s4k", [] { return std::string("#WAVFF last.wav\r\n"); },
       ChartOutcome::Opens, "", -1},
      {"simple WAV code outside base 16 (reads as slot 0)", "wg0.s4k",
       [] { return std::string("#WAVG0 past.wav\r\n"); }, ChartOutcome::Opens, "", -1},
      {"only a channel", "only.nxl", [] { return std::string("#001K1:\r\n#001K1\r\n#001\r\n#\r\n:\r\n"); },
       ChartOutcome::Opens, "", -1},
      {"measure lengths of every size", "len.nxl",
       [] {
         return std::string("#001LN:0\r\n#002LN:-1\r\n#003LN:1e300\r\n#004LN:1e-300\r\n#005LN:nan\r\n#006LN:\r\n");
       },
       ChartOutcome::Opens, "", -1},
      {"tempos of every size", "bpm0.nxl",
       [] { return std::string("#BPM 0\r\n#BASEBPM -1\r\n#001TM:00FF\r\n#002TM:ZZ\r\n#003TM:\r\n"); },
       ChartOutcome::Opens, "", -1},
      {"a level past the script's range", "lv.nxl", [] { return std::string("#TITLE t\r\n#LIGHT 99999\r\n"); },
       ChartOutcome::Refused, "2行目: レベルの値が範囲外です", -1},
      {"a negative level", "lvneg.nxl", [] { return std::string("#EXPERT -1\r\n"); }, ChartOutcome::Opens, "", -1},
      {"double-byte characters in codes and data", "dbcs.nxl",
       [] {
         return std::string(
             "#WAV\x82\xa0\x82\xa2 a.wav\r\n#001K1:\x82\xa0\x82\xa2\r\n#001K2:0\x82\xa0"
             "1\r\n#001K3:\x82\r\n");
       },
       ChartOutcome::Opens, "", -1},
      {"odd channel data and group lines", "odd.nxl",
       [] { return std::string("#001K1:012\r\n#001PDW:0\r\n#001PD9:01\r\n#001PD:01\r\n#001QD1:0101\r\n"); },
       ChartOutcome::Opens, "", -1},
      {"a number too large", "bpm.nxl", [] { return "#BPM 1" + std::string(400, '0') + "\r\n"; }, ChartOutcome::Refused,
       "大きすぎます", -1},
  };
  // Five measure digits: measures up to the largest count, on lanes 0 to 19.
  std::string wide = "#DFN\r\nWide\r\n#EXT WID\r\n#ML 5\r\n#LANE\r\n";
  for (int i = 1; i <= 19; ++i)
    wide += "L" + std::to_string(i) + ",L," + (i == 1 ? std::string("K1") : "X" + std::to_string(100 + i)) +
            ",__,0,0,0,1\r\n";
  dir_.Write("wide.dfn", wide + "#EOL\r\n");
  StartWithKeptChart();
  for (const ChartCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string bytes = c.text();
    const std::string path = dir_.Write(c.file, bytes);
    if (c.outcome == ChartOutcome::Refused) {
      EXPECT_EQ(OpenReported(path), 0);
      if (!desk_.Calls().empty()) {
        EXPECT_NE(desk_.Calls().back().text.find(c.message), std::string::npos) << desk_.Calls().back().text;
      }
      EXPECT_EQ(g_OpenCount, 1);
    } else {
      EXPECT_EQ(Frame().QueryScriptOpen(path, -1), 1);
      Pump();
      EXPECT_EQ(desk_.CountOf(CallKind::MessageBox), 0u);
      EXPECT_EQ(g_OpenCount, 2);
      if (c.mesCount >= 0) {
        EXPECT_EQ(g_Docs[g_CurWin].MesCount, c.mesCount);
        // The scroll range covers every measure read, also past the editor's limit.
        EXPECT_EQ(WinAt(g_CurWin)->VScroll1()->maximum(), VScrollMaxFor(c.mesCount));
      }
      DrawAtBothEnds();
      CloseOthers();
    }
    EXPECT_EQ(testsupport::ReadAll(path) == bytes, true);  // never written over
    fs::remove(path);
    ExpectKept(c.name);
    desk_.ClearCalls();
  }
}

TEST_F(HostileTest, AChartOfOneHundredMegabyteLineOpensAndIsNotWrittenOver) {
  StartWithKeptChart();
  const std::string bytes = "#TITLE " + std::string(100u << 20, 'T') + "\r\n#001K1:01\r\n";
  const std::string path = dir_.Write("long.nxl", bytes);
  EXPECT_EQ(Frame().QueryScriptOpen(path, -1), 1);
  Pump();
  EXPECT_EQ(desk_.CountOf(CallKind::MessageBox), 0u);
  EXPECT_EQ(g_Docs[g_CurWin].Title.size(), 100u << 20);
  EXPECT_TRUE(Frame().Field(HeaderText::Text1)->isReadOnly());  // shown by its start, and kept whole
  CloseOthers();
  EXPECT_TRUE(testsupport::ReadAll(path) == bytes);
  ExpectKept("100 MB");
}

TEST_F(HostileTest, ChartPathsThatAreNoReadableChartFile) {
  StartWithKeptChart();
  // No script knows the extension: refused quietly.
  const std::string unknown = dir_.Write("chart.qqq", "#001K1:01\r\n");
  EXPECT_EQ(Frame().QueryScriptOpen(unknown, -1), -1);
  EXPECT_EQ(desk_.CountOf(CallKind::MessageBox), 0u);
  ExpectKept("unknown extension");

  // A folder named like a chart.
  fs::create_directory(Install() + "folder.nxl");
  EXPECT_EQ(OpenReported(Install() + "folder.nxl"), 0);
  ExpectKept("folder");
  g_Docs[1].Dirty = 0;  // the one unchanged window: a recent entry would reuse it
  g_RecentFiles[0] = Install() + "folder.nxl";
  g_RecentScripts[0] = ScriptTitle(g_DefaultScript);
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.textContains = g_RecentFiles[0], .title = kError});
  Frame().Menu_File_Recent_Click(1);
  g_Docs[1].Dirty = -1;
  ExpectKept("folder as a recent entry");

  // A chart the user may not read.
  const std::string locked = dir_.Write("locked.nxl", "#001K1:01\r\n");
  ASSERT_EQ(chmod(locked.c_str(), 0), 0);
  ASSERT_EQ(chmod(dir_.path().c_str(), 0755), 0);
  const uid_t euid = geteuid();
  if (euid == 0) {
    ASSERT_EQ(seteuid(65534), 0);  // the super-user reads anything
  }
  const int16_t r = OpenReported(locked);
  if (euid == 0) {
    ASSERT_EQ(seteuid(0), 0);
  }
  EXPECT_EQ(r, 0);
  ExpectKept("unreadable");
  chmod(locked.c_str(), 0644);
  EXPECT_EQ(testsupport::ReadAll(locked), "#001K1:01\r\n");
}

// ---- The settings file -----------------------------------------------------------------------

struct IniCase {
  const char* name;
  std::function<std::string()> text;
  int16_t maxWindows;  // what the settings leave
  int16_t defMeasure;
};

class HostileIniTest : public HostileTest {
 protected:
  // Starts on the settings file of case c, opens a chart and ends the program.
  void Check(const IniCase& c) {
    SCOPED_TRACE(c.name);
    dir_.Write("Mirkan.ini", c.text());
    ASSERT_TRUE(Start());
    EXPECT_EQ(desk_.CountOf(CallKind::MessageBox), 0u);
    EXPECT_EQ(g_MaxWindows, c.maxWindows);
    EXPECT_EQ(g_DefMeasure, c.defMeasure);
    EXPECT_GE(g_MaxMeasure, g_DefMeasure);
    EXPECT_GE(g_ScrollSpeed, 1);
    EXPECT_LE(g_ScrollSpeed, kMaxScrollSpeed);
    EXPECT_GE(g_RecentNum, 0);
    EXPECT_LE(g_RecentNum, 15);
    EXPECT_TRUE(g_Wheel == 1 || g_Wheel == 2 || g_Wheel == 8) << g_Wheel;
    EXPECT_EQ(Frame().QueryScriptOpen(Sample("nexal_sample.nxl"), -1), 1);
    Pump();
    EXPECT_EQ(g_OpenCount, 2);
    g_Docs[1].Dirty = g_Docs[2].Dirty = 0;
    EXPECT_TRUE(Frame().close());
    EXPECT_TRUE(quit_);
    // What the file held is still there, line by line, beside the settings written at exit
    // (compared as text: a character with two codes is written with the usual one).
    const std::string before = plat::DecodeAnsi(c.text()), after = plat::DecodeAnsi(dir_.Read("Mirkan.ini"));
    size_t at = 0;
    for (size_t i = 0, j; i < before.size(); i = j + 1) {
      j = before.find_first_of("\r\n", i);
      if (j == std::string::npos) j = before.size();
      if (j == i || before.compare(i, 6, "Wheel=") == 0 || before.compare(i, 2, "0=") == 0)
        continue;  // the wheel and the recent files are written back at exit
      at = after.find(before.substr(i, j - i), at);
      ASSERT_NE(at, std::string::npos) << "line at byte " << i << " lost";
    }
  }
};

TEST_F(HostileIniTest, AHostileSettingsFileLeavesUsableSettingsAndTheFrameStarts) {
  const IniCase cases[] = {
      {"garbage", [] { return Garbage(8192, 11); }, 30, 10},
      {"NUL bytes",
       [] {
         return std::string(
             "[Default]\r\nMaxWindows=\0"
             "5\r\nDefMeasure=20\r\n",
             40);
       },
       30, 20},
      {"huge values",
       [] {
         return std::string(
                    "[Default]\r\nMaxWindows=99999999999999999999\r\nDefMeasure=1e308\r\nMaxMeasure=-70000\r\n") +
                "ScrollSpeed=2147483648\r\nRecentNum=99999\r\nGrid=999\r\nMag=-1\r\n[Etc]\r\nWheel=65537\r\n";
       },
       30, 10},
      {"a section repeated",
       [] { return std::string("[Default]\r\nMaxWindows=2\r\n[Default]\r\nMaxWindows=3\r\nDefMeasure=20\r\n"); }, 2,
       10},
      {"CR only", [] { return std::string("[Default]\rMaxWindows=2\rDefMeasure=20\r"); }, 2, 20},
  };
  for (const IniCase& c : cases) {
    Check(c);
    Fresh();
  }
}

TEST_F(HostileIniTest, ATenMegabyteLineInTheSettingsFileIsReadWithoutHarm) {
  Check({"a 10 MB line",
         [] { return "[Recent]\r\n0=" + std::string(10u << 20, 'r') + "\r\n[Default]\r\nDefMeasure=20\r\n"; }, 30, 20});
}

// ---- Wallpaper pictures ----------------------------------------------------------------------

std::string Encoded(const char* format, int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(Qt::green);
  QByteArray bytes;
  QBuffer buf(&bytes);
  buf.open(QIODevice::WriteOnly);
  img.save(&buf, format);
  return bytes.toStdString();
}

struct PictureCase {
  const char* name;
  const char* file;
  std::function<std::string()> bytes;
  bool shown;  // false: "画像ファイルを読み込めません" and no wallpaper
};

TEST_F(HostileTest, HostilePicturesLeaveTheWindowWithoutAWallpaperAndSaySo) {
  const auto hugeBmp = [](int32_t w, int32_t h, uint16_t bits) {
    std::string s = Encoded("BMP", 4, 4);
    for (int i = 0; i < 4; ++i) {
      s[18 + i] = static_cast<char>(static_cast<uint32_t>(w) >> (8 * i));
      s[22 + i] = static_cast<char>(static_cast<uint32_t>(h) >> (8 * i));
    }
    s[28] = static_cast<char>(bits);
    s[29] = static_cast<char>(bits >> 8);
    return s;
  };
  const PictureCase cases[] = {
      // A picture cut after its header is no picture: its missing rows would show whatever
      // memory held.
      {"truncated BMP", "cut.bmp",
       [] {
         const std::string s = Encoded("BMP", 64, 64);
         return s.substr(0, s.size() / 2);
       },
       false},
      {"whole BMP", "whole.bmp", [] { return Encoded("BMP", 64, 64); }, true},
      {"BMP header only", "head.bmp", [] { return Encoded("BMP", 64, 64).substr(0, 54); }, false},
      {"truncated JPEG", "cut.jpg",
       [] {
         const std::string s = Encoded("JPEG", 64, 64);
         return s.substr(0, s.size() / 3);
       },
       false},
      {"JPEG header only", "head.jpg", [] { return Encoded("JPEG", 64, 64).substr(0, 20); }, false},
      {"BMP claiming 2^31 - 1 square pixels", "huge.bmp", [&] { return hugeBmp(INT32_MAX, INT32_MAX, 32); }, false},
      {"BMP claiming 60000 square pixels", "big.bmp", [&] { return hugeBmp(60000, 60000, 24); }, false},
      {"BMP claiming 8000 square pixels", "8k.bmp", [&] { return hugeBmp(8000, 8000, 24); }, false},
      {"BMP claiming a negative width", "neg.bmp", [&] { return hugeBmp(-64, 64, 24); }, false},
  };
  StartWithKeptChart();
  Form1* w = WinAt(1);
  for (const PictureCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string bytes = c.bytes();
    const std::string path = dir_.Write(c.file, bytes);
    desk_.ExpectOpenFile(testsupport::Chosen(path));
    if (!c.shown)
      desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.text = path + "\r\n画像ファイルを読み込めません",
                                                   .title = kError,
                                                   .icon = plat::MsgIcon::Critical});
    w->Toolbar1_ButtonClick("TB_Wall");
    EXPECT_EQ(w->Doc().CanvasWallOn, c.shown ? -1 : 0);
    EXPECT_EQ(w->Wallpaper().Width() > 0, c.shown);
    EXPECT_EQ(testsupport::ReadAll(path), bytes);
    w->Toolbar1_ButtonMenuClick("TB_W3");  // stretched over the canvas
    w->Toolbar1_ButtonMenuClick("TB_W1");
    ExpectKept(c.name);
    desk_.ClearCalls();
  }
}

// ---- Sound previews through the playback library ---------------------------------------------

#ifdef MIRKAN_HAVE_ZQ_TONE2
std::string Wav(uint32_t riffSize, uint32_t fmtSize, uint32_t dataSize, size_t dataBytes) {
  std::string s = "RIFF";
  PutU32(s, riffSize);
  s += "WAVEfmt ";
  PutU32(s, fmtSize);
  PutU16(s, 1);
  PutU16(s, 1);
  PutU32(s, 22050);
  PutU32(s, 22050);
  PutU16(s, 1);
  PutU16(s, 8);
  s += "data";
  PutU32(s, dataSize);
  s.append(dataBytes, static_cast<char>(0x80));
  return s;
}

std::string Zq(uint32_t cbData, uint32_t samples, uint16_t rate, uint8_t bits, uint8_t channels, size_t dataBytes) {
  std::string s;
  PutU32(s, 0x3153515Au);
  PutU32(s, cbData);
  PutU32(s, samples);
  PutU16(s, rate);
  s.push_back(static_cast<char>(bits));
  s.push_back(static_cast<char>(channels));
  s.append(16, '\0');
  s.append(dataBytes, '\x11');
  return s;
}

struct SoundCase {
  const char* name;
  const char* file;
  std::function<std::string()> bytes;
  bool plays;  // false: "再生できない形式です"
};

class HostileSoundTest : public HostileTest {
 protected:
  void StartWithLibrary() {
    qputenv("SDL_AUDIODRIVER", "dummy");
    qputenv("MIRKAN_AUDIO_BACKEND", "null");
    mk::FrameOptions o;
    o.installDir = Install();
    o.args = {Sample("simple_sample.s4k")};
    o.soundLibrary = std::string(MIRKAN_BIN_DIR) + "/libzq_tone2.so";
    o.quit = [this] { quit_ = true; };
    frame_ = std::make_unique<mk::FormP>(o);
    ASSERT_TRUE(frame_->MDIForm_Load());
    Pump();
    ASSERT_TRUE(frame_->Sound().Available());
    g_Docs[1].Title = "kept";
    Frame().SetDirty();
    kept_ = WinAt(1);
    keptScript_ = g_Docs[1].ScriptNo;
  }
};

TEST_F(HostileSoundTest, HostileSoundsAreReportedAndNothingElseIsTouched) {
  const SoundCase cases[] = {
      {"sound WAV", "ok.wav", [] { return Wav(36 + 100, 16, 100, 100); }, true},
      {"fmt size past the file", "fmt.wav", [] { return Wav(36 + 100, 0xFFFFFFF0u, 100, 100); }, false},
      {"fmt size too small", "fmt2.wav", [] { return Wav(36 + 100, 2, 100, 100); }, false},
      {"data size past the file", "data.wav", [] { return Wav(0xFFFFFFFFu, 16, 0xFFFFFFFFu, 100); }, true},
      {"data size odd and past the file", "data2.wav", [] { return Wav(36 + 100, 16, 0x7FFFFFFFu, 3); }, true},
      {"no channels", "ch0.wav",
       [] {
         std::string w = Wav(36 + 100, 16, 100, 100);
         w[22] = 0;
         return w;
       },
       false},
      {"no block alignment", "align0.wav",
       [] {
         std::string w = Wav(36 + 100, 16, 100, 100);
         w[32] = 0;
         return w;
       },
       false},
      {"no bits", "bits0.wav",
       [] {
         std::string w = Wav(36 + 100, 16, 100, 100);
         w[34] = 0;
         return w;
       },
       false},
      {"zero rate", "rate0.wav",
       [] {
         std::string w = Wav(36 + 100, 16, 100, 100);
         w[24] = w[25] = 0;
         return w;
       },
       false},
      {"huge chunk before fmt", "chunk.wav",
       [] {
         std::string w = Wav(36 + 100, 16, 100, 100);
         std::string junk = "JUNK";
         PutU32(junk, 0xFFFFFFF8u);
         return w.insert(12, junk);
       },
       false},
      {"extensible fmt with a huge extra size", "ext.wav",
       [] {
         std::string w = Wav(36 + 100, 40, 100, 100);
         w[20] = static_cast<char>(0xFE);
         w[21] = static_cast<char>(0xFF);
         std::string extra;
         PutU16(extra, 0xFFFF);
         extra.append(22, '\0');
         return w.insert(36, extra);
       },
       false},
      // Long enough to be streamed: the stream runs into the end of the file.
      {"streamed data size past the file", "long.wav", [] { return Wav(0xFFFFFFFFu, 16, 0xFFFFFFF0u, 3u << 20); },
       true},
      {"streamed odd data size", "long2.wav", [] { return Wav(36 + (3u << 20), 16, (3u << 20) + 1, 3u << 20); }, true},
      {"RIFF only", "riff.wav", [] { return std::string("RIFF"); }, false},
      {"garbage .wav", "junk.wav", [] { return Garbage(4096, 5); }, false},
      {"sound ZQ", "ok.zq", [] { return Zq(17 * 4, 32 * 4, 22050, 4, 1, 17 * 4); }, true},
      {"ZQ data size past the file", "big.zq", [] { return Zq(0xFFFFFFFFu, 0xFFFFFFFFu, 22050, 4, 1, 17 * 4); }, true},
      {"ZQ sample count past the data", "samples.zq", [] { return Zq(17, 0xFFFFFFFFu, 22050, 4, 2, 17); }, true},
      {"streamed ZQ data size past the file", "long.zq",
       [] { return Zq(0xFFFFFFF0u, 0xFFFFFFF0u, 8000, 4, 2, 34u << 15); }, true},
      {"streamed ZQ with a part block", "part.zq",
       [] { return Zq((17u << 16) + 5, 32u << 16, 8000, 4, 1, (17u << 16) + 5); }, true},
      {"ZQ zero rate", "rate.zq", [] { return Zq(17, 32, 0, 4, 1, 17); }, false},
      {"ZQ bad bit count", "bits.zq", [] { return Zq(17, 32, 22050, 5, 1, 17); }, false},
      {"ZQ bad channel count", "ch.zq", [] { return Zq(17, 32, 22050, 4, 0, 17); }, false},
      {"ZQ header cut short", "cut.zq", [] { return Zq(17, 32, 22050, 4, 1, 0).substr(0, 20); }, false},
  };
  StartWithLibrary();
  for (const SoundCase& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string bytes = c.bytes();
    const std::string path = dir_.Write(c.file, bytes);
    for (int stream = 0; stream < 2; ++stream) {
      g_Streaming = stream ? -1 : 0;
      if (!c.plays) {
        desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.textContains = "再生できない形式です", .title = kError});
        // The library holds a sound without a buffer: its stop fails too, and says so.
        desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.text = "演奏停止時に zq_tone.dll でエラーが発生しました"});
      }
      Frame().PreviewPlay(path);
      for (int i = 0; i < 40; ++i) Frame().Sound().Stream();  // as the timer calls it while a sound plays
      Frame().PreviewStop();
      EXPECT_EQ(testsupport::ReadAll(path), bytes);
      ExpectKept(c.name);
      desk_.ClearCalls();
    }
  }
  // A missing file: nothing at all. A folder: reported.
  Frame().PreviewPlay(Install() + "missing.wav");
  EXPECT_EQ(desk_.CountOf(CallKind::MessageBox), 0u);
  fs::create_directory(Install() + "folder.wav");
  desk_.ExpectMessageBox(plat::MsgAnswer::Ok, {.textContains = "再生できない形式です", .title = kError});
  Frame().PreviewPlay(Install() + "folder.wav");
  ExpectKept("folder");
}
#endif

}  // namespace
