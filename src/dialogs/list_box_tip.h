#pragma once
// CListBoxTipHandler: a tool tip over a list box that shows an item's full text when the
// text is wider than the list. The backend reports mouse moves over the list; a derived
// handler may override GetItemInfo to say which item lies under a point and where its
// tip goes.

#include <string>

#include "dialogs/dialog_control.h"
#include "platform/types.h"

namespace quill {

class CListBoxTipHandler {
 public:
  CListBoxTipHandler() = default;
  virtual ~CListBoxTipHandler() = default;
  CListBoxTipHandler(const CListBoxTipHandler&) = delete;
  CListBoxTipHandler& operator=(const CListBoxTipHandler&) = delete;

  // Attaches the handler to the list box.
  void Init(const TDialogControl& listBox);

  // The mouse moved to point (list client coordinates) / left the list.
  void OnMouseMove(CPoint point);
  void OnMouseLeave() { Hide(); }

  bool IsTipVisible() const { return m_bVisible; }
  const std::string& GetTipText() const { return m_strTip; }
  const CRect& GetTipRect() const { return m_rcTip; }
  int GetTipItem() const { return m_nItem; }

 protected:
  // The item under point with its text and its tip rectangle; -1 when there is none.
  // The base: the item whose rectangle holds the point, the tip on the item's rectangle
  // as wide as the text.
  virtual int GetItemInfo(CPoint point, CRect& rect, std::string& text);

  IDialogHost* m_pHost = nullptr;
  int m_nListID = 0;

 private:
  void Hide();

  bool m_bVisible = false;
  std::string m_strTip;
  CRect m_rcTip;
  int m_nItem = -1;
};

}  // namespace quill
