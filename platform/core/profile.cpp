// Profile (ini) files read and written one key at a time.
#include "profile.h"

#include <optional>
#include <string_view>
#include <vector>

#include "ansitext.h"
#include "textfile.h"

namespace plat {

namespace {

// The section name of a header line ("[name]", blanks allowed around), or nothing.
std::optional<std::string> SectionOf(std::string_view line) {
  std::string t = Trim(line);
  if (t.empty() || t[0] != '[') return std::nullopt;
  size_t close = t.find(']');
  return Trim(std::string_view(t).substr(1, close == std::string::npos ? std::string::npos : close - 1));
}

// Key and value of a "key = value" line; comment lines and lines without "=" have none.
bool KeyValueOf(std::string_view line, std::string& key, std::string& value) {
  std::string t = Trim(line);
  if (t.empty() || t[0] == ';') return false;
  size_t eq = t.find('=');
  if (eq == std::string::npos) return false;
  key = Trim(std::string_view(t).substr(0, eq));
  value = Trim(std::string_view(t).substr(eq + 1));
  return true;
}

struct Located {
  int sectionLine = -1;  // header line of the first matching section
  int sectionEnd = -1;   // first line after that section's last non-blank line
  int keyLine = -1;      // first matching key line within it
  std::string value;
};

Located Locate(const std::vector<std::string>& lines, const std::string& section, const std::string& key) {
  Located at;
  std::string wantSection = Trim(section), wantKey = Trim(key);
  bool inside = false;
  for (int i = 0; i < static_cast<int>(lines.size()); ++i) {
    if (auto name = SectionOf(lines[i])) {
      if (inside) break;  // the matching section ended
      if (EqualsNoCase(*name, wantSection)) {
        inside = true;
        at.sectionLine = i;
        at.sectionEnd = i + 1;
      }
      continue;
    }
    if (!inside) continue;
    if (!Trim(lines[i]).empty()) at.sectionEnd = i + 1;
    std::string k, v;
    if (at.keyLine < 0 && KeyValueOf(lines[i], k, v) && EqualsNoCase(k, wantKey)) {
      at.keyLine = i;
      at.value = v;
    }
  }
  return at;
}

bool HasLineBreak(const std::string& s) { return s.find_first_of("\r\n") != std::string::npos; }

}  // namespace

ProfileSnapshot::ProfileSnapshot(const std::string& file) {
  std::string bytes, error;
  if (ReadFileBytes(file, bytes, error)) lines_ = SplitLines(DecodeAnsi(bytes));
}

std::string ProfileSnapshot::Get(const std::string& section, const std::string& key, const std::string& def,
                                 size_t bufSize) const {
  if (bufSize == 0) return std::string();
  std::string result;
  const Located at = Locate(lines_, section, key);
  if (at.keyLine >= 0) {
    result = at.value;
  } else {
    // The default loses its trailing blanks, as the classic call does.
    result = def;
    while (!result.empty() && (result.back() == ' ' || result.back() == '\t')) result.pop_back();
  }
  return AnsiLeft(result, bufSize - 1);
}

std::string GetProfileString(const std::string& section, const std::string& key, const std::string& def, size_t bufSize,
                             const std::string& file) {
  if (bufSize == 0) return std::string();
  return ProfileSnapshot(file).Get(section, key, def, bufSize);
}

namespace {

// A name or value that would break the line structure cannot be stored faithfully.
bool Storable(const ProfileEntry& e) {
  const std::string key = Trim(e.key);
  return !HasLineBreak(e.section) && !HasLineBreak(e.key) && !HasLineBreak(e.value) &&
         e.section.find(']') == std::string::npos && e.key.find('=') == std::string::npos && !key.empty() &&
         key[0] != ';' && key[0] != '[';
}

// One write into the lines: the value replaced where the key stands, or the key added after the
// section's last line, or the section added at the end.
void Apply(std::vector<std::string>& lines, const ProfileEntry& e) {
  std::string entry = Trim(e.key) + "=" + e.value;
  Located at = Locate(lines, e.section, e.key);
  if (at.keyLine >= 0) {
    lines[at.keyLine] = entry;
  } else if (at.sectionLine >= 0) {
    lines.insert(lines.begin() + at.sectionEnd, entry);
  } else {
    std::string header = "[";  // (built by appends: GCC 12 misreports "[" + s + "]" at -O2)
    header += Trim(e.section);
    header += ']';
    lines.push_back(header);
    lines.push_back(entry);
  }
}

}  // namespace

bool WriteProfileStrings(const std::vector<ProfileEntry>& entries, const std::string& file) {
  std::vector<const ProfileEntry*> storable;
  for (const ProfileEntry& e : entries)
    if (Storable(e)) storable.push_back(&e);
  if (storable.empty()) return entries.empty();
  std::string bytes, error;
  std::vector<std::string> lines;
  if (PathExists(file)) {
    if (!ReadFileBytes(file, bytes, error)) return false;  // never overwrite what we can't read
    lines = SplitLines(DecodeAnsi(bytes));
  }
  for (const ProfileEntry* e : storable) Apply(lines, *e);
  std::string text;
  for (const std::string& l : lines) {
    text += l;
    text += "\r\n";
  }
  return WriteFileAtomic(file, EncodeAnsi(text), error) && storable.size() == entries.size();
}

bool WriteProfileString(const std::string& section, const std::string& key, const std::string& value,
                        const std::string& file) {
  return WriteProfileStrings({ProfileEntry{section, key, value}}, file);
}

}  // namespace plat
