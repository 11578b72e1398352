// The two rules by which the search and batch-edit dialogs correct their number fields when a
// field loses the focus and again when OK is pressed.
#pragma once
#include <cstdint>
#include <string>

namespace mk {

// A decimal field bounded by 0 and upper: a negative value reads "0", a value above upper reads
// upper; the value is then rounded (halves to the even neighbour) and the text rewritten as that
// integer. Text that does not begin with a number counts as 0. Returns the value.
int16_t IntegerFieldRule(std::string& text, int upper);

// A two-character definition code in numbering mode `mode`: a code whose value is below lower
// becomes resetText, one above maxNum becomes the code of maxNum; the text is rewritten as the
// code of the value, upper case. lower 0 accepts "00". Returns the value.
int16_t CodeFieldRule(std::string& text, int16_t mode, int lower, const std::string& resetText, int maxNum);

}  // namespace mk
