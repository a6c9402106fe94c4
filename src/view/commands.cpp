// QuillView: the command table (command ids to handlers and update handlers), the
// accelerator keys, the context menu, the status bar indicators and message pane.

#include <memory>

#include "buffer/text_buffer.h"
#include "platform/app_services.h"
#include "platform/format.h"
#include "resources/context_menu.h"
#include "style/document_style.h"
#include "view/command_ids.h"
#include "view/quill_view.h"

namespace quill {

namespace {

using Handler = void (QuillView::*)();
using IdHandler = void (QuillView::*)(unsigned);
using UpdateHandler = void (QuillView::*)(CCmdUI*);

// One row: the ids first .. last reach the handler (or the handler taking the id) and the
// update handler; null where the view has none.
struct CommandEntry {
  unsigned first;
  unsigned last;
  Handler handler;
  IdHandler idHandler;
  UpdateHandler update;
};

constexpr CommandEntry Row(unsigned id, Handler handler, UpdateHandler update = nullptr) {
  return {id, id, handler, nullptr, update};
}

constexpr CommandEntry kCommands[] = {
    Row(ID_CONTEXT_COPY, &QuillView::OnEditCopy, &QuillView::OnUpdateEditCut),
    Row(ID_CONTEXT_PASTE, &QuillView::OnEditPaste, &QuillView::OnUpdateEditPaste),
    Row(ID_CONTEXT_CUT, &QuillView::OnEditCut, &QuillView::OnUpdateEditCut),
    Row(ID_CONTEXT_UNDO, &QuillView::OnEditUndo, &QuillView::OnUpdateEditUndo),
    Row(ID_CONTEXT_REDO, &QuillView::OnEditRedo, &QuillView::OnUpdateEditRedo),
    Row(ID_INSERT_SINGLE_LINE_COMMENT, &QuillView::OnInsertSingleLineComment,
        &QuillView::OnUpdateMultiLineComment),
    Row(ID_INSERT_MULTI_LINE_COMMENT, &QuillView::OnInsertMultiLineComment,
        &QuillView::OnUpdateMultiLineComment),
    Row(ID_REMOVE_SINGLE_LINE_COMMENT, &QuillView::OnRemoveSingleLineComment,
        &QuillView::OnUpdateRemoveSingleLineComment),
    Row(ID_REMOVE_MULTI_LINE_COMMENT, &QuillView::OnRemoveMultiLineComment,
        &QuillView::OnUpdateRemoveMultiLineComment),
    Row(ID_EDIT_DELETE, &QuillView::OnEditDelete),
    Row(ID_EDIT_DELETE_BACK, &QuillView::OnEditDeleteBack),
    Row(ID_EDIT_DELETE_WORD_BACK, nullptr),
    Row(ID_EDIT_TAB, &QuillView::OnEditTab),
    Row(ID_EDIT_UNTAB, &QuillView::OnEditUntab),
    Row(ID_EDIT_SWITCH_OVRMODE, &QuillView::OnEditSwitchOvrmode,
        &QuillView::OnUpdateEditSwitchOvrmode),
    Row(ID_EDIT_GOTO, &QuillView::OnEditGoto, &QuillView::OnUpdateGoto),
    Row(ID_EDIT_CHAR_LEFT, &QuillView::OnCharLeft),
    Row(ID_EDIT_EXT_CHAR_LEFT, &QuillView::OnExtCharLeft),
    Row(ID_EDIT_CHAR_RIGHT, &QuillView::OnCharRight),
    Row(ID_EDIT_EXT_CHAR_RIGHT, &QuillView::OnExtCharRight),
    Row(ID_EDIT_WORD_LEFT, &QuillView::OnWordLeft),
    Row(ID_EDIT_EXT_WORD_LEFT, &QuillView::OnExtWordLeft),
    Row(ID_EDIT_WORD_RIGHT, &QuillView::OnWordRight),
    Row(ID_EDIT_EXT_WORD_RIGHT, &QuillView::OnExtWordRight),
    Row(ID_EDIT_LINE_UP, &QuillView::OnLineUp),
    Row(ID_EDIT_EXT_LINE_UP, &QuillView::OnExtLineUp),
    Row(ID_EDIT_LINE_DOWN, &QuillView::OnLineDown),
    Row(ID_EDIT_EXT_LINE_DOWN, &QuillView::OnExtLineDown),
    Row(ID_EDIT_SCROLL_UP, &QuillView::ScrollOneLineUp),
    Row(ID_EDIT_SCROLL_DOWN, &QuillView::ScrollOneLineDown),
    Row(ID_EDIT_PAGE_UP, &QuillView::OnPageUp),
    Row(ID_EDIT_EXT_PAGE_UP, &QuillView::OnExtPageUp),
    Row(ID_EDIT_PAGE_DOWN, &QuillView::OnPageDown),
    Row(ID_EDIT_EXT_PAGE_DOWN, &QuillView::OnExtPageDown),
    Row(ID_EDIT_LINE_END, &QuillView::OnLineEnd),
    Row(ID_EDIT_EXT_LINE_END, &QuillView::OnExtLineEnd),
    Row(ID_EDIT_HOME, &QuillView::OnHome),
    Row(ID_EDIT_EXT_HOME, &QuillView::OnExtHome),
    Row(ID_EDIT_TEXT_BEGIN, &QuillView::OnTextBegin),
    Row(ID_EDIT_EXT_TEXT_BEGIN, &QuillView::OnExtTextBegin),
    Row(ID_EDIT_TEXT_END, &QuillView::OnTextEnd),
    Row(ID_EDIT_EXT_TEXT_END, &QuillView::OnExtTextEnd),
    Row(ID_EDIT_FIND_PREVIOUS, &QuillView::OnEditFindPrevious, &QuillView::OnUpdateEditRepeat),
    {ID_EDIT_TOGGLE_BOOKMARK0, ID_EDIT_TOGGLE_BOOKMARK9, nullptr, &QuillView::OnToggleBookmark,
     nullptr},
    {ID_EDIT_GO_BOOKMARK0, ID_EDIT_GO_BOOKMARK9, nullptr, &QuillView::OnGoBookmark, nullptr},
    Row(ID_EDIT_CLEAR_BOOKMARKS, &QuillView::OnClearBookmarks),
    Row(ID_EDIT_TOGGLE_BOOKMARK, &QuillView::OnToggleBookmark, &QuillView::OnUpdateGoto),
    Row(ID_EDIT_NEXT_BOOKMARK, &QuillView::OnNextBookmark, &QuillView::OnUpdateNextBookmark),
    Row(ID_EDIT_PREV_BOOKMARK, &QuillView::OnPrevBookmark, &QuillView::OnUpdateNextBookmark),
    Row(ID_EDIT_CLEAR_ALL_BOOKMARKS, &QuillView::OnClearAllBookmarks,
        &QuillView::OnUpdateNextBookmark),
    Row(ID_EDIT_INDICATOR_COL, nullptr, &QuillView::OnUpdateIndicatorCol),
    Row(ID_EDIT_INDICATOR_READ, nullptr, &QuillView::OnUpdateIndicatorRead),
    Row(ID_EDIT_INDICATOR_CRLF, nullptr, &QuillView::OnUpdateIndicatorCRLF),
    Row(ID_EDIT_INDICATOR_POSITION, nullptr, &QuillView::OnUpdateIndicatorPosition),
    Row(ID_EDIT_DESELECT_ALL, &QuillView::OnEditDeselectAll, &QuillView::OnUpdateEditCut),
    Row(ID_EDIT_DELETE_BACK_SHIFT, &QuillView::OnEditDeleteBack),
    Row(ID_EDIT_FIND_NEXT_INPLACE, &QuillView::OnFindNextInplace),
    Row(ID_EDIT_FIND_PREVIOUS_INPLACE, &QuillView::OnFindpreviousInplace),
    Row(ID_EDIT_F5, &QuillView::OnF5Command),
    Row(ID_EDIT_F6, &QuillView::OnF6Command),
    Row(ID_EDIT_MATCH_BRACE, &QuillView::FindMatchDelimeter),
    Row(ID_EDIT_MATCH_BRACE_ESC, &QuillView::FindMatchDelimeter),
    Row(ID_EDIT_TOGGLE_BOOKMARK2_SECOND, nullptr),
    Row(ID_FILE_SAVE, nullptr),  // the document's and the frame's
    Row(ID_FILE_PAGE_SETUP, &QuillView::OnFilePageSetup),
    Row(ID_FILE_PRINT, &QuillView::OnFilePrint),
    Row(ID_FILE_PRINT_DIRECT, &QuillView::OnFilePrint),
    Row(ID_FILE_PRINT_PREVIEW, &QuillView::OnFilePrintPreview),
    Row(ID_EDIT_COPY, &QuillView::OnEditCopy, &QuillView::OnUpdateEditCut),
    Row(ID_EDIT_CUT, &QuillView::OnEditCut, &QuillView::OnUpdateEditCut),
    Row(ID_EDIT_FIND, &QuillView::OnEditFind),
    Row(ID_EDIT_PASTE, &QuillView::OnEditPaste, &QuillView::OnUpdateEditPaste),
    Row(ID_EDIT_REPEAT, &QuillView::OnEditRepeat, &QuillView::OnUpdateEditRepeat),
    Row(ID_EDIT_REPLACE, &QuillView::OnEditReplace, &QuillView::OnUpdateGoto),
    Row(ID_EDIT_SELECT_ALL, &QuillView::SelectAll, &QuillView::OnUpdateEditSelectAll),
    Row(ID_EDIT_UNDO, &QuillView::OnEditUndo, &QuillView::OnUpdateEditUndo),
    Row(ID_EDIT_REDO, &QuillView::OnEditRedo, &QuillView::OnUpdateEditRedo),
    Row(ID_INDICATOR_OVR, nullptr, &QuillView::OnUpdateIndicatorOvr),
};

const CommandEntry* FindCommand(unsigned nID) {
  for (const CommandEntry& entry : kCommands) {
    if (nID >= entry.first && nID <= entry.last) return &entry;
  }
  return nullptr;
}

// Stand-ins for the module handles: the library's own and the framework's current one
// (the same module: the library's resources are the only ones the component has).
const char kModuleInstance = 0;

// Runs the update handlers of every item of the menu and its submenus; items whose
// command has no update handler keep their state.
void UpdateMenuItems(QuillView& view, std::vector<CMenu::Item>& items) {
  for (CMenu::Item& item : items) {
    if (item.separator) continue;
    if (!item.submenu.empty()) {
      UpdateMenuItems(view, item.submenu);
      continue;
    }
    CCmdUI state(item.id);
    if (!view.OnUpdateCommand(item.id, &state)) continue;
    if (state.m_enabled) item.enabled = *state.m_enabled;
    if (state.m_check) item.checked = *state.m_check != 0;
    if (state.m_text) item.text = *state.m_text;
  }
}

}  // namespace

const void* QuillView::s_hResourceInst = nullptr;

const void* QuillView::GetModuleInstance() { return &kModuleInstance; }

const void* QuillView::GetResourceHandle() {
  return s_hResourceInst != nullptr ? s_hResourceInst : GetModuleInstance();
}

// ---- routing ----

bool QuillView::OnCommand(unsigned nID) {
  const CommandEntry* entry = FindCommand(nID);
  if (entry == nullptr || (entry->handler == nullptr && entry->idHandler == nullptr)) return false;
  RunEditCommand([this, entry, nID] {
    if (entry->handler != nullptr)
      (this->*entry->handler)();
    else
      (this->*entry->idHandler)(nID);
  });
  return true;
}

bool QuillView::OnUpdateCommand(unsigned nID, CCmdUI* pCmdUI) {
  const CommandEntry* entry = FindCommand(nID);
  if (entry == nullptr || entry->update == nullptr || pCmdUI == nullptr) return false;
  (this->*entry->update)(pCmdUI);
  return true;
}

bool QuillView::HasCommandHandler(unsigned nID) const {
  const CommandEntry* entry = FindCommand(nID);
  return entry != nullptr && (entry->handler != nullptr || entry->idHandler != nullptr);
}

void QuillView::LoadAcceleratorTable() {
  // Loaded from the library's own module, whatever resource handle a host installed.
  if (GetModuleInstance() != nullptr) m_hAccel = LoadAccelerators(GetAcceleratorID());
}

bool QuillView::PreTranslateMessage(MSG* pMsg) {
  if (pMsg == nullptr || pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) return false;
  if (m_hAccel == nullptr) return false;
  const unsigned nID = TranslateAccelerator(m_pWnd, m_hAccel, pMsg);
  if (nID == 0) return false;
  if (!OnCommand(nID) && HasWindow()) m_pWnd->RouteCommandToFrame(nID);
  return true;
}

// ---- context menu ----

void QuillView::BuildContextMenu() {
  CMenu& menu = m_menuContext;
  menu.CreatePopupMenu();
  menu.AppendMenu(MF_STRING, ID_CONTEXT_UNDO, kMenuUndo);
  menu.AppendMenu(MF_STRING, ID_CONTEXT_REDO, kMenuRedo);
  menu.AppendMenu(MF_SEPARATOR);
  menu.AppendMenu(MF_STRING, ID_CONTEXT_COPY, kMenuCopy);
  menu.AppendMenu(MF_STRING, ID_CONTEXT_PASTE, kMenuPaste);
  menu.AppendMenu(MF_STRING, ID_CONTEXT_CUT, kMenuCut);
  menu.AppendMenu(MF_SEPARATOR);

  if (m_pStyle != nullptr) {
    char* single = nullptr;
    char* open = nullptr;
    char* close = nullptr;
    m_pStyle->GetSingleCommentsDelims(&single, 0);
    m_pStyle->GetCommentsDelims(&open, &close);
    const std::unique_ptr<char[]> keepSingle(single);
    const std::unique_ptr<char[]> keepOpen(open);
    const std::unique_ptr<char[]> keepClose(close);
    const bool bSingle = single != nullptr && *single != '\0';
    const bool bMulti = open != nullptr && *open != '\0';
    const char* closing = close != nullptr ? close : "";
    if (bSingle) {
      menu.AppendMenu(MF_STRING, ID_INSERT_SINGLE_LINE_COMMENT,
                      Format(kMenuInsertSingleLineComment, single));
    }
    if (bMulti) {
      menu.AppendMenu(MF_STRING, ID_INSERT_MULTI_LINE_COMMENT,
                      Format(kMenuInsertMultiLineComment, open, closing));
    }
    if (bSingle) {
      menu.AppendMenu(MF_STRING, ID_REMOVE_SINGLE_LINE_COMMENT,
                      Format(kMenuRemoveSingleLineComment, single));
    }
    if (bMulti) {
      menu.AppendMenu(MF_STRING, ID_REMOVE_MULTI_LINE_COMMENT,
                      Format(kMenuRemoveMultiLineComment, open, closing));
    }
    if (bSingle || bMulti) menu.AppendMenu(MF_SEPARATOR);
  }

  menu.AppendMenu(MF_STRING, ID_FILE_PAGE_SETUP, kMenuPageSetup);
  menu.AppendMenu(MF_STRING, ID_FILE_PRINT, kMenuPrint);
  menu.AppendMenu(MF_STRING, ID_FILE_PRINT_PREVIEW, kMenuPrintPreview);
}

void QuillView::OnContextMenu(Window* pWnd, CPoint point) {
  if (!HasWindow()) return;
  Window* pTarget = pWnd != nullptr ? pWnd : m_pWnd;
  UpdateMenuItems(*this, m_menuContext.Items());
  const unsigned nID = pTarget->TrackPopupMenu(m_menuContext, TPM_LEFTALIGN | TPM_RIGHTBUTTON, point);
  if (nID != 0 && !OnCommand(nID)) pTarget->RouteCommandToFrame(nID);
}

// ---- status bar ----

void QuillView::SetToolBarMessage(const std::string& strMessage) {
  IStatusBar* pStatusBar = GetApplicationServices().GetStatusBar();
  if (pStatusBar == nullptr) return;
  pStatusBar->SetPaneText(0, strMessage.empty() ? std::string("Ready") : strMessage);
}

void QuillView::OnUpdateEditSelectAll(CCmdUI* pCmdUI) { pCmdUI->Enable(m_pTextBuffer != nullptr); }

void QuillView::OnUpdateIndicatorPosition(CCmdUI* pCmdUI) {
  pCmdUI->Enable(1);
  pCmdUI->SetText(Format("Ln %d, Col %d", m_ptCursorPos.y + 1, GetColumnPos(m_ptCursorPos) + 1));
}

void QuillView::OnUpdateIndicatorCol(CCmdUI* pCmdUI) { pCmdUI->Enable(0); }

void QuillView::OnUpdateIndicatorOvr(CCmdUI* pCmdUI) { pCmdUI->Enable(m_bOvrMode); }

void QuillView::OnUpdateIndicatorRead(CCmdUI* pCmdUI) {
  pCmdUI->Enable(m_pTextBuffer != nullptr && m_pTextBuffer->GetReadOnly());
}

void QuillView::OnUpdateIndicatorCRLF(CCmdUI* pCmdUI) {
  static const char* const kModes[] = {"DOS", "UNIX", "MAC"};
  const int nMode = m_pTextBuffer != nullptr ? m_pTextBuffer->GetCRLFMode() : -1;
  if (nMode >= CRLF_MODE_DOS && nMode <= CRLF_MODE_MAC) {
    pCmdUI->SetText(kModes[nMode]);
    pCmdUI->Enable(1);
  } else {
    pCmdUI->SetText(std::string());
    pCmdUI->Enable(0);
  }
}

}  // namespace quill
