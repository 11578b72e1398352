// The names a shared library exports, as `nm -D --defined-only` lists them.
#pragma once
#include <optional>
#include <set>
#include <string>

namespace testsupport {

// Every defined dynamic symbol of library; nullopt when nm cannot be run or fails on it.
std::optional<std::set<std::string>> DefinedDynamicSymbols(const std::string& library);

}  // namespace testsupport
