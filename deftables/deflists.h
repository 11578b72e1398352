// The WAV and BGA definition lists of the left panel as plain rules: row and number, list
// sizes, file patterns and filters, and what choosing a file, editing a comment and erasing do
// to the document.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "chartfmt/docdata.h"

namespace mk {

enum class DefKind { Wav, Bga };

// Numbers the list shows: WAV 1..N_W, BGA 0..N_B (N 255, 575 or 1295 by the numbering mode; an
// unknown mode gives no rows: last < first).
int DefListFirst(DefKind k);
int DefListLast(const DocData& doc, DefKind k);
int DefListRows(const DocData& doc, DefKind k);
// Row position (1-based) of a number, and the number of a row: WAV row r is number r, BGA row r
// is number r - 1.
int DefRowOfNumber(DefKind k, int number);
int DefNumberOfRow(DefKind k, int row);
// True when number has a row in the list (and an entry in its table).
bool DefHasRow(const DocData& doc, DefKind k, int number);

// The entry of the current number in the list's table, or nullptr when the list has no row for
// it (the commands that need a row then do nothing).
DefEntry* CurrentDefEntry(DocData& doc, DefKind k);

// "*.*" when the script's first BGA extension is "@"; otherwise "*.ext" per extension in lower
// case, joined with ";".
std::string BgaFilePattern(const DocData& doc);
// The file dialog filter of a list: "音声ファイル(*.wav;*.zq)|*.wav;*.zq|" or "BGAファイル(P)|P|".
std::string DefFileFilter(const DocData& doc, DefKind k);
// Whether a file name matches a pattern list such as "*.wav;*.zq", ignoring ASCII case ("*.wav"
// matches "KICK.WAV"). "*" and "?" are the wildcards; an empty pattern list matches nothing.
bool MatchesFilePattern(std::string_view name, std::string_view patterns);

// Where a definition or header file choice starts in the shared file dialog. With a definitions'
// folder: in that folder, at current (the field's file name) or, when that is empty, at the name
// of lastChosen (the dialog's last full path) when that file lies in the folder. Without one (a
// new chart no file was chosen for): at current, else at lastChosen.
struct FileChoiceStart {
  std::string folder;
  std::string name;
};
FileChoiceStart DefFileChoiceStart(const DocData& doc, const std::string& current, const std::string& lastChosen);

// A chosen file for the current definition: the chart's one folder becomes the path without its
// last fileTitle.size() characters, and the entry takes the title (the comment stays). False,
// changing nothing, when the list has no row for the current number.
bool ChooseDefFile(DocData& doc, DefKind k, const std::string& path, const std::string& fileTitle);

// The comment dialog for an entry: the prompt, its file name (as ShownValueOf shows it) followed
// by "のコメントを入力してください", and the comment it starts from. A comment too long to show
// whole is not offered for editing, where OK would store a cut copy: the dialog starts empty and
// the prompt says that OK puts the text typed in its place.
struct CommentDialog {
  std::string prompt;
  std::string initial;
};
CommentDialog CommentDialogFor(const DefEntry& e);
// Sets the current definition's comment; false, changing nothing, when there is no row.
bool SetDefComment(DocData& doc, DefKind k, const std::string& comment);

// Empties the current definition's file and comment; true when something was erased.
bool EraseDef(DocData& doc, DefKind k);

// Key release in a list: true when it erases, that is Delete (46) with Shift alone (shift state
// 1: Shift 1, Ctrl 2, Alt 4).
constexpr int kKeyDelete = 46;
constexpr int kShiftMask = 1;
inline bool IsEraseKey(int keyCode, int shiftState) { return keyCode == kKeyDelete && shiftState == kShiftMask; }

// A row became the list's selection (click or key release): CurDef takes its number. A row
// outside the list (none selected) changes nothing. Returns true when CurDef was set.
bool SelectDefRow(DocData& doc, DefKind k, int row);

}  // namespace mk
