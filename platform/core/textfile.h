// Reading and writing text files line by line, CP932 on disk, UTF-8 in memory.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace plat {

// Splits raw bytes into lines. A line ends at CR LF, at a lone CR, or at a lone LF;
// the terminator is not part of the line. A final line without terminator is kept;
// an empty input gives no lines, and a text ending in a terminator gives no extra empty line.
std::vector<std::string> SplitLines(std::string_view bytes);

// Whole file into memory. False with a reason ("ファイルを開けません" style texts are the
// caller's) when the file cannot be opened or read.
bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error);

// Reads a CP932 text file as UTF-8 lines.
bool ReadTextLines(const std::string& path, std::vector<std::string>& lines, std::string& error);

// Writes bytes to a temporary file in the target's folder and renames it over the target only
// when everything was written and flushed. On failure the old file is untouched.
bool WriteFileAtomic(const std::string& path, std::string_view bytes, std::string& error);

bool PathExists(const std::string& path);      // file or folder
bool IsRegularFile(const std::string& path);

}  // namespace plat
