#pragma once
// The behaviour of a dialog: what happens when its window is set up, when its controls
// notify and when it is closed. It talks to its controls only through the dialog host, by
// id, so the same behaviour runs over real widgets and over the headless host.
//
// A modal run (platform/dialog_runner.h) creates the controls from the template, calls
// OnInitDialog, then routes every notification through RouteDialogCommand: a click on
// IDOK asks OnOK, a click on IDCANCEL (or Escape, or closing the window) asks OnCancel,
// and the dialog ends with that id when the answer is true; everything else reaches
// OnCommand. A behaviour may also end the dialog itself with IDialogHost::EndDialog.

#include "platform/app_services.h"  // IDOK, IDCANCEL
#include "platform/dialog_host.h"
#include "platform/types.h"

namespace quill {

class CDC;

// Notification codes passed to OnCommand.
constexpr int BN_CLICKED = 0;        // button, check box or radio button clicked
constexpr int LBN_SELCHANGE = 1;     // list box: the user changed the selection
constexpr int LBN_DBLCLK = 2;        // list box: an item was double-clicked
constexpr int CBN_SELCHANGE = 1;     // combo box: the user picked an item
constexpr int CBN_EDITCHANGE = 5;    // combo box: the user changed the edit text
constexpr int EN_CHANGE = 0x0300;    // edit: the text changed
constexpr int CLBN_CHKCHANGE = 40;   // check-list box: the user toggled the check box of
                                     // the item at the list's caret (GetCurSel)

// State bits of an owner-drawn item.
constexpr unsigned ODS_SELECTED = 0x0001;
constexpr unsigned ODS_DISABLED = 0x0004;
constexpr unsigned ODS_FOCUS = 0x0010;
constexpr unsigned ODS_COMBOBOXEDIT = 0x1000;  // the closed combo box's own field

class CDialogBehaviour {
 public:
  virtual ~CDialogBehaviour() = default;

  // The controls exist and hold the template's captions. The return value is ignored by
  // the runners unless it is 0, which means the behaviour set the focus itself.
  virtual int OnInitDialog(IDialogHost& host) {
    (void)host;
    return 1;
  }
  // A control notified: a button click, an edit change, a selection change, a double
  // click or a check box of a check-list item (codes above).
  virtual void OnCommand(IDialogHost& host, int nID, int nNotification) {
    (void)host, (void)nID, (void)nNotification;
  }
  // OK was pressed: true closes the dialog with IDOK.
  virtual bool OnOK(IDialogHost& host) {
    (void)host;
    return true;
  }
  // Cancel, Escape or the window's close box: true closes the dialog with IDCANCEL.
  virtual bool OnCancel(IDialogHost& host) {
    (void)host;
    return true;
  }
  // A resizable dialog's client area got a new size (the host already reports it).
  virtual void OnSize(IDialogHost& host, int cx, int cy) { (void)host, (void)cx, (void)cy; }
  // Draws item nIndex of an owner-drawn control (DialogItemKind::ColorCombo) into rect of
  // dc; nState holds ODS_* bits. nIndex is -1 for an empty field.
  virtual void OnDrawItem(IDialogHost& host, int nID, int nIndex, CDC& dc, const CRect& rect,
                          unsigned nState) {
    (void)host, (void)nID, (void)nIndex, (void)dc, (void)rect, (void)nState;
  }
  // The window is about to go away, after the result is known.
  virtual void OnDestroy(IDialogHost& host) { (void)host; }
};

// Routes one notification the way a modal run does (see above).
void RouteDialogCommand(CDialogBehaviour& behaviour, IDialogHost& host, int nID,
                        int nNotification = BN_CLICKED);

}  // namespace quill
