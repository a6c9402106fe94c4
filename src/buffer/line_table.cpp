#include "buffer/line_table.h"

#include <algorithm>
#include <iterator>

#include "platform/memory.h"

namespace quill {
namespace {

// Offsets of compact leaves are written to blocks that double from the smallest to the
// largest size.
constexpr std::size_t kMinOffsetBlock = std::size_t{1} << 12;
constexpr std::size_t kMaxOffsetBlock = std::size_t{1} << 21;
// A compact leaf's text spans at most this many bytes.
constexpr std::uintptr_t kMaxCompactSpan = 0xffff;

}  // namespace

using TLineTable = TCArray<TLineInfo*>;

int TLineTable::Search(int nIndex) const {
  const auto holds = [&](int k) {
    return k >= 0 && k < static_cast<int>(m_aLeaves.size()) &&
           static_cast<unsigned>(nIndex - m_aLeaves[k].nStart) < static_cast<unsigned>(m_aLeaves[k].nCount);
  };
  if (holds(m_nLeaf + 1)) return m_nLeaf + 1;
  if (holds(m_nLeaf - 1)) return m_nLeaf - 1;
  const auto it = std::upper_bound(m_aLeaves.begin(), m_aLeaves.end(), nIndex,
                                   [](int n, const TLeaf& leaf) { return n < leaf.nStart; });
  return static_cast<int>(it - m_aLeaves.begin()) - 1;
}

TLineInfo* TLineTable::Record(int nIndex) {
  int nPos;
  TLeaf& leaf = m_aLeaves[Find(nIndex, nPos)];
  MakeLoose(leaf);
  std::uintptr_t& nSlot = leaf.aSlots[nPos];
  if (IsPacked(nSlot)) {
    nSlot = reinterpret_cast<std::uintptr_t>(new TLineInfo{
        PackedChars(nSlot), PackedLength(nSlot), TLineInfo::Capacity(PackedLength(nSlot)), 0, TLineInfo::SLAB_TEXT});
  }
  return reinterpret_cast<TLineInfo*>(nSlot);
}

void TLineTable::SetAt(int nIndex, TLineInfo* pLine) {
  int nPos;
  TLeaf& leaf = m_aLeaves[Find(nIndex, nPos)];
  MakeLoose(leaf);
  leaf.aSlots[nPos] = reinterpret_cast<std::uintptr_t>(pLine);
}

bool TLineTable::AddPacked(char* pcChars, int nLength) {
  const auto nAddress = reinterpret_cast<std::uintptr_t>(pcChars);
  if (nLength < 0 || nLength > kMaxPackedLength || (nAddress >> kAddressBits) != 0) return false;
  // The line continues the last leaf when that is compact, its offsets end where the next
  // one would be written and the characters follow its text.
  if (!m_aLeaves.empty()) {
    TLeaf& last = m_aLeaves.back();
    if (last.IsCompact() && last.nCount < kLeafLines && last.pOffsets + last.nCount + 1 == m_pOffsetNext &&
        m_pOffsetNext != m_pOffsetEnd) {
      const std::uintptr_t nEnd = last.pOffsets[last.nCount];
      if (nAddress == last.nBase + nEnd && nEnd + static_cast<std::uintptr_t>(nLength) <= kMaxCompactSpan) {
        *m_pOffsetNext++ = static_cast<std::uint16_t>(nEnd + nLength);
        ++last.nCount;
        ++m_nSize;
        return true;
      }
    }
  }
  if (m_pOffsetEnd - m_pOffsetNext < 2) {
    const std::size_t nBlock = std::clamp(m_nOffsetBlock * 2, kMinOffsetBlock, kMaxOffsetBlock);
    m_aOffsetBlocks.push_back(std::make_unique_for_overwrite<std::uint16_t[]>(nBlock));
    m_nOffsetBlock = nBlock;
    m_pOffsetNext = m_aOffsetBlocks.back().get();
    m_pOffsetEnd = m_pOffsetNext + nBlock;
    AdviseLargePages(m_pOffsetNext, nBlock * sizeof(std::uint16_t));
  }
  TLeaf& leaf = m_aLeaves.emplace_back();
  leaf.nStart = m_nSize;
  leaf.nCount = 1;
  leaf.nBase = nAddress;
  leaf.pOffsets = m_pOffsetNext;
  m_pOffsetNext[0] = 0;
  m_pOffsetNext[1] = static_cast<std::uint16_t>(nLength);
  m_pOffsetNext += 2;
  ++m_nSize;
  return true;
}

void TLineTable::Insert(int nIndex, TLineInfo* const* pLines, int nCount, bool bRepeat) {
  if (nIndex < 0 || nIndex > m_nSize || nCount < 0) throw InvalidArgException("TCArray::InsertAt");
  if (nCount == 0) return;
  const auto* pSlots = reinterpret_cast<const std::uintptr_t*>(pLines);
  static_assert(sizeof(TLineInfo*) == sizeof(std::uintptr_t));

  // The lines go before line nPos of leaf k (nPos == count: after its last line).
  int k = 0, nPos = 0;
  if (nIndex == m_nSize) {
    k = static_cast<int>(m_aLeaves.size()) - 1;
    nPos = k >= 0 ? m_aLeaves[k].nCount : 0;
  } else {
    k = Find(nIndex, nPos);
  }
  const auto fits = [&](int j) { return m_aLeaves[j].nCount + nCount <= kLeafLines; };
  // Between two leaves, the end of the first takes them as well.
  if (nPos == 0 && k > 0 && !m_aLeaves[k - 1].IsCompact() && fits(k - 1) &&
      (m_aLeaves[k].IsCompact() || !fits(k))) {
    --k;
    nPos = m_aLeaves[k].nCount;
  }
  const bool bInside = k >= 0 && nPos > 0 && nPos < m_aLeaves[k].nCount;

  if (k >= 0 && fits(k) && (bInside || !m_aLeaves[k].IsCompact())) {
    TLeaf& leaf = m_aLeaves[k];
    MakeLoose(leaf);
    const auto at = leaf.aSlots.begin() + nPos;
    if (bRepeat)
      leaf.aSlots.insert(at, static_cast<std::size_t>(nCount), pSlots[0]);
    else
      leaf.aSlots.insert(at, pSlots, pSlots + nCount);
    leaf.nCount += nCount;
  } else if (bInside && nCount <= kLeafLines / 2) {
    // A full leaf splits in two halves, one of which takes the lines.
    Split(k, m_aLeaves[k].nCount / 2);
    Insert(nIndex, pLines, nCount, bRepeat);
    return;
  } else {
    // The lines take leaves of their own, as full as an even spread allows.
    const int nLeaves = (nCount + kLeafLines - 1) / kLeafLines;
    std::vector<TLeaf> aNew(static_cast<std::size_t>(nLeaves));
    for (int j = 0, i = 0; j < nLeaves; ++j) {
      const int n = (nCount - i) / (nLeaves - j);
      aNew[j].nCount = n;
      if (bRepeat)
        aNew[j].aSlots.assign(static_cast<std::size_t>(n), pSlots[0]);
      else
        aNew[j].aSlots.assign(pSlots + i, pSlots + i + n);
      i += n;
    }
    if (bInside) Split(k, nPos);
    m_aLeaves.reserve(m_aLeaves.size() + aNew.size());
    // Nothing fails from here on.
    const int kAt = k < 0 ? 0 : nPos == 0 ? k : k + 1;
    m_aLeaves.insert(m_aLeaves.begin() + kAt, std::make_move_iterator(aNew.begin()),
                     std::make_move_iterator(aNew.end()));
  }
  m_nSize += nCount;
  Renumber(std::max(k, 0));
  m_nLeaf = 0;
}

void TLineTable::RemoveAt(int nIndex, int nCount) {
  if (nIndex < 0 || nCount < 0 || nIndex > m_nSize - nCount) throw InvalidArgException("TCArray::RemoveAt");
  if (nCount == 0) return;
  int nFirst, nEnd;
  const int k = Find(nIndex, nFirst);
  const int kLast = Find(nIndex + nCount - 1, nEnd);
  ++nEnd;
  // Lines nFirst up to nEnd of the leaves from k to kLast go; leaves losing every line go
  // whole, and a leaf losing lines inside turns loose.
  int kGoneFrom = k, kGoneTo = kLast + 1;
  if (k == kLast && nFirst > 0 && nEnd < m_aLeaves[k].nCount) {
    TLeaf& leaf = m_aLeaves[k];
    MakeLoose(leaf);
    leaf.aSlots.erase(leaf.aSlots.begin() + nFirst, leaf.aSlots.begin() + nEnd);
    leaf.nCount -= nCount;
    kGoneFrom = kGoneTo = k + 1;
  } else {
    const int nLastCount = m_aLeaves[kLast].nCount;
    if (nFirst > 0) {
      // Its tail goes.
      TLeaf& leaf = m_aLeaves[k];
      if (!leaf.IsCompact()) leaf.aSlots.resize(static_cast<std::size_t>(nFirst));
      leaf.nCount = nFirst;
      ++kGoneFrom;
    }
    if (nEnd < nLastCount) {
      // Its head goes.
      TLeaf& leaf = m_aLeaves[kLast];
      if (leaf.IsCompact())
        leaf.pOffsets += nEnd;
      else
        leaf.aSlots.erase(leaf.aSlots.begin(), leaf.aSlots.begin() + nEnd);
      leaf.nCount -= nEnd;
      --kGoneTo;
    }
  }
  m_aLeaves.erase(m_aLeaves.begin() + kGoneFrom, m_aLeaves.begin() + kGoneTo);
  m_nSize -= nCount;
  m_nLeaf = 0;
  Renumber(k);
  MergeSmall(kGoneFrom - 1);
}

void TLineTable::RemoveAll() {
  std::vector<TLeaf>().swap(m_aLeaves);
  m_aOffsetBlocks.clear();
  m_pOffsetNext = m_pOffsetEnd = nullptr;
  m_nOffsetBlock = 0;
  m_nSize = 0;
  m_nLeaf = 0;
}

void TLineTable::FreeExtra() {
  m_aLeaves.shrink_to_fit();
  for (TLeaf& leaf : m_aLeaves) leaf.aSlots.shrink_to_fit();
}

void TLineTable::MakeLoose(TLeaf& leaf) {
  if (!leaf.IsCompact()) return;
  std::vector<std::uintptr_t> aSlots(static_cast<std::size_t>(leaf.nCount));
  for (int i = 0; i < leaf.nCount; ++i)
    aSlots[i] = Pack(leaf.nBase + leaf.pOffsets[i], leaf.pOffsets[i + 1] - leaf.pOffsets[i]);
  leaf.aSlots = std::move(aSlots);
  leaf.pOffsets = nullptr;
  leaf.nBase = 0;
}

void TLineTable::Split(int k, int nPos) {
  TLeaf back;
  const TLeaf& leaf = m_aLeaves[k];
  back.nStart = leaf.nStart + nPos;
  back.nCount = leaf.nCount - nPos;
  if (leaf.IsCompact()) {
    back.nBase = leaf.nBase;
    back.pOffsets = leaf.pOffsets + nPos;
  } else {
    back.aSlots.assign(leaf.aSlots.begin() + nPos, leaf.aSlots.end());
  }
  m_aLeaves.insert(m_aLeaves.begin() + k + 1, std::move(back));
  TLeaf& front = m_aLeaves[k];
  front.nCount = nPos;
  if (!front.IsCompact()) front.aSlots.resize(static_cast<std::size_t>(nPos));
  m_nLeaf = 0;
}

void TLineTable::MergeSmall(int k) noexcept {
  if (k < 0 || k + 1 >= static_cast<int>(m_aLeaves.size())) return;
  TLeaf& a = m_aLeaves[k];
  TLeaf& b = m_aLeaves[k + 1];
  if (a.nCount + b.nCount > kLeafLines || (a.nCount >= kLeafLines / 4 && b.nCount >= kLeafLines / 4)) return;
  if (a.IsCompact() && b.IsCompact() && a.nBase == b.nBase && a.pOffsets + a.nCount == b.pOffsets) {
    a.nCount += b.nCount;  // the two halves of a split
  } else {
    try {
      MakeLoose(a);
      MakeLoose(b);
      a.aSlots.insert(a.aSlots.end(), b.aSlots.begin(), b.aSlots.end());
    } catch (...) {
      return;  // short of memory, the leaves stay apart
    }
    a.nCount += b.nCount;
  }
  m_aLeaves.erase(m_aLeaves.begin() + k + 1);
  m_nLeaf = 0;
}

void TLineTable::Renumber(int k) {
  const int nLeaves = static_cast<int>(m_aLeaves.size());
  int nStart = k > 0 && k <= nLeaves ? m_aLeaves[k - 1].nStart + m_aLeaves[k - 1].nCount : 0;
  for (int j = std::max(k, 0); j < nLeaves; ++j) {
    m_aLeaves[j].nStart = nStart;
    nStart += m_aLeaves[j].nCount;
  }
}

}  // namespace quill
