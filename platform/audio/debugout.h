// Diagnostic output of the sound libraries: one sink for every debug line.
//
// Each call writes its text whole (the caller formats it; a text longer than
// kDebugLineMax bytes is cut there, keeping its closing line feed if it has one). The text
// goes to standard error only when the environment variable MIRKAN_AUDIO_DEBUG is set to a
// non-empty value other than "0", and to the capture that a test has installed, if any.
// Nothing reaches the user.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace plat::audio {

constexpr size_t kDebugLineMax = 259;

// Writes one piece of diagnostic text (usually a line ending in "\n"; a piece without
// the line feed is completed by the next call). Safe from any thread.
void DebugOutput(std::string_view text);

// Collects every text given to DebugOutput while it lives (one capture at a time; a
// second one replaces the first until it ends). Used by tests.
class DebugCapture {
 public:
  DebugCapture();
  ~DebugCapture();
  DebugCapture(const DebugCapture&) = delete;
  DebugCapture& operator=(const DebugCapture&) = delete;

  std::string Text() const;                // everything, concatenated
  std::vector<std::string> Calls() const;  // one entry per DebugOutput call
  std::vector<std::string> Lines() const;  // Text() split after each "\n" (line feeds kept)
  void Clear();
};

}  // namespace plat::audio
