// The script registry over an install folder: which files count, their first lines, the
// default script, the open filter and the messages.
#include <filesystem>
#include <map>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "chartfmt/scriptreg.h"
#include "platform/core/ansitext.h"
#include "platform/core/desktop.h"
#include "script_helpers.h"
#include "temp_dir.h"

namespace {

struct Folder {
  testsupport::TempDir dir;
  std::string path() const { return dir.path() + "/"; }
  void Add(const std::string& name, const std::string& utf8) { dir.Write(name, plat::EncodeAnsi(utf8)); }
};

std::string Script(const std::string& title, const std::string& extLine) {
  return "#DFN\r\n" + title + "\r\n" + extLine + "\r\n#LANE\r\nA,a,1,2,0,0,0,1\r\n#EOL\r\n";
}

void ExpectError(const mk::ScriptMessage& m, const std::string& text) { scripttest::ExpectMessage(m, text, true); }

TEST(ScriptRegistry, FatalMessages) {
  {
    Folder f;
    f.Add("readme.txt", "#DFN\nx\n#EXT A\n");
    f.Add("a.dfn.bak", Script("A", "#EXT A"));
    std::filesystem::create_directory(f.dir.Path("dir.dfn"));
    ASSERT_EQ(mkfifo(f.dir.Path("pipe.dfn").c_str(), 0600), 0);
    mk::ScriptList l = mk::ScanScripts(f.path(), "NXL");
    ExpectError(l.message, "インストールフォルダ " + f.path() + " にスクリプトファイルが見つかりません");
    EXPECT_EQ(l.count, 0);
    EXPECT_EQ(mk::StartEndingText(l.message), l.message.text +
                                                  "\r\n\r\nプログラムを終了します。\r\nインストールフォルダに定義"
                                                  "スクリプト (*.dfn) を置いてから起動し直してください。");
  }
  struct Case {
    const char* content;
    const char* text;
  } cases[] = {
      {"#DFN \nT\n#EXT A\n", "不正なスクリプトファイル b.dfn が見つかりました"},
      {"", "不正なスクリプトファイル b.dfn が見つかりました"},
      {"\n#DFN\nT\n#EXT A\n", "不正なスクリプトファイル b.dfn が見つかりました"},
      {"DFN\nT\n#EXT A\n", "不正なスクリプトファイル b.dfn が見つかりました"},
      {"#DFN", "スクリプトファイル b.dfn 内に拡張子定義がありません"},
      {"#DFN\nT", "スクリプトファイル b.dfn 内に拡張子定義がありません"},
      {"#DFN\n#EXT A\n#EX B\n", "スクリプトファイル b.dfn 内に拡張子定義がありません"},  // line 2 is the title
  };
  for (const Case& c : cases) {
    Folder f;
    f.Add("a.dfn", Script("A", "#EXT NXL"));
    f.Add("b.dfn", c.content);
    f.Add("c.dfn", Script("C", "#EXT C"));
    mk::ScriptList l = mk::ScanScripts(f.path(), "NXL");
    ExpectError(l.message, c.text);
    EXPECT_EQ(l.message.file, f.path() + "b.dfn");  // the file to mend or take away
    // The scripts before the faulty one were registered; the program ends before using them.
    EXPECT_EQ(l.count, 1) << c.content;
  }
}

TEST(ScriptRegistry, UnreadableScriptIsFatal) {
  Folder f;
  std::filesystem::create_symlink(f.dir.Path("missing"), f.dir.Path("broken.dfn"));
  mk::ScriptList l = mk::ScanScripts(f.path(), "NXL");
  ExpectError(l.message, "スクリプトファイル broken.dfn を開けません");
}

TEST(ScriptRegistry, EntriesAndFilter) {
  Folder f;
  f.Add("b.DFN", "#dfn\r\nSecond \r\nnot a directive\r\n#ext nxl,Abc\r\n");
  f.Add("A.dfn", Script("曲 | 譜面", "#EXT TXC"));
  f.Add("c.dfn", Script("Third", "#EXT "));
  f.Add("d.dfn", "#DFN\nFourth\n#EXTXYZ");  // the fifth character is dropped whatever it is
  f.Add("e.dfn", Script("Fifth", "#EXT"));
  f.Add("f.dfn", Script("Third", "#EXT Q"));  // titles may repeat
  mk::ScriptList l = mk::ScanScripts(f.path(), "NXL");
  EXPECT_TRUE(l.message.empty()) << l.message.text;
  ASSERT_EQ(l.count, 6);
  ASSERT_EQ(l.table.size(), 7u);
  const std::map<int, std::vector<std::string>> want = {
      {1, {f.path() + "A.dfn", "曲 | 譜面", "TXC"}}, {2, {f.path() + "b.DFN", "Second ", "nxl,Abc"}},
      {3, {f.path() + "c.dfn", "Third", ""}},        {4, {f.path() + "d.dfn", "Fourth", "YZ"}},
      {5, {f.path() + "e.dfn", "Fifth", ""}},        {6, {f.path() + "f.dfn", "Third", "Q"}},
  };
  for (const auto& [i, w] : want) {
    EXPECT_EQ(l.table[i].Path, w[0]) << i;
    EXPECT_EQ(l.table[i].Title, w[1]) << i;
    EXPECT_EQ(l.table[i].Exts, w[2]) << i;
    EXPECT_EQ(l.table[i].Info, "") << i;
  }
  EXPECT_EQ(l.defaultScript, 2);
  // A "|" in a title would split the entry; it is shown as "/" so that entry i stays script i.
  // Scripts of one title are told apart by their files.
  EXPECT_EQ(l.openFilter, "曲 / 譜面|*.txc|Second |*.nxl;*.abc|Third (c.dfn)||Fourth|*.yz|Fifth||Third (f.dfn)|*.q");
  std::vector<plat::FilterEntry> entries = plat::ParseFilter(l.openFilter);
  ASSERT_EQ(entries.size(), 6u);
  const char* titles[] = {"曲 / 譜面", "Second ", "Third (c.dfn)", "Fourth", "Fifth", "Third (f.dfn)"};
  for (size_t i = 0; i < 6; ++i) EXPECT_EQ(entries[i].description, titles[i]) << i;
  EXPECT_EQ(entries[1].patterns, (std::vector<std::string>{"*.nxl", "*.abc"}));
  EXPECT_TRUE(entries[2].patterns.empty());
  EXPECT_EQ(entries[5].patterns, (std::vector<std::string>{"*.q"}));
}

TEST(ScriptRegistry, LabelsAndFileNamesTellScriptsOfOneTitleApart) {
  const std::vector<mk::ScriptEntry> table = {mk::ScriptEntry{}, mk::ScriptEntry{"/i/nexal.dfn", "N", "NXL", ""},
                                              mk::ScriptEntry{"/i/dual.dfn", "D", "SCD", ""},
                                              mk::ScriptEntry{"/i/nexal6.dfn", "N", "NX6", ""},
                                              mk::ScriptEntry{"plain.dfn", "n", "X", ""}};
  const char* labels[] = {"", "N (nexal.dfn)", "D", "N (nexal6.dfn)", "n"};  // titles compare exactly
  const char* files[] = {"", "nexal.dfn", "dual.dfn", "nexal6.dfn", "plain.dfn"};
  for (int i = 0; i <= 5; ++i) {
    EXPECT_EQ(mk::ScriptLabel(table, i), i < 5 ? labels[i] : "") << i;
    EXPECT_EQ(mk::ScriptFileName(table, i), i < 5 ? files[i] : "") << i;
  }
  mk::g_ScriptTable = table;
  mk::g_ScriptCount = 4;
  EXPECT_EQ(mk::ScriptByFileName("nexal6.dfn"), 3);
  EXPECT_EQ(mk::ScriptByFileName("NEXAL6.DFN"), 0);
  EXPECT_EQ(mk::ScriptByFileName("/i/nexal6.dfn"), 0);
  EXPECT_EQ(mk::ScriptByFileName(""), 0);
  mk::ResetScriptList();
}

TEST(ScriptRegistry, FilterPairs) {
  EXPECT_EQ(mk::FilterPair("T", "nxl,Abc"), "T|*.nxl;*.abc");
  EXPECT_EQ(mk::FilterPair("T", ""), "T|");
  EXPECT_EQ(mk::FilterPair("T", "A, b,"), "T|*.a;*. b;*.");  // pieces are not trimmed
  EXPECT_EQ(mk::FilterPair("A|B", "x|y"), "A/B|*.x/y");
}

TEST(ScriptRegistry, DefaultScript) {
  struct Case {
    std::vector<std::string> exts;
    std::string defExt;
    int want;
    bool warned;
  } cases[] = {
      {{"TXC", "NXL", "NXLX,NXP"}, "NXL", 3, false},  // last match wins, substrings count
      {{"txc", "abc,nxl", "XYZ"}, "NxL", 2, false},
      {{"TXC", "ABC"}, "NXL", 1, true},
      {{"", "A", "B", ""}, "", 3, false},  // empty DefExt: every script with extensions
      {{"", ""}, "", 1, true},
  };
  for (const Case& c : cases) {
    Folder f;
    for (size_t i = 0; i < c.exts.size(); ++i) {
      f.Add("s" + std::to_string(i) + ".dfn", Script("Script" + std::to_string(i + 1), "#EXT " + c.exts[i]));
    }
    mk::ScriptList l = mk::ScanScripts(f.path(), c.defExt);
    EXPECT_EQ(l.defaultScript, c.want) << c.defExt;
    if (c.warned) {
      scripttest::ExpectMessage(l.message,
                                c.defExt +
                                    "の定義スクリプトが見つかりません\r\nScript1の定義をデフォルトとして使用します",
                                false, "警告");
    } else {
      EXPECT_TRUE(l.message.empty()) << l.message.text;
    }
  }
}

TEST(ScriptRegistry, LoadScriptListFillsTheGlobals) {
  Folder f;
  f.Add("one.dfn", Script("One", "#EXT ONE"));
  f.Add("two.dfn", Script("Two", "#EXT NXL"));
  mk::ScriptMessage m = mk::LoadScriptList(f.path(), "NXL");
  EXPECT_TRUE(m.empty());
  EXPECT_EQ(mk::g_ScriptCount, 2);
  ASSERT_EQ(mk::g_ScriptTable.size(), 3u);
  EXPECT_EQ(mk::g_ScriptTable[2].Title, "Two");
  EXPECT_EQ(mk::g_DefaultScript, 2);
  EXPECT_EQ(mk::g_OpenFilter, "One|*.one|Two|*.nxl");

  mk::ResetScriptList();
  EXPECT_EQ(mk::g_ScriptCount, 0);
  EXPECT_EQ(mk::g_ScriptTable.size(), 1u);
  EXPECT_EQ(mk::g_DefaultScript, 0);
  EXPECT_EQ(mk::g_OpenFilter, "");
}

}  // namespace
