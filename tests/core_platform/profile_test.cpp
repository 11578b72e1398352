// Profile files: reading and writing single keys with the classic semantics.
#include "platform/core/profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "temp_dir.h"

namespace {

using plat::GetProfileString;
using plat::WriteProfileString;

class Profile : public testing::Test {
 protected:
  std::string Get(const std::string& section, const std::string& key, const std::string& def = "*", size_t buf = 255) {
    return GetProfileString(section, key, def, buf, file_);
  }
  testsupport::TempDir dir_;
  std::string file_ = dir_.Path("Mirkan.ini");
};

TEST_F(Profile, ReadSemanticsTable) {
  dir_.Write("Mirkan.ini",
             "; settings\r\n"
             "[Default]\r\n"
             "MaxWindows=12\r\n"
             "  scrollspeed  =  7  \r\n"
             "Empty=\r\n"
             "Twice=first\r\n"
             "Twice=second\r\n"
             ";Commented=1\r\n"
             "no equals sign\r\n"
             "Path=C:\\a=b\r\n"
             "Title=\x83\x65\x83\x58\x83\x67\r\n"
             "\r\n"
             " [ Window ] \r\n"
             "Top=100\n"
             "[Other]\r"
             "Top=5\r\n"
             "[default]\r\n"
             "Late=1\r\n");
  const struct {
    const char* section;
    const char* key;
    const char* want;
  } cases[] = {
      {"Default", "MaxWindows", "12"},
      {"DEFAULT", "maxwindows", "12"},  // names without regard to case
      {"Default", "ScrollSpeed", "7"},  // key and value trimmed
      {"Default", "Empty", ""},         // present but empty is not the default
      {"Default", "Twice", "first"},    // the first of duplicates
      {"Default", "Commented", "*"},    // comments are no keys
      {"Default", "no equals sign", "*"},
      {"Default", "Path", "C:\\a=b"},  // value runs to the line end
      {"Default", "Title", "テスト"},
      {"Window", "Top", "100"},     // section header with blanks, LF line end
      {"Other", "Top", "5"},        // CR line end
      {"Default", "Missing", "*"},  // missing key gives the default
      {"Nowhere", "Top", "*"},      // missing section too
      {"Default", "Late", "*"},     // only the first matching section is read
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.section) + "/" + c.key);
    EXPECT_EQ(Get(c.section, c.key), c.want);
  }
}

TEST_F(Profile, MissingFileGivesDefault) {
  EXPECT_EQ(Get("Default", "MaxWindows", "30", 10), "30");
  EXPECT_EQ(Get("Default", "X", "ab  ", 10), "ab");  // trailing blanks of the default dropped
  EXPECT_FALSE(dir_.Exists("Mirkan.ini"));           // reading never creates the file
}

TEST_F(Profile, BufferSizeTruncatesInCp932Bytes) {
  dir_.Write("Mirkan.ini",
             "[Default]\r\nDefExt=ABCDEFGHIJKL\r\nKana=\x82\xA0\x82\xA2\x82\xA4\x82\xA6\x82\xA8"
             "\x82\xA9\r\n");
  EXPECT_EQ(Get("Default", "DefExt", "", 10), "ABCDEFGHI");  // at most 9 bytes
  EXPECT_EQ(Get("Default", "Kana", "", 10), "あいうえ");     // 8 bytes: no half character
  EXPECT_EQ(Get("Default", "Kana", "", 12), "あいうえお");
  EXPECT_EQ(Get("Default", "None", "0123456789AB", 10), "012345678");  // the default too
  EXPECT_EQ(Get("Default", "DefExt", "", 1), "");
  EXPECT_EQ(Get("Default", "DefExt", "", 0), "");
}

TEST_F(Profile, FirstWriteCreatesFile) {
  ASSERT_TRUE(WriteProfileString("Window", "Top", " 0", file_));
  EXPECT_EQ(dir_.Read("Mirkan.ini"), "[Window]\r\nTop= 0\r\n");
  EXPECT_EQ(Get("Window", "Top"), "0");
}

TEST_F(Profile, WriteReplacesInPlaceOrAppends) {
  dir_.Write("Mirkan.ini",
             "; keep me\r\n"
             "[Window]\r\n"
             "top = 1\r\n"
             "Left=2\r\n"
             "\r\n"
             "[Recent]\r\n"
             "0=a*\r\n");
  ASSERT_TRUE(WriteProfileString("WINDOW", "Top", " 300", file_));      // replaced where it stood
  ASSERT_TRUE(WriteProfileString("Window", "Height", " 8460", file_));  // after the last key
  ASSERT_TRUE(WriteProfileString("Etc", "Wheel", " 2", file_));         // new section at the end
  ASSERT_TRUE(WriteProfileString("Recent", "0S", "", file_));           // empty value
  EXPECT_EQ(dir_.Read("Mirkan.ini"),
            "; keep me\r\n"
            "[Window]\r\n"
            "Top= 300\r\n"
            "Left=2\r\n"
            "Height= 8460\r\n"
            "\r\n"
            "[Recent]\r\n"
            "0=a*\r\n"
            "0S=\r\n"
            "[Etc]\r\n"
            "Wheel= 2\r\n");
  EXPECT_EQ(Get("Recent", "0S"), "");
  EXPECT_EQ(Get("Window", "Top"), "300");
}

TEST_F(Profile, WriteKeepsOtherBytesAndEncodesCp932) {
  // Bytes that are no CP932 text and a LF-only file: other lines come back unchanged.
  dir_.Write("Mirkan.ini", "[Recent]\n0=\x81\xFF\x80*\n");
  ASSERT_TRUE(WriteProfileString("Recent", "0S", "譜面*", file_));
  ASSERT_TRUE(WriteProfileString("Recent", "1", "a€*", file_));  // no CP932 character: "?"
  EXPECT_EQ(dir_.Read("Mirkan.ini"), "[Recent]\r\n0=\x81\xFF\x80*\r\n0S=\x95\x88\x96\xCA*\r\n1=a?*\r\n");
  EXPECT_EQ(Get("Recent", "0S"), "譜面*");
}

TEST_F(Profile, RefusesValuesThatWouldBreakTheFile) {
  dir_.Write("Mirkan.ini", "[Recent]\r\n0=old*\r\n");
  EXPECT_FALSE(WriteProfileString("Recent", "0", "a\nb", file_));
  EXPECT_FALSE(WriteProfileString("Recent", "x=y", "1", file_));
  EXPECT_FALSE(WriteProfileString("Re]cent", "0", "1", file_));
  EXPECT_FALSE(WriteProfileString("Recent", "  ", "1", file_));
  EXPECT_EQ(dir_.Read("Mirkan.ini"), "[Recent]\r\n0=old*\r\n");
}

// Many writes with one replace of the file give what the same writes give one by one; an
// entry that cannot be stored is left out and reported, the others are still made.
TEST_F(Profile, BatchWritesMatchSingleWrites) {
  const std::string start = "; keep me\r\n[Window]\r\ntop = 1\r\n\r\n[Recent]\r\n0=a*\r\n";
  const std::vector<plat::ProfileEntry> entries = {{"WINDOW", "Top", " 300"},  {"Window", "Height", " 8460"},
                                                   {"Etc", "Wheel", " 2"},     {"Recent", "0S", ""},
                                                   {"Etc", "Wheel", " 8"},     {"Recent", "1", "x\ny"},
                                                   {"etc", "PlayObj", "False"}};
  dir_.Write("Mirkan.ini", start);
  for (const plat::ProfileEntry& e : entries)
    EXPECT_EQ(WriteProfileString(e.section, e.key, e.value, file_), e.key != "1") << e.key;
  const std::string oneByOne = dir_.Read("Mirkan.ini");

  dir_.Write("Mirkan.ini", start);
  EXPECT_FALSE(plat::WriteProfileStrings(entries, file_));  // the line break was left out
  EXPECT_EQ(dir_.Read("Mirkan.ini"), oneByOne);
  EXPECT_EQ(Get("Etc", "Wheel"), "8");
  EXPECT_EQ(Get("Recent", "1"), "*");

  EXPECT_TRUE(plat::WriteProfileStrings({}, file_));
  EXPECT_FALSE(plat::WriteProfileStrings({{"Recent", "2", "a\rb"}}, file_));
  EXPECT_EQ(dir_.Read("Mirkan.ini"), oneByOne);
  EXPECT_TRUE(plat::WriteProfileStrings({{"New", "Key", "v"}}, dir_.Path("fresh.ini")));
  EXPECT_EQ(dir_.Read("fresh.ini"), "[New]\r\nKey=v\r\n");
}

TEST_F(Profile, UnreadableFileIsNeverReplaced) {
  dir_.Write("Mirkan.ini/inside", "x");  // a folder where the file should be
  EXPECT_FALSE(WriteProfileString("Etc", "Wheel", " 2", file_));
  EXPECT_EQ(dir_.Read("Mirkan.ini/inside"), "x");
  EXPECT_EQ(Get("Etc", "Wheel", "2"), "2");
}

TEST_F(Profile, UnwritableFileReportsFailureAndKeepsContent) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes read-only files";
  dir_.Write("Mirkan.ini", "[Etc]\r\nWheel=8\r\n");
  ASSERT_EQ(::chmod(file_.c_str(), 0444), 0);
  EXPECT_FALSE(WriteProfileString("Etc", "Wheel", " 2", file_));
  EXPECT_EQ(Get("Etc", "Wheel"), "8");
  ASSERT_EQ(::chmod(file_.c_str(), 0000), 0);
  EXPECT_FALSE(WriteProfileString("Etc", "Wheel", " 2", file_));  // unreadable: never clobbered
  ASSERT_EQ(::chmod(file_.c_str(), 0644), 0);
  EXPECT_EQ(Get("Etc", "Wheel"), "8");
}

}  // namespace
