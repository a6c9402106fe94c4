#pragma once
// TCArray: a growable array of trivially copyable elements with the framework array's
// semantics: SetSize with a grow-by step, InsertAt/RemoveAt of runs, FreeExtra to trim.
// Elements move with memmove, so inserting or removing a run of n elements in the middle
// costs one block move whatever n is.

#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

#include "platform/exceptions.h"

namespace quill {

template <class T>
class TCArray {
  static_assert(std::is_trivially_copyable_v<T>, "TCArray moves its elements bytewise");

 public:
  TCArray() = default;
  ~TCArray() { std::free(m_pData); }
  TCArray(const TCArray&) = delete;
  TCArray& operator=(const TCArray&) = delete;

  int GetSize() const { return m_nSize; }
  int GetCount() const { return m_nSize; }
  int GetUpperBound() const { return m_nSize - 1; }
  bool IsEmpty() const { return m_nSize == 0; }
  // Number of elements the storage holds without reallocating.
  int GetCapacity() const { return m_nMaxSize; }
  // Step by which the storage grows when full; 0 chooses a step from the current size.
  int GetGrowBy() const { return m_nGrowBy; }

  // Sets the size (new elements are zeroed); nGrowBy >= 0 also sets the growth step.
  void SetSize(int nNewSize, int nGrowBy = -1) {
    if (nNewSize < 0) throw InvalidArgException("TCArray::SetSize");
    if (nGrowBy >= 0) m_nGrowBy = nGrowBy;
    if (nNewSize > m_nMaxSize) Reserve(GrownCapacity(nNewSize));
    if (nNewSize > m_nSize) std::memset(static_cast<void*>(m_pData + m_nSize), 0, sizeof(T) * (nNewSize - m_nSize));
    m_nSize = nNewSize;
  }

  T& operator[](int nIndex) { return m_pData[nIndex]; }
  const T& operator[](int nIndex) const { return m_pData[nIndex]; }
  T GetAt(int nIndex) const { return m_pData[nIndex]; }
  void SetAt(int nIndex, T element) { m_pData[nIndex] = element; }
  T* GetData() { return m_pData; }
  const T* GetData() const { return m_pData; }

  int Add(T element) {
    int nIndex = m_nSize;
    if (m_nSize == m_nMaxSize) Reserve(GrownCapacity(m_nSize + 1));
    m_pData[m_nSize++] = element;
    return nIndex;
  }

  // Inserts nCount copies of element before nIndex (nIndex == size appends).
  void InsertAt(int nIndex, T element, int nCount = 1) {
    T* pGap = OpenGap(nIndex, nCount);
    for (int i = 0; i < nCount; ++i) pGap[i] = element;
  }
  // Inserts nCount elements copied from pElements before nIndex.
  void InsertAt(int nIndex, const T* pElements, int nCount) {
    T* pGap = OpenGap(nIndex, nCount);
    if (nCount > 0) std::memcpy(static_cast<void*>(pGap), pElements, sizeof(T) * nCount);
  }

  void RemoveAt(int nIndex, int nCount = 1) {
    if (nIndex < 0 || nCount < 0 || nIndex + nCount > m_nSize) throw InvalidArgException("TCArray::RemoveAt");
    if (nCount == 0) return;
    std::memmove(static_cast<void*>(m_pData + nIndex), m_pData + nIndex + nCount, sizeof(T) * (m_nSize - nIndex - nCount));
    m_nSize -= nCount;
  }

  // Empties the array and releases its storage.
  void RemoveAll() {
    std::free(m_pData);
    m_pData = nullptr;
    m_nSize = m_nMaxSize = 0;
  }

  // Shrinks the storage to the current size.
  void FreeExtra() {
    if (m_nSize == m_nMaxSize) return;
    if (m_nSize == 0) {
      RemoveAll();
      return;
    }
    Reallocate(m_nSize);
  }

 private:
  int GrownCapacity(int nNeeded) const {
    int nGrowBy = m_nGrowBy;
    if (nGrowBy == 0) {
      nGrowBy = m_nSize / 8;
      nGrowBy = nGrowBy < 4 ? 4 : (nGrowBy > 1024 ? 1024 : nGrowBy);
    }
    long long nNew = static_cast<long long>(m_nMaxSize) + nGrowBy;
    if (nNew < nNeeded) nNew = nNeeded;
    if (nNew > 0x7fffffff) nNew = 0x7fffffff;
    return static_cast<int>(nNew);
  }

  void Reserve(int nCapacity) {
    if (nCapacity > m_nMaxSize) Reallocate(nCapacity);
  }

  void Reallocate(int nCapacity) {
    void* p = std::realloc(static_cast<void*>(m_pData), sizeof(T) * static_cast<std::size_t>(nCapacity));
    if (p == nullptr) throw std::bad_alloc();
    m_pData = static_cast<T*>(p);
    m_nMaxSize = nCapacity;
  }

  T* OpenGap(int nIndex, int nCount) {
    if (nIndex < 0 || nIndex > m_nSize || nCount < 0) throw InvalidArgException("TCArray::InsertAt");
    if (m_nSize + nCount > m_nMaxSize) Reserve(GrownCapacity(m_nSize + nCount));
    if (nIndex < m_nSize) std::memmove(static_cast<void*>(m_pData + nIndex + nCount), m_pData + nIndex, sizeof(T) * (m_nSize - nIndex));
    m_nSize += nCount;
    return m_pData + nIndex;
  }

  T* m_pData = nullptr;
  int m_nSize = 0;
  int m_nMaxSize = 0;
  int m_nGrowBy = 0;
};

}  // namespace quill
