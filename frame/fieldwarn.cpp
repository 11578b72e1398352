// Warnings for fields a chart file cannot hold as they stand.
#include "frame/fieldwarn.h"

#include "platform/core/desktop.h"

namespace mk {

namespace {

void Warn(const std::vector<FieldLoss>& losses) {
  if (losses.empty()) return;
  plat::TheDesktop().MessageBox(FieldLossMessage(losses), "警告", plat::MsgButtons::Ok, plat::MsgIcon::Exclamation);
}

}  // namespace

void WarnFieldLosses(const DocData& doc, const std::vector<FieldLoss>& shown) {
  std::vector<FieldLoss> losses = FieldsNotReadBack(doc);
  for (const FieldLoss& s : shown) {
    bool named = false;
    for (const FieldLoss& l : losses) named = named || (l.field == s.field && l.index == s.index);
    if (!named) losses.push_back(s);
  }
  Warn(losses);
}

void WarnFieldLoss(const DocData& doc, ChartField field, int index) {
  if (std::optional<FieldLoss> l = FieldNotReadBack(doc, field, index)) Warn({*l});
}

}  // namespace mk
