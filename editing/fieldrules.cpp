// The integer and code rules of the dialogs' number fields.
#include "editing/fieldrules.h"

#include <algorithm>

#include "chartfmt/defcode.h"
#include "platform/core/vbnum.h"

namespace mk {

int16_t IntegerFieldRule(std::string& text, int upper) {
  upper = std::clamp(upper, 0, 32767);
  if (plat::LeadingNumber(text) < 0) text = std::string(1, '0');
  if (plat::LeadingNumber(text) > upper) text = std::to_string(upper);
  // Within 0..upper now, so the rounded value fits.
  const double v = plat::RoundHalfEven(plat::LeadingNumber(text));
  const int16_t n = static_cast<int16_t>(std::clamp(v, 0.0, static_cast<double>(upper)));
  text = std::to_string(n);
  return n;
}

int16_t CodeFieldRule(std::string& text, int16_t mode, int lower, const std::string& resetText, int maxNum) {
  if (DefTextToNum(text, mode) < lower) text = resetText;
  if (DefTextToNum(text, mode) > maxNum) text = DefNumToText(static_cast<int16_t>(maxNum), mode);
  // A code of more than two characters can read negative in the base-16 mode; no number field
  // takes a value below 0.
  const int16_t n = std::max<int16_t>(DefTextToNum(text, mode), 0);
  text = DefNumToText(n, mode);
  return n;
}

}  // namespace mk
