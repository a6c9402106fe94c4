#pragma once
// The line record of QuillTextBuffer and its line table.
//
// Most lines of a loaded file are never edited, flagged or asked for by record. The table
// keeps such a line in its slot alone: one 64-bit word holding the address of its
// characters (in a slab owned by the buffer) and its length, instead of a pointer to a
// 24-byte record. A record is made for the line the first time a caller asks for one
// through the non-const operator[] (every edit does), and the slot holds the record's
// address from then on. Length, characters and flags are read from either kind of slot
// without making a record.

#include <cstdint>

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

  char* m_pcLine = nullptr;     // the characters
  int m_nLength = 0;            // characters in the line
  int m_nMax = 0;               // size of the storage at m_pcLine
  std::uint32_t m_dwFlags = 0;  // LINEFLAG_* bits
  std::uint8_t m_nStorage = 0;  // SLAB_* bits
};

// The line table: TCArray's interface over slots that hold either a record pointer or a
// packed slab line (see the top of this file). Differences from the general array:
// - the non-const operator[] returns the record by value, making it first for a packed
//   line; SetAt stores a record;
// - the const operator[] and GetAt never make a record: for a packed line they return a
//   read-only copy that stays valid until kScratchRecords further such reads;
// - Length, Chars and Flags read a line whatever its slot holds.
template <>
class TCArray<TLineInfo*> {
 public:
  // Longest line a packed slot holds.
  static constexpr int kMaxPackedLength = 0x7fff;
  static constexpr int kScratchRecords = 8;

  TCArray() = default;
  TCArray(const TCArray&) = delete;
  TCArray& operator=(const TCArray&) = delete;

  int GetSize() const { return m_aSlots.GetSize(); }
  int GetCount() const { return m_aSlots.GetSize(); }
  int GetUpperBound() const { return m_aSlots.GetUpperBound(); }
  bool IsEmpty() const { return m_aSlots.IsEmpty(); }
  int GetCapacity() const { return m_aSlots.GetCapacity(); }
  int GetGrowBy() const { return m_aSlots.GetGrowBy(); }
  void SetSize(int nNewSize, int nGrowBy = -1) { m_aSlots.SetSize(nNewSize, nGrowBy); }

  // The line's record, made on first use for a packed line.
  TLineInfo* operator[](int nIndex) { return Record(nIndex); }
  const TLineInfo* operator[](int nIndex) const { return GetAt(nIndex); }
  const TLineInfo* GetAt(int nIndex) const {
    const std::uintptr_t nSlot = m_aSlots[nIndex];
    if (!IsPacked(nSlot)) return reinterpret_cast<const TLineInfo*>(nSlot);
    TLineInfo& copy = m_aScratch[m_nScratch++ % kScratchRecords];
    copy = TLineInfo{PackedChars(nSlot), PackedLength(nSlot), Capacity(PackedLength(nSlot)), 0,
                     TLineInfo::SLAB_TEXT};
    return &copy;
  }
  void SetAt(int nIndex, TLineInfo* pLine) { m_aSlots[nIndex] = reinterpret_cast<std::uintptr_t>(pLine); }
  TLineInfo* Record(int nIndex) {
    std::uintptr_t& nSlot = m_aSlots[nIndex];
    if (IsPacked(nSlot)) {
      nSlot = reinterpret_cast<std::uintptr_t>(new TLineInfo{
          PackedChars(nSlot), PackedLength(nSlot), Capacity(PackedLength(nSlot)), 0, TLineInfo::SLAB_TEXT});
    }
    return reinterpret_cast<TLineInfo*>(nSlot);
  }
  // The record of a line that has one, else null.
  TLineInfo* RecordIfAny(int nIndex) const {
    const std::uintptr_t nSlot = m_aSlots[nIndex];
    return IsPacked(nSlot) ? nullptr : reinterpret_cast<TLineInfo*>(nSlot);
  }

  int Length(int nIndex) const {
    const std::uintptr_t nSlot = m_aSlots[nIndex];
    return IsPacked(nSlot) ? PackedLength(nSlot) : reinterpret_cast<const TLineInfo*>(nSlot)->m_nLength;
  }
  char* Chars(int nIndex) const {
    const std::uintptr_t nSlot = m_aSlots[nIndex];
    return IsPacked(nSlot) ? PackedChars(nSlot) : reinterpret_cast<const TLineInfo*>(nSlot)->m_pcLine;
  }
  std::uint32_t Flags(int nIndex) const {
    const std::uintptr_t nSlot = m_aSlots[nIndex];
    return IsPacked(nSlot) ? 0 : reinterpret_cast<const TLineInfo*>(nSlot)->m_dwFlags;
  }

  int Add(TLineInfo* pLine) { return m_aSlots.Add(reinterpret_cast<std::uintptr_t>(pLine)); }
  // Appends a line of nLength characters at pcChars, which stay where they are and
  // outlive the line, without a record. Returns false, adding nothing, when the slot
  // cannot hold the line (then it needs a record).
  bool AddPacked(char* pcChars, int nLength) {
    const auto nAddress = reinterpret_cast<std::uintptr_t>(pcChars);
    static_assert(sizeof(std::uintptr_t) == 8, "packed slots need 64-bit addresses");
    if (nLength < 0 || nLength > kMaxPackedLength || (nAddress >> kAddressBits) != 0)
      return false;
    m_aSlots.Add(kPacked | (static_cast<std::uintptr_t>(nAddress) << kLengthBits) |
                 static_cast<std::uintptr_t>(nLength));
    return true;
  }
  void InsertAt(int nIndex, TLineInfo* pLine, int nCount = 1) {
    m_aSlots.InsertAt(nIndex, reinterpret_cast<std::uintptr_t>(pLine), nCount);
  }
  void InsertAt(int nIndex, TLineInfo* const* pLines, int nCount) {
    static_assert(sizeof(TLineInfo*) == sizeof(std::uintptr_t));
    m_aSlots.InsertAt(nIndex, reinterpret_cast<const std::uintptr_t*>(pLines), nCount);
  }
  void RemoveAt(int nIndex, int nCount = 1) { m_aSlots.RemoveAt(nIndex, nCount); }
  void RemoveAll() { m_aSlots.RemoveAll(); }
  void FreeExtra() { m_aSlots.FreeExtra(); }

 private:
  // A packed slot: the top bit set, a 48-bit address, a 15-bit length. A record pointer
  // never has the top bit set.
  static constexpr int kLengthBits = 15;
  static constexpr int kAddressBits = 48;
  static constexpr std::uintptr_t kPacked = std::uintptr_t{1} << (sizeof(std::uintptr_t) * 8 - 1);

  static bool IsPacked(std::uintptr_t nSlot) { return (nSlot & kPacked) != 0; }
  static int PackedLength(std::uintptr_t nSlot) {
    return static_cast<int>(nSlot & ((std::uintptr_t{1} << kLengthBits) - 1));
  }
  static char* PackedChars(std::uintptr_t nSlot) {
    return reinterpret_cast<char*>((nSlot & ~kPacked) >> kLengthBits);
  }
  static int Capacity(int nLength) { return (nLength / 16 + 1) * 16; }

  TCArray<std::uintptr_t> m_aSlots;
  mutable TLineInfo m_aScratch[kScratchRecords];
  mutable unsigned m_nScratch = 0;
};

}  // namespace quill
