#pragma once
// Dialog templates: what a dialog's window holds, as data. A template names the dialog's
// caption, size and font and lists its controls with their ids, kinds, captions and
// rectangles in dialog units (a quarter of the dialog font's average character width
// across, an eighth of its height down). The behaviour of a dialog addresses the controls
// by id through the dialog host; a backend builds real controls from the template.
//
// These are the types; the component's templates are data of resources/
// (resources/dialog_template.h).

#include <cstddef>
#include <span>

namespace quill {

enum class DialogItemKind {
  Static,          // a label; a '&' gives the mnemonic of the control that follows
  Edit,            // single-line, or multi-line with DIS_MULTILINE
  PushButton,
  DefPushButton,   // the button Enter presses
  CheckBox,
  RadioButton,     // DIS_GROUP starts a new group of mutually exclusive buttons
  GroupBox,
  ComboBox,        // DIS_DROPDOWN: with an edit field; otherwise a drop-down list
  ListBox,
  CheckListBox,    // a list box with a check box in front of each item
  ColorCombo,      // a drop-down list whose items the behaviour draws (OnDrawItem)
};

// Style flags of a dialog item.
constexpr unsigned DIS_GROUP = 0x0001;      // starts a group (radio buttons, tab order)
constexpr unsigned DIS_DISABLED = 0x0002;   // created disabled
constexpr unsigned DIS_HIDDEN = 0x0004;     // created hidden
constexpr unsigned DIS_MULTILINE = 0x0008;  // edit: several lines
constexpr unsigned DIS_READONLY = 0x0010;   // edit: not editable
constexpr unsigned DIS_DROPDOWN = 0x0020;   // combo box: with an edit field
constexpr unsigned DIS_SORT = 0x0040;       // list or combo box: items sorted
constexpr unsigned DIS_RIGHT = 0x0080;      // static: right-aligned text
constexpr unsigned DIS_CENTER = 0x0100;     // static: centred text
constexpr unsigned DIS_NOPREFIX = 0x0200;   // static: '&' is shown, not a mnemonic
constexpr unsigned DIS_TRISTATE = 0x0400;   // check box: three states
constexpr unsigned DIS_WANTRETURN = 0x0800; // multi-line edit: Enter makes a new line
constexpr unsigned DIS_NOTABSTOP = 0x1000;  // not reached with Tab
constexpr unsigned DIS_EXTENDEDSEL = 0x2000;  // list box: several items can be selected

// A rectangle in dialog units: position and size, as dialog resources give them.
struct DialogRect {
  int x = 0;
  int y = 0;
  int cx = 0;
  int cy = 0;
};

struct DialogItem {
  int id;  // -1 (IDC_STATIC) for controls nobody addresses
  DialogItemKind kind;
  const char* caption;  // text of statics, buttons and group boxes; initial edit text
  DialogRect rect;
  unsigned style = 0;
};

struct DialogTemplate {
  unsigned id;
  const char* caption;
  DialogRect rect;  // the client area; x and y are ignored
  const char* fontFace;
  int fontPoints;
  bool resizable;
  std::span<const DialogItem> items;

  // The item with that id, or null.
  const DialogItem* FindItem(int nID) const {
    for (const DialogItem& item : items)
      if (item.id == nID) return &item;
    return nullptr;
  }
};

constexpr int IDC_STATIC = -1;

}  // namespace quill
