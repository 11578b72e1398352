#include "chartfmt/utils.h"

#include <charconv>
#include <cmath>

#include "platform/core/ansitext.h"
#include "platform/core/desktop.h"
#include "platform/core/textfile.h"

namespace mk {

void ShowFileProperties(const std::string& path) {
  plat::TheDesktop().ShowFileProperties(path);  // nothing is reported either way
}

int32_t AnsiByteLen(const std::string& text) { return plat::AnsiByteLen(text); }

namespace {

// Adds one unit at the last digit of a decimal digit string; true when it carried out of
// the first digit (the caller then puts a "1" in front).
bool IncrementDigits(std::string& digits) {
  for (size_t i = digits.size(); i-- > 0;) {
    if (digits[i] != '9') {
      ++digits[i];
      return false;
    }
    digits[i] = '0';
  }
  return true;
}

}  // namespace

// Plain decimal text with at most 15 significant digits and at most 15 places after the
// point, trailing zeros and a trailing point dropped. Independent of the locale.
std::string FormatNumberShort(double x) {
  if (!std::isfinite(x)) {
    char buf[16];
    auto r = std::to_chars(buf, buf + sizeof buf, x);
    return std::string(buf, r.ptr);
  }
  constexpr int kSig = 15;
  constexpr int kPlaces = 15;
  // 15 significant digits, correctly rounded: "d.dddddddddddddde+XX".
  char buf[40];
  auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, kSig - 1);
  std::string sci(buf, r.ptr);
  bool negative = false;
  if (!sci.empty() && sci[0] == '-') {
    negative = true;
    sci.erase(0, 1);
  }
  const size_t ePos = sci.find('e');
  std::string digits = sci.substr(0, 1) + sci.substr(2, ePos - 2);  // kSig digits
  const int exp10 = std::stoi(sci.substr(ePos + 1));

  // Split into the integer part and the fraction; the first digit has weight 10^exp10.
  std::string intPart, frac;
  if (exp10 >= 0) {
    const size_t intLen = static_cast<size_t>(exp10) + 1;
    if (digits.size() <= intLen) {
      intPart = digits + std::string(intLen - digits.size(), '0');
    } else {
      intPart = digits.substr(0, intLen);
      frac = digits.substr(intLen);
    }
  } else {
    intPart = "0";
    frac = std::string(static_cast<size_t>(-exp10 - 1), '0') + digits;
  }
  if (frac.size() > static_cast<size_t>(kPlaces)) {
    const bool up = frac[kPlaces] >= '5';
    frac.resize(kPlaces);
    if (up && IncrementDigits(frac)) {
      if (IncrementDigits(intPart)) intPart.insert(0, 1, '1');
    }
  }
  while (!frac.empty() && frac.back() == '0') frac.pop_back();

  std::string out;
  const bool zero = intPart.find_first_not_of('0') == std::string::npos && frac.empty();
  if (negative && !zero) out = "-";
  out += intPart;
  if (!frac.empty()) out += "." + frac;
  return out;
}

int16_t FileExists(const std::string& path) { return plat::PathExists(path) ? -1 : 0; }

int16_t SplitCommandLine(const std::string& cmd, std::vector<std::string>& files) {
  if (cmd.find('/') == std::string::npos) return -1;  // names no file
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    const size_t blank = cmd.find(' ', start);
    parts.push_back(cmd.substr(start, blank == std::string::npos ? std::string::npos : blank - start));
    if (blank == std::string::npos) break;
    start = blank + 1;
  }
  if (parts.size() > 32767) return -1;  // more entries than the count can say
  files = std::move(parts);
  return static_cast<int16_t>(files.size());
}

ShownValue ShownValueOf(std::string_view value) {
  if (value.size() <= kShownChars) return {std::string(value), false};  // no more characters than bytes
  std::string start = plat::CharLeft(value, kShownChars);
  if (start.size() == value.size()) return {std::move(start), false};
  return {start + "…（全" + std::to_string(plat::CharLen(value)) + "文字）", true};
}

}  // namespace mk
