// CP932 <-> UTF-8 through tables built once from iconv's "CP932" converter.
//
// "CP932" (not "SHIFT_JIS") keeps 0x5C a backslash and maps 0x8160 to U+FF5E as the Windows code
// page does. The tables make the conversion a plain loop; iconv is only asked while they are built.
// A byte that does not start a decodable character becomes U+F700 + byte (U+F780..U+F7FF, a
// private-use range that no CP932 character decodes to) and is written back as that byte.
#include "ansitext.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

namespace plat {
namespace {

constexpr char32_t kRawBase = 0xF700;  // raw byte b (0x80..0xFF) <-> U+F700 + b

bool IsRaw(char32_t cp) { return cp >= kRawBase + 0x80 && cp <= kRawBase + 0xFF; }

// One code point out of UTF-8 at s[i]; advances i. Invalid sequences give 0xFFFFFFFF and
// advance by one byte, so every byte is consumed exactly once.
constexpr char32_t kBad = 0xFFFFFFFF;
char32_t NextCodePoint(std::string_view s, size_t& i) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  const size_t n = s.size();
  unsigned char c = p[i];
  if (c < 0x80) {
    ++i;
    return c;
  }
  int len = 0;
  char32_t cp = 0;
  if (c >= 0xC2 && c <= 0xDF) {
    len = 2;
    cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    len = 3;
    cp = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    len = 4;
    cp = c & 0x07;
  } else {
    ++i;
    return kBad;
  }
  if (i + len > n) {
    ++i;
    return kBad;
  }
  for (int k = 1; k < len; ++k) {
    unsigned char t = p[i + k];
    if ((t & 0xC0) != 0x80) {
      ++i;
      return kBad;
    }
    cp = (cp << 6) | (t & 0x3F);
  }
  // Reject overlong forms, surrogates and values past U+10FFFF.
  if ((len == 3 && cp < 0x800) || (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return kBad;
  }
  i += len;
  return cp;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

struct Tables {
  // single[b]: code point of byte b alone; 0 with singleOk[b] false when it is no character.
  std::array<char32_t, 256> single{};
  std::array<bool, 256> singleOk{};
  // dbcs[(lead << 8) | trail]: code point of a double-byte character, 0 when undefined.
  std::unique_ptr<char16_t[]> dbcs{new char16_t[65536]()};
  // enc[cp] for cp < 0x10000: CP932 bytes (high byte 0 for a single byte); 0 when none.
  // U+0000 is the only character whose bytes are 0; it is handled before the lookup.
  std::unique_ptr<uint16_t[]> enc{new uint16_t[65536]()};

  Tables() {
    iconv_t dec = iconv_open("UTF-32LE", "CP932");
    iconv_t en = iconv_open("CP932", "UTF-32LE");
    if (dec == reinterpret_cast<iconv_t>(-1) || en == reinterpret_cast<iconv_t>(-1)) {
      // Without the converter only ASCII is known; everything else round-trips as raw bytes.
      for (int b = 0; b < 0x80; ++b) {
        single[b] = static_cast<char32_t>(b);
        singleOk[b] = true;
        enc[b] = static_cast<uint16_t>(b);
      }
      if (dec != reinterpret_cast<iconv_t>(-1)) iconv_close(dec);
      if (en != reinterpret_cast<iconv_t>(-1)) iconv_close(en);
      return;
    }
    auto decode = [&](const unsigned char* in, size_t n, char32_t& cp) {
      iconv(dec, nullptr, nullptr, nullptr, nullptr);
      char* ip = reinterpret_cast<char*>(const_cast<unsigned char*>(in));
      size_t il = n;
      char32_t outBuf[4];
      char* op = reinterpret_cast<char*>(outBuf);
      size_t ol = sizeof outBuf;
      if (iconv(dec, &ip, &il, &op, &ol) == static_cast<size_t>(-1) || il != 0) return false;
      if (sizeof outBuf - ol != 4) return false;  // exactly one character
      unsigned char le[4];
      std::memcpy(le, outBuf, 4);
      cp = le[0] | (le[1] << 8) | (le[2] << 16) | (static_cast<char32_t>(le[3]) << 24);
      return cp < 0x10000 && !IsRaw(cp);
    };
    for (int b = 0; b < 256; ++b) {
      if (IsAnsiLeadByte(static_cast<unsigned char>(b))) continue;
      unsigned char in = static_cast<unsigned char>(b);
      char32_t cp = 0;
      if (decode(&in, 1, cp)) {
        single[b] = cp;
        singleOk[b] = true;
      }
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
      if (!IsAnsiLeadByte(static_cast<unsigned char>(lead))) continue;
      for (int trail = 0x40; trail <= 0xFC; ++trail) {
        if (trail == 0x7F) continue;
        unsigned char in[2] = {static_cast<unsigned char>(lead), static_cast<unsigned char>(trail)};
        char32_t cp = 0;
        if (decode(in, 2, cp) && cp != 0) dbcs[(lead << 8) | trail] = static_cast<char16_t>(cp);
      }
    }
    // The reverse table: for every character the code page decodes to, the bytes iconv writes
    // for it (several byte pairs can decode to one character; iconv picks the canonical one).
    auto encodeOne = [&](char32_t cp, uint16_t& bytes) {
      iconv(en, nullptr, nullptr, nullptr, nullptr);
      unsigned char le[4] = {static_cast<unsigned char>(cp), static_cast<unsigned char>(cp >> 8),
                             static_cast<unsigned char>(cp >> 16), 0};
      char* ip = reinterpret_cast<char*>(le);
      size_t il = 4;
      unsigned char outBuf[8];
      char* op = reinterpret_cast<char*>(outBuf);
      size_t ol = sizeof outBuf;
      if (iconv(en, &ip, &il, &op, &ol) == static_cast<size_t>(-1) || il != 0) return false;
      size_t n = sizeof outBuf - ol;
      if (n == 1) {
        bytes = outBuf[0];
        return true;
      }
      if (n == 2) {
        bytes = static_cast<uint16_t>((outBuf[0] << 8) | outBuf[1]);
        return true;
      }
      return false;
    };
    auto addReverse = [&](char32_t cp) {
      if (cp == 0 || enc[cp] != 0) return;
      uint16_t bytes = 0;
      if (encodeOne(cp, bytes)) enc[cp] = bytes;
    };
    for (int b = 0; b < 256; ++b)
      if (singleOk[b]) addReverse(single[b]);
    for (int i = 0; i < 65536; ++i)
      if (dbcs[i] != 0) addReverse(dbcs[i]);
    // Characters the code page writes without reading them back the same way, as Windows does
    // (U+301C wave dash -> 0x8160, U+2212 minus -> 0x817C, U+00A5 yen -> 0x5C, ...).
    for (char32_t cp = 0x80; cp < 0x10000; ++cp) {
      if (cp == 0xD800) cp = 0xE000;  // no surrogates; and
      if (cp == 0xE000) cp = 0xF900;  // the private-use area is read back exactly
      addReverse(cp);
    }
    iconv_close(dec);
    iconv_close(en);
  }
};

const Tables& T() {
  static const Tables tables;
  return tables;
}

bool AllAscii(std::string_view s) {
  // Eight bytes at a time; the high bit of any byte marks non-ASCII text.
  const char* p = s.data();
  size_t n = s.size();
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t w;
    std::memcpy(&w, p + i, 8);
    if (w & 0x8080808080808080ULL) return false;
  }
  for (; i < n; ++i)
    if (static_cast<unsigned char>(p[i]) & 0x80) return false;
  return true;
}

// CP932 bytes of one code point: 1 or 2 with the bytes in b; 0 when the code page has none.
int EncodeCodePoint(char32_t cp, unsigned char b[2]) {
  if (cp < 0x80) {
    b[0] = static_cast<unsigned char>(cp);
    return 1;
  }
  if (IsRaw(cp)) {
    b[0] = static_cast<unsigned char>(cp - kRawBase);
    return 1;
  }
  if (cp >= 0x10000) return 0;
  uint16_t v = T().enc[cp];
  if (v == 0) return 0;
  if (v < 0x100) {
    b[0] = static_cast<unsigned char>(v);
    return 1;
  }
  b[0] = static_cast<unsigned char>(v >> 8);
  b[1] = static_cast<unsigned char>(v & 0xFF);
  return 2;
}

}  // namespace

bool IsAnsiLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

std::string DecodeAnsi(std::string_view cp932) {
  if (AllAscii(cp932)) return std::string(cp932);
  const Tables& t = T();
  const auto* p = reinterpret_cast<const unsigned char*>(cp932.data());
  const size_t n = cp932.size();
  std::string out;
  out.reserve(n + n / 2);
  for (size_t i = 0; i < n;) {
    unsigned char b = p[i];
    if (b < 0x80) {
      out.push_back(static_cast<char>(b));
      ++i;
      continue;
    }
    if (IsAnsiLeadByte(b) && i + 1 < n) {
      const unsigned char trail = p[i + 1];
      char16_t cp = t.dbcs[(b << 8) | trail];
      if (cp != 0) {
        AppendUtf8(out, cp);
        i += 2;
        continue;
      }
      // A pair the code page leaves unassigned is one undecodable character, as the system's
      // own conversion takes it: both bytes are kept. Starting again at a non-ASCII second
      // byte would pair it with the next one, and writing that character back (as its
      // preferred code) could pair the kept first byte with something else.
      if (trail >= 0x80 && trail <= 0xFC) {
        AppendUtf8(out, kRawBase + b);
        AppendUtf8(out, kRawBase + trail);
        i += 2;
        continue;
      }
    }
    if (t.singleOk[b])
      AppendUtf8(out, t.single[b]);
    else
      AppendUtf8(out, kRawBase + b);
    ++i;
  }
  return out;
}

std::string EncodeAnsi(std::string_view utf8) {
  if (AllAscii(utf8)) return std::string(utf8);
  std::string out;
  out.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    char32_t cp = NextCodePoint(utf8, i);
    unsigned char b[2];
    int k = cp == kBad ? 0 : EncodeCodePoint(cp, b);
    if (k == 0) {
      out.push_back('?');
    } else {
      out.push_back(static_cast<char>(b[0]));
      if (k == 2) out.push_back(static_cast<char>(b[1]));
    }
  }
  return out;
}

int32_t AnsiByteLen(std::string_view utf8) {
  if (AllAscii(utf8)) return static_cast<int32_t>(std::min<size_t>(utf8.size(), INT32_MAX));
  int64_t n = 0;
  for (size_t i = 0; i < utf8.size();) {
    char32_t cp = NextCodePoint(utf8, i);
    unsigned char b[2];
    int k = cp == kBad ? 0 : EncodeCodePoint(cp, b);
    n += k == 0 ? 1 : k;  // an unmappable character is written as one "?"
  }
  return static_cast<int32_t>(std::min<int64_t>(n, INT32_MAX));
}

std::string AnsiLeft(std::string_view utf8, size_t maxBytes) {
  if (AllAscii(utf8)) return std::string(utf8.substr(0, maxBytes));
  size_t used = 0;
  size_t i = 0;
  while (i < utf8.size()) {
    size_t next = i;
    char32_t cp = NextCodePoint(utf8, next);
    unsigned char b[2];
    int k = cp == kBad ? 0 : EncodeCodePoint(cp, b);
    size_t w = k == 0 ? 1 : static_cast<size_t>(k);
    if (used + w > maxBytes) break;
    used += w;
    i = next;
  }
  return std::string(utf8.substr(0, i));
}

size_t CharLen(std::string_view utf8) {
  size_t n = 0;
  for (size_t i = 0; i < utf8.size(); ++n) NextCodePoint(utf8, i);
  return n;
}

namespace {
// Byte offset of the character with 0-based index idx (utf8.size() when past the end).
size_t ByteOffsetOfChar(std::string_view utf8, size_t idx) {
  size_t i = 0;
  for (size_t c = 0; c < idx && i < utf8.size(); ++c) NextCodePoint(utf8, i);
  return i;
}
}  // namespace

std::string CharMid(std::string_view utf8, size_t start1, size_t count) {
  if (start1 == 0) start1 = 1;
  size_t from = ByteOffsetOfChar(utf8, start1 - 1);
  std::string_view rest = utf8.substr(from);
  if (count == std::string::npos) return std::string(rest);
  return std::string(rest.substr(0, ByteOffsetOfChar(rest, count)));
}

std::string CharLeft(std::string_view utf8, size_t count) {
  return std::string(utf8.substr(0, ByteOffsetOfChar(utf8, count)));
}

std::string CharRight(std::string_view utf8, size_t count) {
  size_t len = CharLen(utf8);
  if (count >= len) return std::string(utf8);
  return std::string(utf8.substr(ByteOffsetOfChar(utf8, len - count)));
}

size_t CharInStr(std::string_view utf8, std::string_view needle, size_t start1) {
  if (start1 == 0) start1 = 1;
  size_t len = CharLen(utf8);
  if (start1 > len) return 0;
  if (needle.empty()) return start1;
  size_t from = ByteOffsetOfChar(utf8, start1 - 1);
  size_t at = utf8.find(needle, from);
  if (at == std::string_view::npos) return 0;
  return CharLen(utf8.substr(0, at)) + 1;
}

std::string AsciiUpper(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::string AsciiLower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return std::string(s.substr(b, e - b));
}

}  // namespace plat
