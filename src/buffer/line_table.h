#pragma once
// The line record of QuillTextBuffer and its line table.
//
// Most lines of a loaded file are never edited, flagged or asked for by record, and most
// files have short lines: the table keeps such lines in about two bytes each. It holds the
// lines in leaves of up to kLeafLines lines, in order, each knowing the index of its first
// line. A leaf is in one of two forms:
// - compact: lines whose characters follow one another in a slab of the buffer, kept as
//   one base address and a 16-bit offset per line (the line runs from its offset to the
//   next one). Loading makes these (AddPacked); their characters hold no line breaks;
// - loose: a 64-bit slot per line, either the address of a record or a packed line (the
//   address of its characters and its length).
// Whatever changes a line of a compact leaf other than at its ends turns the leaf loose
// first. A record is made for a line the first time a caller asks for one through the
// non-const operator[] (every edit does), and the slot holds the record's address from then
// on. Length, characters and flags are read from either form without making a record.

#include <cstdint>
#include <memory>
#include <vector>

#include "buffer/tc_array.h"

namespace quill {

// One line of text. Lines hold no line-break characters and are not NUL-terminated.
//
// A record and its characters come from the heap, one allocation each, except that the
// characters of a loaded line stay in a slab of the buffer (SLAB_TEXT). Such a line
// reports the capacity the capacity rule gives its length, but its characters are packed
// in the slab with no room behind them: whenever it grows, AppendLine moves them to the
// heap and clears SLAB_TEXT, leaving the slab bytes unused until FreeAll releases every
// slab at once.
struct TLineInfo {
  static constexpr std::uint8_t SLAB_TEXT = 0x02;  // m_pcLine points into a slab

  // The capacity rule: the next multiple of 16 strictly above nLength.
  static int Capacity(int nLength) {
    return static_cast<int>((static_cast<std::int64_t>(nLength) / 16 + 1) * 16);
  }

  char* m_pcLine = nullptr;     // the characters
  int m_nLength = 0;            // characters in the line
  int m_nMax = 0;               // size of the storage at m_pcLine
  std::uint32_t m_dwFlags = 0;  // LINEFLAG_* bits
  std::uint8_t m_nStorage = 0;  // SLAB_* bits
};

// The line table: TCArray's interface over the leaves described at the top of this file.
// Differences from the general array:
// - the non-const operator[] returns the record by value, making it first for a line that
//   has none; SetAt stores a record;
// - the const operator[] and GetAt never make a record: for a line without one they return
//   a read-only copy that stays valid until kScratchRecords further such reads;
// - Length, Chars and Flags read a line whatever holds it; ForEachLine walks a range;
// - the table never frees records: whoever stores or makes them frees them.
// Lines are found through the leaf of the previous lookup or its neighbours, else by a
// binary search, so walking lines in order costs the same as in a flat array. Inserting or
// removing lines renumbers the leaves after them; a run of lines takes leaves of its own.
template <>
class TCArray<TLineInfo*> {
 public:
  // Longest line AddPacked takes.
  static constexpr int kMaxPackedLength = 0x7fff;
  static constexpr int kScratchRecords = 8;
  static constexpr int kLeafLines = 512;

  TCArray() = default;
  TCArray(const TCArray&) = delete;
  TCArray& operator=(const TCArray&) = delete;

  int GetSize() const { return m_nSize; }
  int GetCount() const { return m_nSize; }
  int GetUpperBound() const { return m_nSize - 1; }
  bool IsEmpty() const { return m_nSize == 0; }

  // The line's record, made on first use for a line without one.
  TLineInfo* operator[](int nIndex) { return Record(nIndex); }
  const TLineInfo* operator[](int nIndex) const { return GetAt(nIndex); }
  const TLineInfo* GetAt(int nIndex) const {
    if (TLineInfo* pRecord = RecordIfAny(nIndex)) return pRecord;
    const int nLength = Length(nIndex);
    TLineInfo& copy = m_aScratch[m_nScratch++ % kScratchRecords];
    copy = TLineInfo{Chars(nIndex), nLength, TLineInfo::Capacity(nLength), 0, TLineInfo::SLAB_TEXT};
    return &copy;
  }
  void SetAt(int nIndex, TLineInfo* pLine);
  TLineInfo* Record(int nIndex);
  // The record of a line that has one, else null.
  TLineInfo* RecordIfAny(int nIndex) const {
    int nPos;
    const TLeaf& leaf = Locate(nIndex, nPos);
    if (leaf.IsCompact() || IsPacked(leaf.aSlots[nPos])) return nullptr;
    return reinterpret_cast<TLineInfo*>(leaf.aSlots[nPos]);
  }

  int Length(int nIndex) const {
    int nPos;
    const TLeaf& leaf = Locate(nIndex, nPos);
    if (leaf.IsCompact()) return leaf.pOffsets[nPos + 1] - leaf.pOffsets[nPos];
    const std::uintptr_t nSlot = leaf.aSlots[nPos];
    return IsPacked(nSlot) ? PackedLength(nSlot) : reinterpret_cast<const TLineInfo*>(nSlot)->m_nLength;
  }
  char* Chars(int nIndex) const {
    int nPos;
    const TLeaf& leaf = Locate(nIndex, nPos);
    if (leaf.IsCompact()) return CompactChars(leaf, nPos);
    const std::uintptr_t nSlot = leaf.aSlots[nPos];
    return IsPacked(nSlot) ? PackedChars(nSlot) : reinterpret_cast<const TLineInfo*>(nSlot)->m_pcLine;
  }
  std::uint32_t Flags(int nIndex) const {
    int nPos;
    const TLeaf& leaf = Locate(nIndex, nPos);
    if (leaf.IsCompact() || IsPacked(leaf.aSlots[nPos])) return 0;
    return reinterpret_cast<const TLineInfo*>(leaf.aSlots[nPos])->m_dwFlags;
  }
  // Calls f(chars, length) for the lines from nFrom up to (not including) nTo, in order.
  template <class F>
  void ForEachLine(int nFrom, int nTo, F&& f) const {
    if (nFrom >= nTo) return;
    int nPos;
    const TLeaf* pLeaf = &Locate(nFrom, nPos);
    for (int nLeft = nTo - nFrom;; ++pLeaf, nPos = 0) {
      const int nEnd = nLeft < pLeaf->nCount - nPos ? nPos + nLeft : pLeaf->nCount;
      nLeft -= nEnd - nPos;
      if (pLeaf->IsCompact()) {
        const char* pcBase = reinterpret_cast<const char*>(pLeaf->nBase);
        for (const std::uint16_t* p = pLeaf->pOffsets + nPos; p != pLeaf->pOffsets + nEnd; ++p)
          f(pcBase + p[0], p[1] - p[0]);
      } else {
        for (; nPos < nEnd; ++nPos) {
          const std::uintptr_t nSlot = pLeaf->aSlots[nPos];
          if (IsPacked(nSlot))
            f(PackedChars(nSlot), PackedLength(nSlot));
          else
            f(reinterpret_cast<const TLineInfo*>(nSlot)->m_pcLine, reinterpret_cast<const TLineInfo*>(nSlot)->m_nLength);
        }
      }
      if (nLeft == 0) return;
    }
  }

  int Add(TLineInfo* pLine) {
    InsertAt(m_nSize, pLine);
    return m_nSize - 1;
  }
  // Appends a line of nLength characters at pcChars, which stay where they are and
  // outlive the line, without a record. Returns false, adding nothing, when the table
  // cannot hold the line so (then it needs a record).
  bool AddPacked(char* pcChars, int nLength);
  // Insert before nIndex (nIndex == GetSize() appends) nCount copies of pLine, or the
  // nCount records at pLines. Throwing, they insert nothing.
  void InsertAt(int nIndex, TLineInfo* pLine, int nCount = 1) { Insert(nIndex, &pLine, nCount, true); }
  void InsertAt(int nIndex, TLineInfo* const* pLines, int nCount) { Insert(nIndex, pLines, nCount, false); }
  void RemoveAt(int nIndex, int nCount = 1);
  // Empties the table and releases its storage.
  void RemoveAll();
  // Releases storage the lines do not need.
  void FreeExtra();

 private:
  struct TLeaf {
    int nStart = 0;  // index of the leaf's first line in the table
    int nCount = 0;  // lines in the leaf
    // Compact: line i runs from nBase + pOffsets[i] to nBase + pOffsets[i + 1]. Offsets
    // stay where they are written and may be shared by two leaves (a split) until
    // RemoveAll.
    std::uintptr_t nBase = 0;
    const std::uint16_t* pOffsets = nullptr;
    // Loose: a slot per line.
    std::vector<std::uintptr_t> aSlots;

    bool IsCompact() const { return pOffsets != nullptr; }
  };

  // A packed slot: the top bit set, a 48-bit address, a 15-bit length. A record pointer
  // never has the top bit set.
  static constexpr int kLengthBits = 15;
  static constexpr int kAddressBits = 48;
  static constexpr std::uintptr_t kPacked = std::uintptr_t{1} << (sizeof(std::uintptr_t) * 8 - 1);
  static_assert(sizeof(std::uintptr_t) == 8, "packed slots need 64-bit addresses");

  static bool IsPacked(std::uintptr_t nSlot) { return (nSlot & kPacked) != 0; }
  static int PackedLength(std::uintptr_t nSlot) {
    return static_cast<int>(nSlot & ((std::uintptr_t{1} << kLengthBits) - 1));
  }
  static char* PackedChars(std::uintptr_t nSlot) {
    return reinterpret_cast<char*>((nSlot & ~kPacked) >> kLengthBits);
  }
  static std::uintptr_t Pack(std::uintptr_t nAddress, int nLength) {
    return kPacked | (nAddress << kLengthBits) | static_cast<std::uintptr_t>(nLength);
  }
  static char* CompactChars(const TLeaf& leaf, int nPos) {
    return reinterpret_cast<char*>(leaf.nBase + leaf.pOffsets[nPos]);
  }

  // The index of the leaf holding line nIndex (a valid index), and the line's place in it.
  int Find(int nIndex, int& nPos) const {
    const TLeaf* pLeaf = &m_aLeaves[m_nLeaf];
    if (static_cast<unsigned>(nIndex - pLeaf->nStart) >= static_cast<unsigned>(pLeaf->nCount))
      pLeaf = &m_aLeaves[m_nLeaf = Search(nIndex)];
    nPos = nIndex - pLeaf->nStart;
    return m_nLeaf;
  }
  const TLeaf& Locate(int nIndex, int& nPos) const { return m_aLeaves[Find(nIndex, nPos)]; }
  int Search(int nIndex) const;

  void Insert(int nIndex, TLineInfo* const* pLines, int nCount, bool bRepeat);
  // Gives a compact leaf a slot per line.
  static void MakeLoose(TLeaf& leaf);
  // Splits leaf k before its line nPos (0 < nPos < count) into two leaves.
  void Split(int k, int nPos);
  // Joins leaf k and the next when either is small and both fit in one leaf.
  void MergeSmall(int k) noexcept;
  // Sets the first line index of the leaves from k on.
  void Renumber(int k);

  std::vector<TLeaf> m_aLeaves;
  int m_nSize = 0;
  mutable int m_nLeaf = 0;  // the leaf the last lookup found
  // Blocks the offsets of compact leaves are written to, one after the other.
  std::vector<std::unique_ptr<std::uint16_t[]>> m_aOffsetBlocks;
  std::uint16_t* m_pOffsetNext = nullptr;
  std::uint16_t* m_pOffsetEnd = nullptr;
  std::size_t m_nOffsetBlock = 0;  // size of the last block

  mutable TLineInfo m_aScratch[kScratchRecords];
  mutable unsigned m_nScratch = 0;
};

}  // namespace quill
