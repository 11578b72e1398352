// The leading-number value of a text, rounding and checked integer stores.
#include "vbnum.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

namespace plat {

namespace {

bool IsSkipped(char c) { return c == ' ' || c == '\t' || c == '\n'; }

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return 99;
}

}  // namespace

double LeadingNumber(std::string_view text) {
  // Blanks, tabs and line feeds are skipped wherever they stand ("1 2" reads 12).
  std::string s;
  s.reserve(text.size());
  for (char c : text)
    if (!IsSkipped(c)) s.push_back(c);

  size_t i = 0;
  const size_t n = s.size();
  if (n >= 2 && s[0] == '&') {
    int base = 0;
    if (s[1] == 'H' || s[1] == 'h') base = 16;
    if (s[1] == 'O' || s[1] == 'o') base = 8;
    if (base != 0) {
      double v = 0;
      for (i = 2; i < n && DigitValue(s[i]) < base; ++i) v = v * base + DigitValue(s[i]);
      return v;
    }
    return 0;
  }

  // Build a clean decimal text "[-]digits[.digits][e[-]digits]" from the longest valid prefix.
  std::string clean;
  bool negative = false;
  if (i < n && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  size_t mantissaDigits = 0;
  // Decimal order of the mantissa: the places before the point from its first non-zero digit,
  // or minus the zeros after the point before the first non-zero digit.
  long long order = 0;
  bool nonZeroSeen = false;
  while (i < n && s[i] >= '0' && s[i] <= '9') {
    nonZeroSeen = nonZeroSeen || s[i] != '0';
    if (nonZeroSeen) ++order;
    clean.push_back(s[i++]);
    ++mantissaDigits;
  }
  if (i < n && s[i] == '.') {
    ++i;
    std::string frac;
    while (i < n && s[i] >= '0' && s[i] <= '9') {
      if (!nonZeroSeen && s[i] == '0') --order;
      nonZeroSeen = nonZeroSeen || s[i] != '0';
      frac.push_back(s[i++]);
      ++mantissaDigits;
    }
    if (!frac.empty()) clean += "." + frac;
  }
  if (mantissaDigits == 0) return 0;
  long long exponent = 0;
  if (i < n && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
    size_t j = i + 1;
    std::string exp;
    bool negativeExponent = false;
    if (j < n && (s[j] == '+' || s[j] == '-')) {
      negativeExponent = s[j] == '-';
      exp.push_back(s[j++]);
    }
    size_t digitsAt = j;
    while (j < n && s[j] >= '0' && s[j] <= '9') {
      if (exponent < 1000000000) exponent = exponent * 10 + (s[j] - '0');
      exp.push_back(s[j++]);
    }
    if (negativeExponent) exponent = -exponent;
    if (j > digitsAt)
      clean += "e" + exp;  // an exponent without digits is not part of it
    else
      exponent = 0;
  }

  double v = 0;
  auto [ptr, ec] = std::from_chars(clean.data(), clean.data() + clean.size(), v, std::chars_format::general);
  (void)ptr;
  if (ec == std::errc::result_out_of_range) {
    // Too small for a double reads 0; too large reads as infinity (no 16-/32-bit store takes
    // it). Which of the two it is follows from the number's decimal order, not from the sign
    // of the exponent alone ("1" and 400 zeros "E-10" is large).
    v = order + exponent > 0 ? HUGE_VAL : 0.0;
  } else if (ec != std::errc()) {
    v = 0;
  }
  return negative && v != 0 ? -v : v;  // "-0" reads 0, not negative zero
}

double FieldNumber(std::string_view text) {
  const double v = LeadingNumber(text);
  return std::isfinite(v) ? v : 0.0;
}

double RoundHalfEven(double x) {
  if (!std::isfinite(x)) return x;
  double r = std::round(x);  // halves away from zero
  if (std::fabs(x - std::trunc(x)) == 0.5) r = 2.0 * std::round(x / 2.0);
  return r == 0 ? 0.0 : r;  // no negative zero
}

std::optional<int16_t> ToInt16(double x) {
  if (!std::isfinite(x)) return std::nullopt;
  double r = RoundHalfEven(x);
  if (r < -32768.0 || r > 32767.0) return std::nullopt;
  return static_cast<int16_t>(r);
}

std::optional<int32_t> ToInt32(double x) {
  if (!std::isfinite(x)) return std::nullopt;
  double r = RoundHalfEven(x);
  if (r < -2147483648.0 || r > 2147483647.0) return std::nullopt;
  return static_cast<int32_t>(r);
}

std::array<int, 3> ColourPairs(std::string_view text) {
  std::array<int, 3> rgb{};
  size_t i = 0;
  for (int& part : rgb) {
    bool leading = true;  // still in the pair's leading base-16 digits
    for (int c = 0; c < 2 && i < text.size(); ++c) {
      const size_t start = i++;
      while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
      const int d = i - start == 1 ? DigitValue(text[start]) : 99;
      if (leading && d < 16)
        part = part * 16 + d;
      else
        leading = false;
    }
  }
  return rgb;
}

std::string NumberToText(double x) {
  if (std::isnan(x)) return " NaN";
  if (std::isinf(x)) return x > 0 ? " Inf" : "-Inf";
  if (x == 0) return " 0";
  // Fifteen significant digits; fixed notation for exponents -5 < e < 15, otherwise E notation
  // with a signed exponent of at least two digits ("1E+15", "1E-05"); "0." loses its zero (".5").
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.15G", std::fabs(x));
  std::string t = buf;
  size_t e = t.find('E');
  std::string mant = e == std::string::npos ? t : t.substr(0, e);
  std::string exp = e == std::string::npos ? "" : t.substr(e);
  if (mant.find('.') != std::string::npos) {
    while (!mant.empty() && mant.back() == '0') mant.pop_back();
    if (!mant.empty() && mant.back() == '.') mant.pop_back();
  }
  if (mant.size() > 1 && mant[0] == '0' && mant[1] == '.') mant.erase(0, 1);
  return (x < 0 ? "-" : " ") + mant + exp;
}

}  // namespace plat
