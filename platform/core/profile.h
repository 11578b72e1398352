// Profile (ini) files with the classic semantics: [Section] headers and key=value lines;
// section and key names match without regard to case; keys and values are trimmed; a missing
// key yields the default passed; writing replaces the value in place or appends it (adding
// the section at the end when missing); the first write creates the file; other lines and
// comments are kept. Values are UTF-8 in memory, CP932 on disk.
#pragma once
#include <string>
#include <vector>

namespace plat {

// A profile file read once, for a reader that asks for many keys: Get answers exactly as
// GetProfileString would for the file as it was when the snapshot was taken.
class ProfileSnapshot {
 public:
  explicit ProfileSnapshot(const std::string& file);
  std::string Get(const std::string& section, const std::string& key, const std::string& def, size_t bufSize) const;

 private:
  std::vector<std::string> lines_;  // empty when the file cannot be read
};

// Reads one value; at most bufSize-1 bytes (CP932) of it are returned, like a fixed buffer.
std::string GetProfileString(const std::string& section, const std::string& key, const std::string& def, size_t bufSize,
                             const std::string& file);

// Writes one value; false when the file cannot be written (callers may ignore it).
bool WriteProfileString(const std::string& section, const std::string& key, const std::string& value,
                        const std::string& file);

// Several writes, made in order as WriteProfileString would make them one by one, with one
// replace of the file. An entry that cannot be stored (a line break in it, a "]" in the section,
// a "=" in the key, an empty key) is left out; false when one was left out or the file cannot
// be written.
struct ProfileEntry {
  std::string section;
  std::string key;
  std::string value;
};
bool WriteProfileStrings(const std::vector<ProfileEntry>& entries, const std::string& file);

}  // namespace plat
