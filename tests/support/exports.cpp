#include "exports.h"

#include <cstdio>

namespace testsupport {

std::optional<std::set<std::string>> DefinedDynamicSymbols(const std::string& library) {
  FILE* p = popen(("nm -D --defined-only " + library).c_str(), "r");
  if (p == nullptr) return std::nullopt;
  std::set<std::string> names;
  char line[512];
  while (fgets(line, sizeof line, p) != nullptr) {
    char addr[64], type[8], name[400];
    if (std::sscanf(line, "%63s %7s %399s", addr, type, name) == 3) names.insert(name);
  }
  if (pclose(p) != 0) return std::nullopt;
  return names;
}

}  // namespace testsupport
