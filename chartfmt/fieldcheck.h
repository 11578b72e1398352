// Header fields, definition file names and comments that a chart file cannot carry as they
// stand (characters outside CP932, line breaks, ";" in a file name, numbers with more digits
// than are written): which ones would read back otherwise after a save, and as what.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "chartfmt/docdata.h"

namespace mk {

enum class ChartField {
  Title,
  Artist,
  Genre,
  Bpm,
  BaseBpm,
  Level,
  Pre,
  Wall,
  WavFile,
  WavComment,
  BgaFile,
  BgaComment,
  FreeLine  // one line of the free statements
};

// A field whose saved text reads back as something else. index: the level (0..2), the
// definition number or the free statement's line (from 1); 0 for the others.
struct FieldLoss {
  ChartField field = ChartField::Title;
  int index = 0;
  std::string name;      // the field as the user knows it: "曲名", "WAV 01 のファイル名", ...
  std::string readBack;  // what a read of the saved file gives
};

// The names the warning gives the two header number fields.
inline constexpr const char* kBpmName = "BPM";
inline constexpr const char* kBaseBpmName = "基本BPM";

// Calls f(field, index, keyword, value of a, value of b) for each header field in the order the
// header panel shows them (index: the level, else 0), with the keyword keys gives it; a and b
// are two records (either may be const), the values std::string, double or int16_t.
template <typename A, typename B, typename F>
void EachHeaderField(const ScrKeys& keys, A& a, B& b, F&& f) {
  f(ChartField::Title, 0, keys.Title, a.Title, b.Title);
  f(ChartField::Artist, 0, keys.Artist, a.Artist, b.Artist);
  f(ChartField::Genre, 0, keys.Genre, a.Genre, b.Genre);
  f(ChartField::Bpm, 0, keys.Bpm, a.Bpm, b.Bpm);
  f(ChartField::BaseBpm, 0, keys.BaseBpm, a.BaseBpm, b.BaseBpm);
  for (int k = 0; k < 3; ++k) f(ChartField::Level, k, keys.Level[k], a.Level[k], b.Level[k]);
  f(ChartField::Wall, 0, keys.Wall, a.Wall, b.Wall);
  f(ChartField::Pre, 0, keys.Pre, a.Pre, b.Pre);
}

// A header value as the user reads it: a text as it stands, a number as the header writes it.
inline const std::string& HeaderValueText(const std::string& v) { return v; }
std::string HeaderValueText(double v);
std::string HeaderValueText(int16_t v);

// The name the user knows a header field by ("曲名", "BPM", a level by its name in doc's script,
// else "難度1" to "難度3"; index: the level). Empty for the fields that are no header field.
std::string HeaderFieldName(const DocData& doc, ChartField field, int index = 0);

// Every field of doc that a save followed by a read would not give back as it is held (fields
// whose keyword the script lacks are not shown and not written, and are left out). Found by
// printing the header and definitions with the writer, encoding them as the file is encoded and
// reading them with the reader, script head, foot, echo lines and free statements included, so
// the answer follows whatever the writer and reader do. Beside them every free statement line
// whose characters the file's encoding does not hold, with the line the file holds instead.
std::vector<FieldLoss> FieldsNotReadBack(const DocData& doc);

// After a save: doc takes what its file now holds of every field FieldsNotReadBack would name,
// so that the window shows what was written. Should the file not read back, only the free
// statements are taken (as encoded). True when a field changed.
bool TakeSavedFields(DocData& doc);

// The same for one field (index as in FieldLoss); nothing when it reads back as held.
std::optional<FieldLoss> FieldNotReadBack(const DocData& doc, ChartField field, int index = 0);

// The warning for the user: each field by name with what it will read back as; at most
// kFieldLossLines fields are listed, the rest counted.
inline constexpr int kFieldLossLines = 20;
std::string FieldLossMessage(const std::vector<FieldLoss>& losses);

}  // namespace mk
