// Copy-on-write measure cells of one lane.
#include "chartfmt/grid.h"

#include <algorithm>
#include <cassert>
#include <stdexcept>

#include "chartfmt/cellpool.h"

namespace mk {

int16_t CellLayer::Get(size_t t) const {
  assert(t < kCellSlots);
  if (e_.size() <= 8) {
    for (const Entry& e : e_)
      if (e.Tick >= t) return e.Tick == t ? e.Value : int16_t{0};
    return 0;
  }
  const auto it = std::lower_bound(e_.begin(), e_.end(), t, [](const Entry& e, size_t x) { return e.Tick < x; });
  return it != e_.end() && it->Tick == t ? it->Value : int16_t{0};
}

void CellLayer::Set(size_t t, int16_t v) {
  assert(t < kCellSlots);
  const auto tick = static_cast<uint8_t>(t);
  if (e_.empty() || e_.back().Tick < tick) {  // the common case: writing in tick order
    if (v != 0) e_.push_back(Entry{tick, v});
    return;
  }
  const auto it = std::lower_bound(e_.begin(), e_.end(), t, [](const Entry& e, size_t x) { return e.Tick < x; });
  if (it != e_.end() && it->Tick == tick) {
    if (v != 0) it->Value = v;
    else e_.erase(it);
  } else if (v != 0) {
    e_.insert(it, Entry{tick, v});
  }
}

const MesData& MesList::Empty() {
  static const MesData empty{};
  return empty;
}

MesData& MesList::Write(size_t m) {
  assert(m < size_);
  const size_t bi = m / kBlock;
  if (!blocks_) blocks_ = std::make_shared<Blocks>();
  else if (blocks_.use_count() > 1) blocks_ = std::make_shared<Blocks>(*blocks_);
  Blocks& blocks = *blocks_;
  if (blocks.size() <= bi) blocks.resize(bi + 1);
  std::shared_ptr<Block>& block = blocks[bi];
  if (!block) block = std::make_shared<Block>();
  else if (block.use_count() > 1) block = std::make_shared<Block>(*block);
  std::shared_ptr<MesData>& cell = (*block)[m % kBlock];
  if (!cell) cell = std::allocate_shared<MesData>(PoolAllocator<MesData>());
  else if (cell.use_count() > 1) cell = std::allocate_shared<MesData>(PoolAllocator<MesData>(), *cell);
  return *cell;
}

void MesList::Clear(size_t m) {
  if (!Stored(m)) return;
  if (blocks_.use_count() > 1) blocks_ = std::make_shared<Blocks>(*blocks_);
  std::shared_ptr<Block>& block = (*blocks_)[m / kBlock];
  if (block.use_count() > 1) block = std::make_shared<Block>(*block);
  (*block)[m % kBlock].reset();
}

void MesList::resize(size_t n) {
  if (n >= size_ || !blocks_) {
    size_ = n;
    if (n == 0) blocks_.reset();
    return;
  }
  // Shrinking: drop whole blocks past the end and the cells past the end in the last block, so
  // that growing again brings back empty measures.
  size_ = n;
  if (n == 0) {
    blocks_.reset();
    return;
  }
  const size_t keep = (n + kBlock - 1) / kBlock;
  const size_t cut = n % kBlock;
  const bool tail = cut != 0 && keep <= blocks_->size() && (*blocks_)[keep - 1];
  if (blocks_->size() <= keep && !tail) return;
  if (blocks_.use_count() > 1) blocks_ = std::make_shared<Blocks>(*blocks_);
  if (blocks_->size() > keep) blocks_->resize(keep);
  if (tail) {
    std::shared_ptr<Block>& block = (*blocks_)[keep - 1];
    if (block.use_count() > 1) block = std::make_shared<Block>(*block);
    for (size_t i = cut; i < kBlock; ++i) (*block)[i].reset();
  }
}

const MesData& MesList::at(size_t m) const {
  if (m >= size_) throw std::out_of_range("MesList::at");
  return (*this)[m];
}

size_t MesList::StoredEnd() const {
  if (!blocks_) return 0;
  return std::min(size_, blocks_->size() * kBlock);
}

std::shared_ptr<MesData> MesList::Ref(size_t m) const {
  if (!blocks_ || m / kBlock >= blocks_->size()) return nullptr;
  const Block* b = (*blocks_)[m / kBlock].get();
  return b ? (*b)[m % kBlock] : nullptr;
}

void MesList::SetRef(size_t m, std::shared_ptr<MesData> cell) {
  if (!cell && !Stored(m)) return;
  if (!blocks_) blocks_ = std::make_shared<Blocks>();
  else if (blocks_.use_count() > 1) blocks_ = std::make_shared<Blocks>(*blocks_);
  Blocks& blocks = *blocks_;
  const size_t bi = m / kBlock;
  if (blocks.size() <= bi) blocks.resize(bi + 1);
  std::shared_ptr<Block>& block = blocks[bi];
  if (!block) block = std::make_shared<Block>();
  else if (block.use_count() > 1) block = std::make_shared<Block>(*block);
  (*block)[m % kBlock] = std::move(cell);
}

void MesList::Insert(size_t m) {
  assert(m <= size_);
  const size_t end = StoredEnd();
  ++size_;
  for (size_t i = end; i > m; --i) SetRef(i, Ref(i - 1));
  SetRef(m, nullptr);
}

void MesList::Erase(size_t m) {
  assert(m < size_);
  const size_t end = StoredEnd();
  for (size_t i = m; i + 1 < end; ++i) SetRef(i, Ref(i + 1));
  if (m < end) SetRef(end - 1, nullptr);
  resize(size_ - 1);
}

bool MesList::Stored(size_t m) const {
  if (!blocks_ || m >= size_ || m / kBlock >= blocks_->size()) return false;
  const Block* b = (*blocks_)[m / kBlock].get();
  return b && (*b)[m % kBlock];
}

size_t MesList::StoredCells() const {
  if (!blocks_) return 0;
  size_t n = 0;
  for (const auto& b : *blocks_)
    if (b)
      for (const auto& c : *b) n += c ? 1 : 0;
  return n;
}

bool MesList::operator==(const MesList& o) const {
  if (size_ != o.size_) return false;
  for (size_t m = 0; m < size_; ++m) {
    const MesData& a = (*this)[m];
    const MesData& b = o[m];
    if (&a != &b && !(a == b)) return false;
  }
  return true;
}

}  // namespace mk
