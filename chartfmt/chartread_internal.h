// The state of one chart read, shared by the line reader (chartread.cpp) and the channel-line
// reader (chartread_channels.cpp). Internal to the chart reader.
#pragma once
#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "chartfmt/chartread.h"
#include "chartfmt/docdata.h"

namespace mk::chartread {

// ASCII letters upper-cased; every other byte unchanged.
inline char Up(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

// Byte length of the UTF-8 character that starts at s[i] (1 for ASCII and for a stray byte).
size_t CharBytes(std::string_view s, size_t i);

struct StringHash {
  using is_transparent = void;
  size_t operator()(std::string_view s) const {  // FNV-1a: channel names are short
    uint64_t h = 1469598103934665603ULL;
    for (char c : s) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    return static_cast<size_t>(h);
  }
};

// Names looked up by their bytes, many times per line: a name of up to 7 bytes is packed with
// its length into one word and found in an open-addressed table; longer names are kept in a
// hash map beside it. Lookups may upper-case the ASCII letters of the text on the way.
template <typename V>
class NameIndex {
 public:
  // Adds name with value v unless it is there already (the first one stays); false then.
  bool Insert(std::string_view name, const V& v) {
    if (Find(name, false)) return false;
    uint64_t key;
    if (!Pack(name, false, key)) {
      long_.emplace(std::string(name), v);
      return true;
    }
    if ((count_ + 1) * 2 > keys_.size()) Rehash(keys_.empty() ? 64 : 2 * keys_.size());
    Place(key, v);
    ++count_;
    return true;
  }
  const V* Find(std::string_view name, bool upper) const {
    uint64_t key;
    if (Pack(name, upper, key)) {
      if (keys_.empty()) return nullptr;
      for (size_t i = Home(key);; i = (i + 1) & (keys_.size() - 1)) {
        if (keys_[i] == key) return &vals_[i];
        if (keys_[i] == 0) return nullptr;
      }
    }
    if (long_.empty()) return nullptr;
    std::string text(name);
    if (upper)
      for (char& c : text) c = Up(c);
    const auto it = long_.find(text);
    return it == long_.end() ? nullptr : &it->second;
  }

 private:
  static bool Pack(std::string_view s, bool upper, uint64_t& key) {
    if (s.empty() || s.size() > 7) return false;
    uint64_t k = static_cast<uint64_t>(s.size()) << 56;
    for (size_t i = 0; i < s.size(); ++i)
      k |= static_cast<uint64_t>(static_cast<unsigned char>(upper ? Up(s[i]) : s[i])) << (8 * i);
    key = k;
    return true;
  }
  size_t Home(uint64_t key) const {
    return static_cast<size_t>((key * 0x9E3779B97F4A7C15ULL) >> 32) & (keys_.size() - 1);
  }
  void Place(uint64_t key, const V& v) {
    size_t i = Home(key);
    while (keys_[i] != 0) i = (i + 1) & (keys_.size() - 1);
    keys_[i] = key;
    vals_[i] = v;
  }
  void Rehash(size_t size) {
    std::vector<uint64_t> keys = std::move(keys_);
    std::vector<V> vals = std::move(vals_);
    keys_.assign(size, 0);
    vals_.assign(size, V{});
    for (size_t i = 0; i < keys.size(); ++i)
      if (keys[i] != 0) Place(keys[i], vals[i]);
  }

  std::vector<uint64_t> keys_;  // 0: a free place (a packed key holds a length of at least 1)
  std::vector<V> vals_;
  size_t count_ = 0;
  std::unordered_map<std::string, V, StringHash, std::equal_to<>> long_;
};

// What a recognised channel name stands for.
enum class ChannelKind : uint8_t { Tempo, Length, GroupDigit, GroupW, LaneFront, LaneBack };

struct ChannelEntry {
  int order = 0;  // place in the order of trial; the lowest matching one decides
  ChannelKind kind = ChannelKind::Tempo;
  int16_t index = 0;  // group index or lane number
  int8_t digit = 0;   // group digit 0..7
  uint8_t pad = 0;
};

enum class LineOutcome { NoMatch, Done, Failed };

class Reader {
 public:
  Reader(DocData& doc, bool scratch);

  // Channel lines for a measure past both this limit and the measure count stay free text
  // (-1: no limit).
  int measureLimit = -1;

  // Interprets one line (UTF-8, no line end). ascii: the line has no byte above 0x7F.
  bool Line(std::string_view line, bool ascii);
  // Recomputes the slot counts of every cell. Each line settles the cells it writes; this is
  // for a read stopped part way through a line.
  void Finish();

  int32_t lineNo = 0;
  std::string reason;

 private:
  // chartread.cpp
  bool IsCommandSymbol(std::string_view ch) const;
  bool CommandLine(std::string_view line, size_t firstBytes);
  bool Definition(std::string_view line, size_t firstBytes, bool commentForm, bool bga, bool& matched);
  void FreeLine(std::string_view line);
  bool IsEcho(std::string_view line) const;
  bool Fail(std::string text);

  // chartread_channels.cpp
  void BuildChannelIndex();
  int AddSymbol(std::string_view ch);  // cleaned byte of a non-ASCII symbol, or -1
  bool MapName(std::string_view name, std::string& out) const;
  void AddChannel(std::string_view name, ChannelEntry e);
  LineOutcome ChannelLine(std::string_view line, size_t firstBytes, bool ascii);
  void Clean(std::string_view line, size_t firstBytes, bool ascii);
  // 0 when text (letter case ignored) makes no separator acceptable, 2 for the measure-length
  // channel, 1 for any other known channel text.
  uint8_t KnownChannel(std::string_view text) const;
  void AddKnown(std::string_view upperName, uint8_t kind);
  bool GrowTo(int m);
  int CodeValue(std::string_view data, size_t i, int16_t mode, const int16_t* table) const;
  int OtherCodeValue(char a, char b, int16_t mode) const;
  int16_t LaneMode(int lane) const;
  bool StoreTempo(std::string_view data, int m);
  bool StoreLane(const ChannelEntry& e, std::string_view data, int m);
  int64_t StoreCodes(CellLayer& layer, std::string_view data, int16_t mode, bool rounded, uint16_t& bits) const;
  bool StoreGroup(const ChannelEntry& e, std::string_view data, int m);
  // The writable cell of lane and measure; counts the cells the chart stores.
  MesData& Cell(int lane, int m);
  // After a line wrote cell (of lane and measure m): its slot count takes in the ticks of the
  // ORed slot bits (is counted afresh when recount), and a cell left with nothing is cleared.
  void Settle(int lane, int m, MesData& cell, uint16_t bits, bool recount = false);
  bool LayerFree(int lane, int m, bool back);
  void Mark(int lane, int m, bool back);
  void Count(int64_t stored) {
    doc_.ObjReadCount = static_cast<int32_t>(std::min<int64_t>(INT32_MAX, doc_.ObjReadCount + stored));
  }

  DocData& doc_;
  bool scratch_;
  int lanes_ = 0;  // last lane number that exists in both the lane table and the grid
  int ml_ = 3;     // digits of the measure field

  // Command symbols, separators and kept symbols. ASCII ones by byte; the others are listed
  // and stand in the cleaned line as byte 0x80 + their place in wideSyms_.
  size_t echoMin_ = SIZE_MAX, echoMax_ = 0;  // lengths of the echo lines
  std::array<bool, 256> kwFirst_{};          // first characters of the header and definition keywords
  std::array<bool, 128> hsym_{};
  std::array<bool, 128> ssym_{};
  std::array<bool, 128> osym_{};
  std::vector<std::string> wideSyms_;
  std::vector<uint8_t> wideH_, wideS_, wideO_;  // flags by place in wideSyms_

  // Upper-cased texts that make a separator acceptable, and the channel index of the cleaned
  // line: entries by cleaned name, and the distinct name lengths.
  // known_: 1 for a known channel text, 2 for the measure-length channel.
  NameIndex<uint8_t> known_;
  NameIndex<ChannelEntry> channels_;
  std::vector<size_t> nameLengths_;

  // Part-stacked lanes: per lane and measure, bit 0 front and bit 1 back reached by a line.
  bool stacked_ = false;
  std::vector<std::vector<uint8_t>> marks_;
  int64_t cells_ = 0;  // cells holding a record of their own

  std::array<uint8_t, 256> keep_{};     // byte -> cleaned byte, 0 when dropped
  std::array<uint8_t, 256> keepDot_{};  // the same, keeping "." (data of length lines)
  size_t maxKnown_ = 0;                 // longest text that makes a separator acceptable
  std::string cleanBuf_;
  std::string_view clean_;  // the cleaned line, one byte per character, in cleanBuf_
  bool lengthLine_ = false;
};

}  // namespace mk::chartread
