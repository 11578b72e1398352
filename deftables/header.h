// The header panel, the definition tabs and the BGA preview as plain rules: the measure-count
// dialog's decision, the width rule, the tab switch, the tab under the pointer, the preview's
// picture and the free-statement text's line breaks.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "chartfmt/docdata.h"
#include "chartfmt/fieldcheck.h"

namespace mk {

// The measure-count dialog: the prompt for the current count, and what an answer means.
std::string MesCountPrompt(int mesCount);
struct MesCountDecision {
  enum Kind { Nothing, Invalid, AskCut, Change } kind = Nothing;
  int value = 0;  // the new count for AskCut and Change
};
// cancelled or an empty text: Nothing. Otherwise v is the whole part (floor) of the text's field
// number: equal to the count, Nothing; below 0, above maxMeasure or past 16 bits, Invalid;
// below the count, AskCut (the question is kMesCountCutQuestion of editing/mescount.h); else Change.
MesCountDecision DecideMesCount(bool cancelled, const std::string& text, int mesCount, int maxMeasure);
inline constexpr const char* kMesCountInvalid = "不正な数値です";

// The header number fields (BPM, base BPM). The value a typed text stands for: its field number
// as the chart file carries it, that is written and read back again ("150abc" 150, "1,5" 1, an
// empty text or letters 0). Once the field has lost the keyboard it shows that value as the file
// writes it (FormatNumberShort).
double HeaderNumberValue(std::string_view typed);
// What may be typed into a number field and into the title, artist and genre fields. A longer
// value the field holds (read from a file) is still shown whole, so that an edit keeps it.
inline constexpr int kNumberFieldLength = 8;
inline constexpr int kTextFieldLength = 64;
// The number fields whose shown text is not what a save writes for them, with what it writes,
// named as the save's warning names them. Fields whose keyword the script lacks are left out.
std::vector<FieldLoss> HeaderNumberLosses(const DocData& doc, const std::string& bpmText,
                                          const std::string& baseBpmText);

// Widths (and lefts) that keep the header controls as wide as a panel of width w, with a label
// column wide enough for the widest label text (labelText pixels; the design column is 49 wide and
// its controls start at 48). The column never leaves the controls less than 48 pixels.
struct HeaderWidths {
  int labelColumn = 49;  // the row labels' width
  int controlLeft = 48;  // the controls' left
  int text = 0;          // Text1, Text2, Text5, the sliders, Command3 and Command4
  int bpm = 0;           // Text3 and Text4
  int bpm2Left = 0;      // Text4's left
  int label = 0;         // Label10
};
HeaderWidths HeaderWidthsFor(int w, int labelText = 0);

// The level's status panel text: the level name, "：" and the value.
std::string LevelPanelText(const std::string& name, int value);

// The wallpaper (k = 3) and preview-sound (k = 4) choosers' filters, and their outcome: a chosen
// file re-bases the chart folder and sets the field; a cancel clears the field. Returns the
// button's new caption ("None" for an empty field).
std::string HeaderFileFilter(int k);
std::string ApplyHeaderFile(DocData& doc, int k, bool cancelled, const std::string& path, const std::string& fileTitle);

// The tab under the pointer: the highest tab i (1-based) whose left edge minus 8 pixels lies
// left of x; previous when none does.
int TabHoverFor(const std::vector<int>& tabLefts, int x, int previous);
// The tab switch to tab 1 (WAV), 2 (BGA) or 3 (Free). False, changing nothing, when the BGA tab
// is asked for and the script has no BGA keyword, or for another tab number. On the WAV tab a
// current number without a WAV row (0, or above the last WAV number) becomes 1; on the BGA tab a
// number above 255 becomes 1.
bool SwitchDefTab(DocData& doc, int tab);

// Why the BGA preview leaves its area black before any picture is read.
enum class BgaBlack {
  None,       // path names a picture to show
  NoFile,     // no current definition, or one without a file
  Missing,    // the file is not in the chart folder
  OtherKind,  // its last three characters, in any case, are not JPG, BMP or GIF
};
struct BgaPreviewFile {
  std::string path;  // the entry's file in the chart folder; empty when there is no entry
  BgaBlack black = BgaBlack::NoFile;
};

// The picture the BGA preview shows for the current definition, or why it shows none.
BgaPreviewFile BgaPreviewPath(const DocData& doc);

// The free statements are kept with CR LF breaks; the box edits them with LF breaks.
std::string FreeTextForBox(std::string_view record);
std::string FreeTextFromBox(std::string_view box);

}  // namespace mk
