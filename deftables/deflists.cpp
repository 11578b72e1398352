// Definition list rules: rows, patterns, file choice, comment and erase.
#include "deftables/deflists.h"

#include <algorithm>

#include "chartfmt/defcode.h"
#include "chartfmt/utils.h"
#include "platform/core/ansitext.h"

namespace mk {

namespace {

std::vector<DefEntry>& Table(DocData& doc, DefKind k) { return k == DefKind::Wav ? doc.Wav : doc.Bga; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool WildMatch(std::string_view s, std::string_view p) {
  // Iterative match with the last "*" to fall back to.
  size_t i = 0, j = 0, star = std::string_view::npos, mark = 0;
  while (i < s.size()) {
    if (j < p.size() && (p[j] == '?' || Lower(p[j]) == Lower(s[i]))) {
      ++i, ++j;
    } else if (j < p.size() && p[j] == '*') {
      star = j++;
      mark = i;
    } else if (star != std::string_view::npos) {
      j = star + 1;
      i = ++mark;
    } else {
      return false;
    }
  }
  while (j < p.size() && p[j] == '*') ++j;
  return j == p.size();
}

}  // namespace

int DefListFirst(DefKind k) { return k == DefKind::Wav ? 1 : 0; }

int DefListLast(const DocData& doc, DefKind k) { return DefNumMax(k == DefKind::Wav ? doc.Fmt.WNum : doc.Fmt.BNum); }

int DefListRows(const DocData& doc, DefKind k) {
  const int last = DefListLast(doc, k);
  return last <= 0 ? 0 : last - DefListFirst(k) + 1;
}

int DefRowOfNumber(DefKind k, int number) { return k == DefKind::Wav ? number : number + 1; }
int DefNumberOfRow(DefKind k, int row) { return k == DefKind::Wav ? row : row - 1; }

bool DefHasRow(const DocData& doc, DefKind k, int number) {
  const int last = DefListLast(doc, k);
  const auto& table = k == DefKind::Wav ? doc.Wav : doc.Bga;
  return last > 0 && number >= DefListFirst(k) && number <= last && number < static_cast<int>(table.size());
}

DefEntry* CurrentDefEntry(DocData& doc, DefKind k) {
  return DefHasRow(doc, k, doc.CurDef) ? &Table(doc, k)[doc.CurDef] : nullptr;
}

std::string BgaFilePattern(const DocData& doc) {
  const auto& ext = doc.Fmt.BExt;
  if (!ext.empty() && ext[0] == "@") return "*.*";
  std::string p;
  for (const std::string& e : ext) {
    if (!p.empty()) p += ";";
    std::string lower = e;
    for (char& c : lower) c = Lower(c);
    p += "*." + lower;
  }
  return p;
}

std::string DefFileFilter(const DocData& doc, DefKind k) {
  if (k == DefKind::Wav) return "音声ファイル(*.wav;*.zq)|*.wav;*.zq|";
  const std::string p = BgaFilePattern(doc);
  return "BGAファイル(" + p + ")|" + p + "|";
}

bool MatchesFilePattern(std::string_view name, std::string_view patterns) {
  size_t start = 0;
  while (start <= patterns.size()) {
    size_t end = patterns.find(';', start);
    if (end == std::string_view::npos) end = patterns.size();
    const std::string_view p = patterns.substr(start, end - start);
    if (!p.empty() && WildMatch(name, p)) return true;
    start = end + 1;
  }
  return false;
}

FileChoiceStart DefFileChoiceStart(const DocData& doc, const std::string& current, const std::string& lastChosen) {
  if (doc.Folder.empty()) return {{}, current.empty() ? lastChosen : current};
  if (!current.empty()) return {doc.Folder, current};
  const size_t slash = lastChosen.rfind('/');
  const bool inFolder = slash != std::string::npos && lastChosen.compare(0, slash + 1, doc.Folder) == 0;
  return {doc.Folder, inFolder ? lastChosen.substr(slash + 1) : std::string()};
}

bool ChooseDefFile(DocData& doc, DefKind k, const std::string& path, const std::string& fileTitle) {
  DefEntry* e = CurrentDefEntry(doc, k);
  if (!e) return false;
  const size_t keep = path.size() >= fileTitle.size() ? path.size() - fileTitle.size() : 0;
  doc.Folder = path.substr(0, keep);
  e->File = fileTitle;
  return true;
}

CommentDialog CommentDialogFor(const DefEntry& e) {
  CommentDialog c;
  c.prompt = ShownValueOf(e.File).text + "のコメントを入力してください";
  const ShownValue comment = ShownValueOf(e.Comment);
  if (comment.cut)
    c.prompt += "\r\n(今のコメント " + comment.text.substr(comment.text.rfind("…")) +
                " は長すぎて表示できません。OK で入力した文字に置き換えます)";
  else
    c.initial = e.Comment;
  return c;
}

bool SetDefComment(DocData& doc, DefKind k, const std::string& comment) {
  DefEntry* e = CurrentDefEntry(doc, k);
  if (!e) return false;
  e->Comment = comment;
  return true;
}

bool EraseDef(DocData& doc, DefKind k) {
  DefEntry* e = CurrentDefEntry(doc, k);
  if (!e || (e->File.empty() && e->Comment.empty())) return false;
  *e = DefEntry{};
  return true;
}

bool SelectDefRow(DocData& doc, DefKind k, int row) {
  const int n = DefNumberOfRow(k, row);
  if (row < 1 || !DefHasRow(doc, k, n)) return false;
  doc.CurDef = static_cast<int16_t>(n);
  return true;
}

}  // namespace mk
