// Values too long for a field or a list cell to show whole (a title, an artist, a WAV file name
// and comment, a free statement, each of a megabyte, read from a file): the frame shows their
// start and says they are longer, an edit never stores a cut copy, and a save writes every one
// back byte for byte.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>

#include "chartfmt/globals.h"
#include "chartfmt/utils.h"
#include "deftables/header.h"
#include "frame_fixture.h"
#include "platform/core/ansitext.h"

using namespace mk;
using testsupport::CallKind;
using testsupport::FrameTest;

namespace {

// n copies of unit.
std::string Repeat(const std::string& unit, size_t n) {
  std::string s;
  s.reserve(unit.size() * n);
  for (size_t i = 0; i < n; ++i) s += unit;
  return s;
}

// Every line, with its CR LF, somewhere in the file at path.
void ExpectLinesIn(const std::string& path, const std::vector<std::string>& lines, const char* when) {
  const std::string saved = testsupport::ReadAll(path);
  for (const std::string& l : lines)
    EXPECT_NE(saved.find(l + "\r\n"), std::string::npos) << when << ": " << l.substr(0, 20) << "... lost";
}

TEST_F(FrameTest, LongValuesAreShownByTheirStartAndSurviveAnOpenAndASaveByteForByte) {
  constexpr size_t kMb = 1u << 20;
  // Double-byte characters among single ones, so a cut in the middle of one would show.
  const std::vector<std::string> lines = {
      "#TITLE " + Repeat("\x8b\xc8T", kMb / 3),  // "曲T"
      "#ARTIST " + std::string(kMb, 'A'),       "#WAV01 " + std::string(kMb, 'f') + ".wav",
      ";WAV01 " + Repeat("\x83\x6f", kMb / 2),  // "バ"
      "#UNKNOWN " + std::string(kMb, 'u'),      // kept as a free statement
  };
  std::string bytes;
  for (const std::string& l : lines) bytes += l + "\r\n";
  bytes += "#001K1:01\r\n";
  const std::string chart = dir_.Write("long.nxl", bytes);
  ASSERT_TRUE(Start({chart}));
  Form1* w = WinAt(g_CurWin);
  ASSERT_NE(w, nullptr);
  DocData& d = w->Doc();
  ASSERT_EQ(d.Title.size(), kMb / 3 * 4);  // "曲" takes three bytes in UTF-8
  EXPECT_EQ(desk_.CountOf(CallKind::MessageBox), 0u);

  // The fields show the start and the whole length, and take no edit.
  const std::string titleChars = std::to_string(kMb / 3 * 2);
  QLineEdit* title = Frame().Field(HeaderText::Text1);
  EXPECT_TRUE(title->isReadOnly());
  EXPECT_FALSE(title->toolTip().isEmpty());
  EXPECT_EQ(title->text().toStdString(), plat::CharLeft(d.Title, kShownChars) + "…（全" + titleChars + "文字）");
  EXPECT_TRUE(Frame().Field(HeaderText::Text2)->isReadOnly());
  EXPECT_FALSE(Frame().Field(HeaderText::Text5)->isReadOnly());  // the genre is short
  title->setFocus();
  title->end(false);
  QTest::keyClick(title, Qt::Key_Backspace);
  QTest::keyClicks(title, "x");
  EXPECT_EQ(d.Title.size(), kMb / 3 * 4);
  EXPECT_EQ(d.Dirty, 0);
  // So does the list.
  QTreeWidgetItem* row = Frame().List(DefList::Grid1)->topLevelItem(0);
  EXPECT_EQ(row->text(1).toStdString(), std::string(kShownChars, 'f') + "…（全" + std::to_string(kMb + 4) + "文字）");
  EXPECT_EQ(row->text(2).toStdString(), Repeat("バ", kShownChars) + "…（全" + std::to_string(kMb / 2) + "文字）");
  EXPECT_EQ(d.Wav[1].Comment.size(), kMb / 2 * 3);

  // The free statements wait for their tab.
  EXPECT_TRUE(Frame().Text6()->document()->isEmpty());
  Frame().SetDirty();
  Frame().QuerySaveAs();
  ExpectLinesIn(chart, lines, "saved before the free statements were shown");
  Frame().Tab1_Switch(3);
  EXPECT_EQ(Frame().Text6()->toPlainText().toStdString(), FreeTextForBox(d.FreeText));
  Frame().SetDirty();
  Frame().QuerySaveAs();
  ExpectLinesIn(chart, lines, "saved with them shown");
  EXPECT_EQ(desk_.CountOf(CallKind::MessageBox), 0u);

  // A chart with short values has fields to type in again.
  Open(Sample("dual_sample.scd"));
  EXPECT_FALSE(title->isReadOnly());
  EXPECT_TRUE(title->toolTip().isEmpty());
  EXPECT_EQ(title->maxLength(), kTextFieldLength);
}

}  // namespace
