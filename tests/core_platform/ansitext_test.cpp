// CP932 codec and the character-counting helpers.
#include "platform/core/ansitext.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

using plat::DecodeAnsi;
using plat::EncodeAnsi;

struct CodecCase {
  const char* name;
  std::string cp932;
  std::string utf8;
};

// Both directions: the bytes decode to the text and the text encodes to the bytes.
TEST(AnsiText, CodecTable) {
  const CodecCase cases[] = {
      {"ascii", "#WAV01 a.wav", "#WAV01 a.wav"},
      {"backslash stays a backslash", "C:\\dir\\x", "C:\\dir\\x"},
      {"tilde stays a tilde", "~", "~"},
      {"hiragana", "\x82\xA0\x82\xA2", "あい"},
      {"wave dash as on Windows", "\x81\x60", "\xEF\xBD\x9E"},    // U+FF5E
      {"fullwidth reverse solidus", "\x81\x5F", "\xEF\xBC\xBC"},  // U+FF3C
      {"minus sign", "\x81\x7C", "\xEF\xBC\x8D"},                 // U+FF0D
      {"halfwidth katakana", "\xB1", "\xEF\xBD\xB1"},             // U+FF71
      {"NEC circled one", "\x87\x40", "\xE2\x91\xA0"},            // U+2460
      {"trail byte 0x5C", "\x95\x5C", "表"},
      {"user-defined area", "\xF0\x40", "\xEE\x80\x80"},  // U+E000
      {"kanji in text", "\x83\x65\x83\x58\x83\x67 1", "テスト 1"},
      {"NUL byte", std::string("a\0b", 3), std::string("a\0b", 3)},
  };
  for (const CodecCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DecodeAnsi(c.cp932), c.utf8);
    EXPECT_EQ(EncodeAnsi(c.utf8), c.cp932);
  }
}

TEST(AnsiText, UndecodableBytesRoundTrip) {
  const std::string cases[] = {
      "\x80",                      // no character at all
      "\xA0\xFD\xFE\xFF",          // unused single bytes
      "\x81",                      // lead byte at the end
      "\x81\x20x",                 // lead byte before a byte that cannot trail
      "\x85\x40",                  // unassigned double-byte code
      "ok\x82\xA0\xFF\x82",        // mixed with valid characters
      std::string("\x81\x00", 2),  // lead byte before NUL
      "\xEF\xBD\x9E",              // UTF-8 bytes read as if they were CP932
      "\xEE\xEE\xD9",              // unassigned pair, then what would pair as an NEC-selected code
      "\x85\x81\x40",              // unassigned pair whose second byte could lead
  };
  for (const std::string& bytes : cases) {
    SCOPED_TRACE(testing::PrintToString(bytes));
    std::string text = DecodeAnsi(bytes);
    EXPECT_EQ(EncodeAnsi(text), bytes);
  }
  // Each undecodable byte is one character of its own; following ASCII is kept as such.
  EXPECT_EQ(plat::CharLen(DecodeAnsi("\x81\x20x")), 3u);
  EXPECT_EQ(DecodeAnsi("\x81\x20x").substr(3), " x");
}

// Over every pair of byte values: the text survives writing and reading back, and the bytes come
// back exactly except where the code page has two codes for one character (NEC and IBM
// duplicates), which are written in their one canonical form as the code page does.
TEST(AnsiText, EveryBytePairSurvives) {
  int textChanged = 0, lengthChanged = 0, canonicalised = 0;
  for (int a = 0; a < 256; ++a)
    for (int b = 0; b < 256; ++b) {
      const std::string bytes{static_cast<char>(a), static_cast<char>(b)};
      const std::string text = DecodeAnsi(bytes);
      const std::string again = EncodeAnsi(text);
      if (DecodeAnsi(again) != text) ++textChanged;
      // A character of the code page taken for an undecodable byte would change the length.
      if (again.size() != 2) ++lengthChanged;
      if (again != bytes) ++canonicalised;
    }
  EXPECT_EQ(textChanged, 0);
  EXPECT_EQ(lengthChanged, 0);
  EXPECT_GT(canonicalised, 0);
  EXPECT_LT(canonicalised, 800);                              // only the duplicate codes
  EXPECT_EQ(EncodeAnsi(DecodeAnsi("\xFA\x4A")), "\x87\x54");  // IBM Roman numeral one -> NEC code
}

bool IsValidUtf8(const std::string& s) {
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (len == 0 || i + len > s.size()) return false;
    for (size_t k = 1; k < len; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += len;
  }
  return true;
}

// Random byte strings: the text is valid UTF-8, writing it gives the bytes AnsiByteLen counts,
// and it reads back to the same text.
TEST(AnsiText, RandomBytesKeepTheInvariants) {
  std::mt19937 rng(12345);
  for (int round = 0; round < 3000; ++round) {
    std::string bytes(rng() % 40, '\0');
    for (char& c : bytes) c = static_cast<char>(rng() % 3 == 0 ? 0x80 + rng() % 0x80 : rng() % 256);
    const std::string text = DecodeAnsi(bytes);
    ASSERT_TRUE(IsValidUtf8(text)) << testing::PrintToString(bytes);
    const std::string again = EncodeAnsi(text);
    ASSERT_EQ(static_cast<size_t>(plat::AnsiByteLen(text)), again.size()) << testing::PrintToString(bytes);
    ASSERT_EQ(again.size(), bytes.size()) << testing::PrintToString(bytes);
    ASSERT_EQ(DecodeAnsi(again), text) << testing::PrintToString(bytes);
    const size_t cut = rng() % 50;
    ASSERT_LE(static_cast<size_t>(plat::AnsiByteLen(plat::AnsiLeft(text, cut))), cut);
  }
}

TEST(AnsiText, UnmappableCharactersBecomeQuestionMarks) {
  EXPECT_EQ(EncodeAnsi("a€b"), "a?b");           // euro sign
  EXPECT_EQ(EncodeAnsi("😀"), "?");               // outside the basic plane
  EXPECT_EQ(EncodeAnsi("한"), "?");              // Hangul
  EXPECT_EQ(EncodeAnsi("x\xFFy"), "x?y");        // a byte that is no UTF-8
  EXPECT_EQ(EncodeAnsi("\xE3\x81"), "??");       // cut-off sequence: one "?" per byte
  EXPECT_EQ(EncodeAnsi("\xED\xA0\x80"), "???");  // encoded surrogate
}

// Variants that the code page writes as its own character, though reading gives that character.
TEST(AnsiText, VariantsWrittenAsOnWindows) {
  EXPECT_EQ(EncodeAnsi("\xE3\x80\x9C"), "\x81\x60");  // U+301C wave dash
  EXPECT_EQ(EncodeAnsi("\xE2\x88\x92"), "\x81\x7C");  // U+2212 minus sign
  EXPECT_EQ(EncodeAnsi("\xE2\x80\x96"), "\x81\x61");  // U+2016 double vertical line
  EXPECT_EQ(EncodeAnsi("¥"), "\\");
  EXPECT_EQ(plat::AnsiByteLen("\xE3\x80\x9C"), 2);
}

TEST(AnsiText, ByteLength) {
  EXPECT_EQ(plat::AnsiByteLen("ＡＢＣ"), 6);
  EXPECT_EQ(plat::AnsiByteLen("abc"), 3);
  EXPECT_EQ(plat::AnsiByteLen("ｱｲ"), 2);  // half-width katakana take one byte
  EXPECT_EQ(plat::AnsiByteLen("a€"), 2);  // written as "a?"
  EXPECT_EQ(plat::AnsiByteLen(DecodeAnsi("\xFF")), 1);
  EXPECT_EQ(plat::AnsiByteLen(""), 0);
}

TEST(AnsiText, AnsiLeftKeepsWholeCharacters) {
  EXPECT_EQ(plat::AnsiLeft("あいう", 5), "あい");
  EXPECT_EQ(plat::AnsiLeft("あいう", 6), "あいう");
  EXPECT_EQ(plat::AnsiLeft("aあ", 2), "a");
  EXPECT_EQ(plat::AnsiLeft("abcdef", 3), "abc");
  EXPECT_EQ(plat::AnsiLeft("abc", 0), "");
}

TEST(AnsiText, CharacterCounting) {
  const std::string s = "aあb表c";
  EXPECT_EQ(plat::CharLen(s), 5u);
  EXPECT_EQ(plat::CharMid(s, 2, 2), "あb");
  EXPECT_EQ(plat::CharMid(s, 4), "表c");
  EXPECT_EQ(plat::CharMid(s, 6), "");
  EXPECT_EQ(plat::CharMid(s, 5, 10), "c");
  EXPECT_EQ(plat::CharLeft(s, 2), "aあ");
  EXPECT_EQ(plat::CharLeft(s, 9), s);
  EXPECT_EQ(plat::CharRight(s, 2), "表c");
  EXPECT_EQ(plat::CharRight(s, 9), s);
  EXPECT_EQ(plat::CharInStr(s, "b"), 3u);
  EXPECT_EQ(plat::CharInStr(s, "表"), 4u);
  EXPECT_EQ(plat::CharInStr("abab", "b", 3), 4u);
  EXPECT_EQ(plat::CharInStr("abab", "x"), 0u);
  EXPECT_EQ(plat::CharInStr("abc", "", 2), 2u);
  EXPECT_EQ(plat::CharInStr("abc", "a", 4), 0u);
}

TEST(AnsiText, CaseAndBlanks) {
  EXPECT_EQ(plat::AsciiUpper("#wav01あ"), "#WAV01あ");
  EXPECT_EQ(plat::AsciiLower("ÄB"), "Äb");  // only ASCII letters change
  EXPECT_TRUE(plat::EqualsNoCase("Default", "DEFAULT"));
  EXPECT_FALSE(plat::EqualsNoCase("Default", "Defaults"));
  EXPECT_EQ(plat::Trim(" \t a b \t"), "a b");
  EXPECT_EQ(plat::Trim("\t \t"), "");
  EXPECT_EQ(plat::Trim("　x"), "　x");  // a full-width blank is no blank here
}

}  // namespace
