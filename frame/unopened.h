// The start-up's word on command-line files that no script reads: such a file is otherwise
// skipped without a message, and the user is left with an empty chart wondering where it went.
#pragma once
#include <string>
#include <vector>

namespace mk {

// The one message (title "警告") for every such file, in the order given: each path on a line
// of its own, the reason on the next: the file does not exist, it is a folder, its name has no
// extension, or no installed script reads its extension. After kUnopenedListed paths the rest
// are counted only.
inline constexpr size_t kUnopenedListed = 20;
std::string UnopenedFilesMessage(const std::vector<std::string>& paths);

}  // namespace mk
