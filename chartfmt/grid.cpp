// Copy-on-write measure cells of one lane.
#include "chartfmt/grid.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <new>
#include <stdexcept>

#include "chartfmt/cellpool.h"

namespace mk {

namespace {

using Entry = CellLayer::Entry;

Entry* TakeEntries(size_t cap) { return static_cast<Entry*>(cellpool::Take(cap * sizeof(Entry), alignof(Entry))); }

void GiveEntries(Entry* p, size_t cap) noexcept { cellpool::Give(p, cap * sizeof(Entry), alignof(Entry)); }

const Entry* FirstAtOrAfter(const Entry* b, const Entry* e, size_t t) {
  return std::lower_bound(b, e, t, [](const Entry& x, size_t y) { return x.Tick < y; });
}

}  // namespace

CellLayer::CellLayer(const CellLayer& o) { *this = o; }

CellLayer::CellLayer(CellLayer&& o) noexcept { Steal(o); }

CellLayer& CellLayer::operator=(const CellLayer& o) {
  if (this == &o) return *this;
  if (cap_ < o.n_) {
    Release();
    heap_ = TakeEntries(o.n_);
    cap_ = o.n_;
  }
  std::memcpy(Data(), o.Data(), o.n_ * sizeof(Entry));
  n_ = o.n_;
  return *this;
}

CellLayer& CellLayer::operator=(CellLayer&& o) noexcept {
  if (this == &o) return *this;
  Release();
  Steal(o);
  return *this;
}

void CellLayer::Steal(CellLayer& o) noexcept {
  n_ = o.n_;
  cap_ = o.cap_;
  if (o.Inline()) {
    std::memcpy(in_, o.in_, sizeof(in_));
  } else {
    heap_ = o.heap_;
    o.cap_ = kInline;
  }
  o.n_ = 0;
}

void CellLayer::Release() noexcept {
  if (!Inline()) GiveEntries(heap_, cap_);
  cap_ = kInline;
  n_ = 0;
}

void CellLayer::Regrow(size_t cap) {
  assert(cap >= n_ && cap <= kCellSlots);
  if (cap <= kInline) {
    if (Inline()) return;
    Entry* old = heap_;
    const size_t oldCap = cap_;
    std::memcpy(in_, old, n_ * sizeof(Entry));
    cap_ = kInline;
    GiveEntries(old, oldCap);
    return;
  }
  Entry* room = TakeEntries(cap);
  std::memcpy(room, Data(), n_ * sizeof(Entry));
  if (!Inline()) GiveEntries(heap_, cap_);
  heap_ = room;
  cap_ = static_cast<uint8_t>(cap);
}

void CellLayer::Reserve(size_t n) {
  n = std::min<size_t>(n, kCellSlots);
  if (n > cap_) Regrow(n);
}

int16_t CellLayer::Get(size_t t) const {
  assert(t < kCellSlots);
  const Entry* b = Data();
  const Entry* e = b + n_;
  if (n_ <= 8) {
    for (; b != e; ++b)
      if (b->Tick >= t) return b->Tick == t ? b->Value : int16_t{0};
    return 0;
  }
  const Entry* it = FirstAtOrAfter(b, e, t);
  return it != e && it->Tick == t ? it->Value : int16_t{0};
}

void CellLayer::Set(size_t t, int16_t v) {
  assert(t < kCellSlots);
  const auto tick = static_cast<uint8_t>(t);
  Entry* b = Data();
  Entry* it = b + n_;
  if (n_ != 0 && b[n_ - 1].Tick >= tick) {
    it = const_cast<Entry*>(FirstAtOrAfter(b, b + n_, t));
    if (it->Tick == tick) {
      if (v != 0) {
        it->Value = v;
      } else {
        std::memmove(it, it + 1, static_cast<size_t>(b + n_ - it - 1) * sizeof(Entry));
        --n_;
      }
      return;
    }
  }
  if (v == 0) return;
  const size_t at = static_cast<size_t>(it - b);
  if (n_ == cap_) {
    Regrow(std::min<size_t>(kCellSlots, std::max<size_t>(2 * cap_, 8)));
    b = Data();
  }
  std::memmove(b + at + 1, b + at, (n_ - at) * sizeof(Entry));
  b[at] = Entry{tick, v};
  ++n_;
}

void CellLayer::Merge(const Entry* in, size_t n) {
  if (n == 0) return;
  if (n_ == 0 || Data()[n_ - 1].Tick < in[0].Tick) {  // after every tick held: appended
    Reserve(n_ + n);
    std::memcpy(Data() + n_, in, n * sizeof(Entry));
    n_ = static_cast<uint8_t>(n_ + n);
    return;
  }
  Entry out[kCellSlots];
  const Entry* e = Data();
  size_t i = 0, j = 0, k = 0;
  while (i < n_ && j < n) {
    if (e[i].Tick < in[j].Tick) {
      out[k++] = e[i++];
    } else {
      if (e[i].Tick == in[j].Tick) ++i;  // the new value replaces the old one
      out[k++] = in[j++];
    }
  }
  while (i < n_) out[k++] = e[i++];
  while (j < n) out[k++] = in[j++];
  n_ = 0;  // nothing of the old entries needs keeping now
  Reserve(k);
  std::memcpy(Data(), out, k * sizeof(Entry));
  n_ = static_cast<uint8_t>(k);
}

MesList::CellRef MesList::CellRef::Make(const MesData& cell) {
  void* p = cellpool::Take(sizeof(Record), alignof(Record));
  CellRef ref;
  try {
    ref.r_ = new (p) Record{cell};
  } catch (...) {
    cellpool::Give(p, sizeof(Record), alignof(Record));
    throw;
  }
  return ref;
}

void MesList::CellRef::reset() noexcept {
  Record* r = r_;
  r_ = nullptr;
  if (!r || r->refs.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
  r->~Record();
  cellpool::Give(r, sizeof(Record), alignof(Record));
}

const MesData& MesList::Empty() {
  static const MesData empty{};
  return empty;
}

MesData& MesList::Write(size_t m) {
  assert(m < size_);
  const size_t bi = m / kBlock;
  if (!blocks_)
    blocks_ = std::make_shared<Blocks>();
  else if (blocks_.use_count() > 1)
    blocks_ = std::make_shared<Blocks>(*blocks_);
  Blocks& blocks = *blocks_;
  if (blocks.size() <= bi) blocks.resize(bi + 1);
  std::shared_ptr<Block>& block = blocks[bi];
  if (!block)
    block = std::make_shared<Block>();
  else if (block.use_count() > 1)
    block = std::make_shared<Block>(*block);
  CellRef& cell = (*block)[m % kBlock];
  if (!cell)
    cell = CellRef::Make(Empty());
  else if (cell.Shared())
    cell = CellRef::Make(*cell);
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

MesList::CellRef MesList::Ref(size_t m) const {
  if (!blocks_ || m / kBlock >= blocks_->size()) return {};
  const Block* b = (*blocks_)[m / kBlock].get();
  return b ? (*b)[m % kBlock] : CellRef();
}

void MesList::SetRef(size_t m, CellRef cell) {
  if (!cell && !Stored(m)) return;
  if (!blocks_)
    blocks_ = std::make_shared<Blocks>();
  else if (blocks_.use_count() > 1)
    blocks_ = std::make_shared<Blocks>(*blocks_);
  Blocks& blocks = *blocks_;
  const size_t bi = m / kBlock;
  if (blocks.size() <= bi) blocks.resize(bi + 1);
  std::shared_ptr<Block>& block = blocks[bi];
  if (!block)
    block = std::make_shared<Block>();
  else if (block.use_count() > 1)
    block = std::make_shared<Block>(*block);
  (*block)[m % kBlock] = std::move(cell);
}

void MesList::Insert(size_t m) {
  assert(m <= size_);
  const size_t end = StoredEnd();
  ++size_;
  for (size_t i = end; i > m; --i) SetRef(i, Ref(i - 1));
  SetRef(m, CellRef());
}

void MesList::Erase(size_t m) {
  assert(m < size_);
  const size_t end = StoredEnd();
  for (size_t i = m; i + 1 < end; ++i) SetRef(i, Ref(i + 1));
  if (m < end) SetRef(end - 1, CellRef());
  resize(size_ - 1);
}

bool MesList::Stored(size_t m) const {
  if (!blocks_ || m >= size_ || m / kBlock >= blocks_->size()) return false;
  const Block* b = (*blocks_)[m / kBlock].get();
  return b && static_cast<bool>((*b)[m % kBlock]);
}

size_t MesList::StoredCells() const {
  if (!blocks_) return 0;
  size_t n = 0;
  for (const auto& b : *blocks_)
    if (b)
      for (const auto& c : *b) n += c ? 1 : 0;
  return n;
}

size_t MesList::HeldBytes(std::unordered_set<const void*>& seen) const {
  if (!blocks_ || !seen.insert(blocks_.get()).second) return 0;
  size_t n = sizeof(Blocks) + blocks_->capacity() * sizeof(std::shared_ptr<Block>);
  for (const auto& b : *blocks_) {
    if (!b || !seen.insert(b.get()).second) continue;
    n += sizeof(Block);
    for (const CellRef& c : *b)
      if (c && seen.insert(c.get()).second)
        n += sizeof(Record) + c.get()->Obj.HeapBytes() + c.get()->BackObj.HeapBytes();
  }
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
