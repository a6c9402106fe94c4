#pragma once
// TResizableLayout and TResizableDialog: controls that follow the dialog's size.
//
// An anchor is a pair of percentages of the dialog's client width and height: (0, 0)
// the top left, (100, 100) the bottom right. A control anchored by its top-left corner
// to one anchor and by its bottom-right corner to another keeps each corner's distance to
// its anchor point as the dialog is resized; with NOANCHOR for the bottom right it keeps
// its size and moves with its top-left anchor.

#include <vector>

#include "dialogs/dialog.h"
#include "platform/dialog_host.h"
#include "platform/types.h"

namespace quill {

class Window;

constexpr CSize TOP_LEFT(0, 0);
constexpr CSize TOP_CENTER(50, 0);
constexpr CSize TOP_RIGHT(100, 0);
constexpr CSize MIDDLE_LEFT(0, 50);
constexpr CSize MIDDLE_CENTER(50, 50);
constexpr CSize MIDDLE_RIGHT(100, 50);
constexpr CSize BOTTOM_LEFT(0, 100);
constexpr CSize BOTTOM_CENTER(50, 100);
constexpr CSize BOTTOM_RIGHT(100, 100);
constexpr CSize NOANCHOR(-1, -1);

class TResizableLayout {
 public:
  virtual ~TResizableLayout() = default;

  // Anchors the control nID as it now lies in the window's client area. Adding a control
  // again replaces its anchors.
  void AddAnchor(int nID, CSize sizeTypeTL, CSize sizeTypeBR = NOANCHOR);
  void RemoveAnchor(int nID);
  void RemoveAllAnchors() { m_anchors.clear(); }
  // Places every anchored control for the window's current client size.
  void ArrangeLayout();

  // The window the layout acts on.
  virtual IDialogHost* GetResizableWnd() = 0;

 private:
  struct Anchor {
    int nID;
    CSize typeTL, typeBR;
    CSize marginTL;  // top-left corner minus its anchor point
    CSize marginBR;  // bottom-right corner minus its anchor point, or the size
  };
  static CPoint AnchorPoint(const CRect& client, CSize type);
  std::vector<Anchor> m_anchors;
};

class TResizableDialog : public CDialog, public TResizableLayout {
 public:
  explicit TResizableDialog(unsigned nIDTemplate, Window* pParent = nullptr)
      : CDialog(nIDTemplate, pParent) {}

  using CDialog::OnInitDialog;
  // Called first by a derived dialog's OnInitDialog: the dialog's first size becomes its
  // smallest. Returns 1.
  int OnInitDialog() override;
  // The window was resized: lay the controls out.
  void OnSize(unsigned nType, int cx, int cy);
  void OnSize(IDialogHost& host, int cx, int cy) override;
  // The smallest size the window may be tracked to (its size at initialisation).
  CSize GetMinTrackSize() const { return m_sizeMin; }

  IDialogHost* GetResizableWnd() override { return GetHost(); }

 private:
  CSize m_sizeMin;
};

}  // namespace quill
