#include "buffer/update_context.h"

namespace quill {

void CInsertContext::AdjustPoint(CPoint& ptPoint) {
  if (ptPoint.y < m_ptStart.y) return;
  if (ptPoint.y > m_ptStart.y) {
    ptPoint.y += m_ptEnd.y - m_ptStart.y;
    return;
  }
  // Same line: a point at the insertion point stays in front of the new text.
  if (ptPoint.x <= m_ptStart.x) return;
  ptPoint.y = m_ptEnd.y;
  ptPoint.x = m_ptEnd.x + (ptPoint.x - m_ptStart.x);
}

void CDeleteContext::AdjustPoint(CPoint& ptPoint) {
  if (ptPoint.y < m_ptStart.y) return;
  if (ptPoint.y > m_ptEnd.y) {
    ptPoint.y -= m_ptEnd.y - m_ptStart.y;
    return;
  }
  if (ptPoint.y == m_ptEnd.y && ptPoint.x >= m_ptEnd.x) {
    ptPoint.y = m_ptStart.y;
    ptPoint.x = m_ptStart.x + (ptPoint.x - m_ptEnd.x);
    return;
  }
  // Inside the removed range: collapse onto the start.
  if (ptPoint.y != m_ptStart.y) {
    ptPoint = m_ptStart;
  } else if (ptPoint.x > m_ptStart.x) {
    ptPoint.x = m_ptStart.x;
  }
}

}  // namespace quill
