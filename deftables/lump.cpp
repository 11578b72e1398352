// Batch load rules.
#include "deftables/lump.h"

#include <algorithm>

#include "chartfmt/defcode.h"

namespace mk {

int LumpFirstSlot(DefKind k) { return k == DefKind::Wav ? 1 : 0; }

int LumpLastSlot(const DocData& doc, DefKind k) {
  const auto& table = k == DefKind::Wav ? doc.Wav : doc.Bga;
  const int last = k == DefKind::Wav ? DefNumMax(doc.Fmt.WNum) : 255;
  return std::min(last, static_cast<int>(table.size()) - 1);
}

std::vector<std::string> LumpSlotRows(const DocData& doc, DefKind k) {
  std::vector<std::string> rows;
  const auto& table = k == DefKind::Wav ? doc.Wav : doc.Bga;
  const int16_t mode = k == DefKind::Wav ? doc.Fmt.WNum : 1;
  for (int n = LumpFirstSlot(k); n <= LumpLastSlot(doc, k); ++n)
    rows.push_back(DefNumToText(static_cast<int16_t>(n), mode) + (table[n].File.empty() ? "" : "*"));
  return rows;
}

int LumpSlotOfRow(DefKind k, int row) { return row + LumpFirstSlot(k); }
int LumpRowOfSlot(DefKind k, int slot) { return slot - LumpFirstSlot(k); }

int LumpInitialSlot(const DocData& doc, DefKind k, int number) {
  const int last = LumpLastSlot(doc, k);
  return std::max(LumpFirstSlot(k), std::min(number, last));
}

std::string LumpFilePattern(const DocData& doc, DefKind k) {
  return k == DefKind::Wav ? "*.wav;*.zq" : BgaFilePattern(doc);
}

std::string LumpFolder(const std::string& folder) {
  return !folder.empty() && folder.back() == '/' ? folder : folder + "/";
}

bool ApplyLump(DocData& doc, DefKind k, int startSlot, const std::vector<std::string>& files,
               const std::string& folder) {
  bool changed = false;
  const std::string f = LumpFolder(folder);
  if (doc.Folder != f) {
    doc.Folder = f;
    changed = true;
  }
  auto& table = k == DefKind::Wav ? doc.Wav : doc.Bga;
  const int last = LumpLastSlot(doc, k);
  if (startSlot < LumpFirstSlot(k)) return changed;
  for (size_t j = 0; j < files.size() && startSlot + static_cast<int>(j) <= last; ++j) {
    DefEntry e{files[j], ""};
    DefEntry& slot = table[startSlot + j];
    if (!(slot == e)) {
      slot = std::move(e);
      changed = true;
    }
  }
  return changed;
}

}  // namespace mk
