#include "faults.h"

namespace plat::audio::detail {

void FaultTable::Arm(int kind, int64_t result, unsigned skip, unsigned count) {
  if (kind < 0 || kind >= kKinds) return;
  std::lock_guard<std::mutex> g(mu_);
  slots_[kind] = Slot{skip, count, result};
}

void FaultTable::Clear() {
  std::lock_guard<std::mutex> g(mu_);
  for (Slot& s : slots_) s = Slot{};
}

bool FaultTable::Take(int kind, int64_t* result) {
  if (kind < 0 || kind >= kKinds) return false;
  std::lock_guard<std::mutex> g(mu_);
  Slot& s = slots_[kind];
  if (s.count == 0) return false;
  if (s.skip > 0) {
    --s.skip;
    return false;
  }
  --s.count;
  *result = s.result;
  return true;
}

FaultTable& DsFaults() {
  static FaultTable t;
  return t;
}
FaultTable& AcmFaults() {
  static FaultTable t;
  return t;
}
FaultTable& RiffFaults() {
  static FaultTable t;
  return t;
}

}  // namespace plat::audio::detail
