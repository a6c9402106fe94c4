#pragma once
// Update contexts: how a position moves across one edit. The buffer builds one on its
// stack for each edit and hands it to the views while it notifies them.

#include "platform/types.h"

namespace quill {

class CUpdateContext {
 public:
  virtual ~CUpdateContext() = default;
  // Moves ptPoint (x = character, y = line) to where the same text stands after the edit.
  virtual void AdjustPoint(CPoint& ptPoint) = 0;
};

// An insertion: start is the insertion point, end the position just after the new text.
class CInsertContext : public CUpdateContext {
 public:
  CInsertContext() = default;
  CInsertContext(const CPoint& ptStart, const CPoint& ptEnd) : m_ptStart(ptStart), m_ptEnd(ptEnd) {}
  void AdjustPoint(CPoint& ptPoint) override;

  CPoint m_ptStart;
  CPoint m_ptEnd;
};

// A deletion of the range start .. end.
class CDeleteContext : public CUpdateContext {
 public:
  CDeleteContext() = default;
  CDeleteContext(const CPoint& ptStart, const CPoint& ptEnd) : m_ptStart(ptStart), m_ptEnd(ptEnd) {}
  void AdjustPoint(CPoint& ptPoint) override;

  CPoint m_ptStart;
  CPoint m_ptEnd;
};

}  // namespace quill
