// Text in the system's ANSI code page (CP932) and the character-counting helpers.
//
// Internally every text is UTF-8. Files are CP932; convert at the file boundary with
// DecodeAnsi / EncodeAnsi. A byte sequence that CP932 cannot decode is kept as private-use
// code points (one per byte) so that writing the text again gives back the same bytes;
// a character that CP932 cannot hold is written as "?".
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace plat {

std::string DecodeAnsi(std::string_view cp932);  // CP932 bytes -> UTF-8
std::string EncodeAnsi(std::string_view utf8);   // UTF-8 -> CP932 bytes

// Bytes of the text in CP932 (a double-byte character counts 2).
int32_t AnsiByteLen(std::string_view utf8);
// The longest run of whole characters from the start that takes at most maxBytes CP932 bytes
// (a fixed-size buffer never keeps half of a double-byte character).
std::string AnsiLeft(std::string_view utf8, size_t maxBytes);

// A byte that starts a double-byte character of the code page.
bool IsAnsiLeadByte(unsigned char b);

// Character-based helpers (count code points, not UTF-8 bytes), 1-based like the
// classic string functions the chart formats are described with.
size_t CharLen(std::string_view utf8);
std::string CharMid(std::string_view utf8, size_t start1, size_t count = std::string::npos);
std::string CharLeft(std::string_view utf8, size_t count);
std::string CharRight(std::string_view utf8, size_t count);
// 1-based position of the first occurrence of needle at or after character start1; 0 if none.
size_t CharInStr(std::string_view utf8, std::string_view needle, size_t start1 = 1);

// ASCII-only case mapping (what the chart formats need; other characters stay).
std::string AsciiUpper(std::string_view s);
std::string AsciiLower(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWithNoCase(std::string_view s, std::string_view prefix);

// Leading and trailing blanks (space and tab) removed.
std::string Trim(std::string_view s);

}  // namespace plat
