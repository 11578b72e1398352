// Telling the user which header fields and definitions a save will not carry as they stand.
#pragma once
#include "chartfmt/docdata.h"
#include "chartfmt/fieldcheck.h"

namespace mk {

// Before a save: one warning ("警告") naming every field that will read back otherwise, with
// what it will read back as, and every field of shown (fields the window shows otherwise than
// the file will hold them) that the first kind does not name already. Nothing is shown when
// every field reads back as held and shown is empty.
void WarnFieldLosses(const DocData& doc, const std::vector<FieldLoss>& shown = {});

// After one field was set (a chosen file, a typed comment): the same warning for that field.
void WarnFieldLoss(const DocData& doc, ChartField field, int index = 0);

}  // namespace mk
