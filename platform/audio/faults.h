// Failure injection for tests: a table of armed failures per kind of call (internal).
#pragma once
#include <cstdint>
#include <mutex>

namespace plat::audio::detail {

class FaultTable {
 public:
  static constexpr int kKinds = 16;

  void Arm(int kind, int64_t result, unsigned skip, unsigned count);
  void Clear();
  // True (with the result to return) when this call of that kind must fail.
  bool Take(int kind, int64_t* result);

 private:
  struct Slot {
    unsigned skip = 0;
    unsigned count = 0;
    int64_t result = 0;
  };
  std::mutex mu_;
  Slot slots_[kKinds];
};

FaultTable& DsFaults();
FaultTable& AcmFaults();
FaultTable& RiffFaults();

}  // namespace plat::audio::detail
