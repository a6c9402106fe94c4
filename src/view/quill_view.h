#pragma once
// QuillView: the editor window over one QuillTextBuffer. A plain class whose window
// messages are members that a backend calls; nothing of a toolkit appears here.
//
// The class is spread over files by concern: state.cpp (construction, attaching, reset,
// buffer notifications, window lifecycle), geometry.cpp (tab expansion, columns, pixels,
// metrics, fonts), render.cpp (painting, colours, selection, caret), scroll.cpp (scroll
// bars), selection.cpp (cursor, selection, scrolling to a point), move.cpp (keyboard
// movement and scroll commands), mouse.cpp (mouse, wheel, scroll bars, focus), commands.cpp
// (command table, accelerators, context menu, indicators).

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "buffer/buffer_listener.h"
#include "platform/command_ui.h"
#include "platform/drag_drop.h"
#include "platform/file_service.h"
#include "platform/gdi.h"
#include "platform/menu.h"
#include "platform/print.h"
#include "platform/types.h"
#include "platform/window.h"
#include "resources/accelerators.h"
#include "style/parse_checkpoints.h"
#include "style/text_block.h"
#include "view/column_index.h"
#include "view/search_flags.h"
#include "view/text_source.h"

namespace quill {

class CDocument;
class CEditDropTargetImpl;
class CUpdateContext;
class QuillTextBuffer;
class TDocumentStyle;

class QuillView : public ITextBufferListener, public ITextSource, public IPaneClient {
 public:
  // One coloured run of a line (style/text_block.h).
  using TEXTBLOCK = quill::TEXTBLOCK;

  // Dynamic creation under the class name "QuillView".
  using ViewFactory = std::function<std::unique_ptr<QuillView>()>;
  static constexpr const char* kClassName = "QuillView";
  static std::unique_ptr<QuillView> CreateObject();
  static ViewFactory GetThisClass();

  QuillView();
  virtual ~QuillView();
  QuillView(const QuillView&) = delete;
  QuillView& operator=(const QuillView&) = delete;

  // The document this view shows (the framework binds it when the view is created).
  CDocument* GetDocument() const { return m_pDocument; }
  // The text source's view of the view (ITextSource).
  bool GetSelectedRange(CPoint& ptStart, CPoint& ptEnd) override;
  CDocument* GetSourceDocument() const override { return m_pDocument; }
  Window* GetSourceWindow() const override { return m_pWnd; }
  // The selection the replace command will restore, as moved by the edits since it was
  // saved; false while none is saved.
  bool GetPushedSelection(CPoint& ptStart, CPoint& ptEnd) const {
    if (!m_bSelectionPushed) return false;
    ptStart = m_ptSavedSelStart;
    ptEnd = m_ptSavedSelEnd;
    return true;
  }
  void SetDocument(CDocument* document) { m_pDocument = document; }

  // ---- Window lifecycle (a backend calls these) ----

  // The window the view lives in; null until OnCreate and after OnDestroy.
  Window* GetWindow() const { return m_pWnd; }
  virtual bool PreCreateWindow(CREATESTRUCT& cs);
  // Binds the window and creates what the view needs; -1 (and no window) without a style.
  int OnCreate(Window* pWnd);
  virtual void OnInitialUpdate();
  virtual void OnActivateView(int bActivate, QuillView* pActivateView, QuillView* pDeactiveView);
  void OnSize(unsigned nType, int cx, int cy);
  void OnSysColorChange();
  int OnEraseBkgnd(CDC* pdc);
  void OnDestroy();
  virtual void OnDraw(CDC* pdc);
  // Framework notification (UpdateAllViews). Without a sender, a file changed outside
  // since its time was recorded is reloaded silently (last_write_time.cpp).
  virtual void OnUpdate(QuillView* pSender, long lHint, void* pHint);

  // ---- Buffer access ----
  virtual QuillTextBuffer* LocateTextBuffer();
  void AttachToBuffer(QuillTextBuffer* pBuf = nullptr);
  void DetachFromBuffer();
  virtual int GetLineCount();
  virtual int GetLineLength(int nLineIndex);
  virtual int GetLineActualLength(int nLineIndex);
  virtual const char* GetLineChars(int nLineIndex);
  virtual std::uint32_t GetLineFlags(int nLineIndex);
  virtual void GetText(const CPoint& ptStart, const CPoint& ptEnd, std::string& text);
  virtual bool QueryEditable();

  // ---- Characters (characters.cpp) ----
  // The buffer's encoding (Windows-1252 without a buffer). In a UTF-8 document a character
  // is a whole UTF-8 sequence, and the caret steps over it together with the zero-width
  // characters that follow it; in a Windows-1252 document it is one byte.
  int GetTextEncoding() const;
  bool IsUtf8Text() const;
  int NextCharPos(int nLineIndex, int nPos);
  int PrevCharPos(int nLineIndex, int nPos);
  // Text from other programs (UTF-8) in the document's encoding. Text holding a character
  // the document cannot hold is refused whole, with one status-bar message naming it.
  bool EncodeIncomingText(std::string_view text, std::string& out);
  // The bytes of the document as UTF-8 text for other programs.
  std::string DecodeOutgoingText(std::string_view bytes) const;
  // A typed character given as its code point (keys and input methods of a desktop):
  // typed like OnChar in the document's encoding, or refused with a status-bar message.
  void OnUnicodeChar(char32_t cp);
  // Text an input method commits (UTF-8): typed over the selection as one edit.
  void OnInputText(std::string_view text);

  // ---- Geometry ----
  virtual void ResetView();
  int GetTabSize() const { return m_nTabSize; }
  void SetTabSize(int nTabSize);
  bool GetViewTabs() const { return m_bViewTabs; }
  void SetViewTabs(int bViewTabs);
  bool GetSelectionMargin() const { return m_bSelMargin; }
  void SetSelectionMargin(int bSelMargin);
  // Line numbers in the margin (off by default): the marks' column, then the numbers, as
  // wide as the line count's digits (three at least).
  bool GetLineNumbers() const { return m_bLineNumbers; }
  void SetLineNumbers(int bLineNumbers);
  int GetMarginWidth() const;
  int GetLineHeight();
  int GetCharWidth();
  int GetScreenLines();
  int GetScreenChars();
  int GetMaxLineLength();
  int CalculateActualOffset(int nLineIndex, int nCharIndex);
  int ApproxActualOffset(int nLineIndex, int nOffset);
  void ExpandChars(const char* pszChars, int nOffset, int nCount, std::string& line);
  CPoint ClientToText(const CPoint& point);
  CPoint TextToClient(const CPoint& point);
  void AdjustTextPoint(CPoint& point);
  void InvalidateLines(int nLine1, int nLine2, int bInvalidateMargin = 0);
  int GetColumnPos(const CPoint& pt);

  // ---- Fonts ----
  void SetFont(const LOGFONT& lf);
  void GetFont(LOGFONT& lf) const { lf = m_lfBaseFont; }
  const CFont* GetFont(int bItalic = 0, int bBold = 0);

  // ---- Flags stored for other commands ----
  bool GetSmoothScroll() const { return m_bSmoothScroll; }
  void SetSmoothScroll(int bSmoothScroll) { m_bSmoothScroll = bSmoothScroll != 0; }
  bool GetDisableDragAndDrop() const { return m_bDisableDragAndDrop; }
  void SetDisableDragAndDrop(int bDDAD) { m_bDisableDragAndDrop = bDDAD != 0; }
  bool GetDisableBSAtSOL() const { return m_bDisableBSAtSOL; }
  void SetDisableBSAtSOL(int bDisableBSAtSOL) { m_bDisableBSAtSOL = bDisableBSAtSOL != 0; }
  bool GetOverwriteMode() const { return m_bOvrMode; }
  bool GetAutoIndent() const { return m_bAutoIndent; }

  // ---- Settings hooks for hosts (the view reads nothing through them) ----
  virtual int GetSettingInt(const char* pszKey, int nDefault);
  virtual unsigned long GetSettingString(const char* pszKey, const char* pszDefault,
                                         char* pszBuffer, unsigned long nSize);
  virtual bool SetSettingInt(const char* pszKey, int nValue);

  // ---- Hooks for derived views ----
  virtual unsigned long ParseLine(const char* pszChars, int nLength, unsigned long dwCookie,
                                  int nLineIndex, TEXTBLOCK* pBuf, int& nActualItems);
  // ParseLine over the first nTo characters of a long line, where only the runs from
  // position nFrom on are needed: a view whose ParseLine forwards to its style forwards
  // this to the style's ParseLinePart with the same arguments, which resumes from a state
  // saved in states near nFrom. The runs written may start at any position up to nFrom,
  // the one in force there first. The default calls ParseLine over the first nTo characters.
  virtual unsigned long ParseLinePart(const char* pszChars, int nLength, unsigned long dwCookie,
                                      int nLineIndex, TParseCheckpoints& states, int nFrom,
                                      int nTo, TEXTBLOCK* pBuf, int& nActualItems);
  virtual int GetDocumentType() const { return -1; }
  virtual std::string GetCaption() const { return std::string(); }
  // A new style the view owns from then on (an override may also hand it to m_pStyle
  // itself); null when the view has none.
  virtual TDocumentStyle* CreateStyle();
  TDocumentStyle* GetTextStyle() const { return m_pStyle.get(); }
  // Replaces the view's style with what CreateStyle gives; false when that is null.
  bool RenewStyle();
  virtual void OnEditChanged() {}
  virtual void HandleF5Command() {}
  virtual void HandleF6Command() {}

  // ---- Painting ----
  virtual COLORREF GetColor(int nColorIndex);
  virtual void GetLineColors(int nLineIndex, unsigned long& crBkgnd, unsigned long& crText,
                             int& bDrawWhitespace);
  virtual int GetBold(int nColorIndex);
  virtual int GetItalic(int nColorIndex);
  virtual void DrawSingleLine(CDC* pdc, const CRect& rect, int nLineIndex);
  virtual void DrawMargin(CDC* pdc, const CRect& rect, int nLineIndex);
  void DrawLineHelper(CDC* pdc, CPoint& ptOrigin, const CRect& rcClip, int nColorIndex,
                      const char* pszChars, int nOffset, int nCount, CPoint ptTextPos);
  void DrawLineHelperImpl(CDC* pdc, CPoint& ptOrigin, const CRect& rcClip,
                          const char* pszChars, int nOffset, int nCount);
  unsigned long GetParseCookie(int nLineIndex);

  // ---- Selection bounds and caret ----
  void PrepareSelBounds();
  bool IsInsideSelBlock(CPoint ptTextPos);
  bool IsInsideSelection(const CPoint& ptTextPos);
  void UpdateCaret();
  void ShowCursor();
  void HideCursor();

  // ---- Scroll bars ----
  void RecalcVertScrollBar(int bPositionOnly = 0);
  void RecalcHorzScrollBar(int bPositionOnly = 0);

  // ---- Buffer notifications ----
  // Called by the buffer for every attached view after each change.
  virtual void UpdateView(QuillView* pSource, CUpdateContext* pContext, unsigned long dwFlags,
                          int nLineIndex);
  // Called on the source view when an undo group is flushed.
  void OnEditOperation(int nAction, const char* pszText) override;
  // Called by a buffer that is being destroyed while this view is still attached: the
  // view lets go of it and shows no text from then on.
  void OnBufferDestroyed(QuillTextBuffer* pBuf) override;
  // The buffer's notifications (ITextBufferListener): a change goes to UpdateView, the
  // document is the view's, a bookmark set by the buffer enables the bookmark commands,
  // and the identity of a file written or changed becomes the recorded one.
  void OnBufferUpdate(ITextBufferListener* pSource, CUpdateContext* pContext, unsigned long dwUpdateFlags,
                      int nLineIndex) override;
  CDocument* GetListenerDocument() const override;
  void OnBookmarkSet() override { m_bHasBookmarks = true; }
  void OnFileWritten(const FileIdentity& identity) override { RecordWrittenFile(identity); }
  void OnFileIdentityChanged(const FileIdentity& before, const FileIdentity& after) override;

  // ---- Go to and bookmarks ----
  // Moves the caret to the start of line nLine (counted from 1, clamped to the buffer);
  // the selection and its anchor stay. Returns the new caret line (from 0).
  int GotoLine(int nLine);
  // Sets the plain bookmark on the caret line (never toggles it off). Returns 0.
  int SetBookmark();
  // Removes the plain bookmark of the caret line. Returns 0.
  int RemoveBookmark();
  void GotoNextBookmark() { OnNextBookmark(); }
  // Moves the caret to column nColumn (from 1, clamped to the line). Returns its index.
  int GotoColumn(int nColumn);
  // Jumps to numbered bookmark n. Returns the caret line afterwards.
  int GotoBookmark(int n);
  CPoint GetCursorPos() const { return m_ptCursorPos; }

  // ---- Cursor, selection and scrolling primitives (selection.cpp) ----
  // The selection as set (start and end in either order); ignored for points outside the
  // text. GetSelection gives it ordered.
  void SetSelection(const CPoint& ptStart, const CPoint& ptEnd);
  void GetSelection(CPoint& ptStart, CPoint& ptEnd);
  bool IsSelection();
  void SetAnchor(const CPoint& ptNewAnchor);
  void SetCursorPos(const CPoint& ptCursorPos);
  void EnsureVisible(CPoint pt);
  void ScrollToLine(int nNewTopLine, int bNoSmoothScroll = 0, int bTrackScrollBar = 1);
  void ScrollToChar(int nNewOffsetChar, int bNoSmoothScroll = 0, int bTrackScrollBar = 1);
  // Split panes: the view in a pane of the parent splitter, and keeping panes in step
  // (bVertical set: the top line changed, the other panes of the row follow; clear: the
  // offset char changed, the other panes of the column follow).
  QuillView* GetSiblingView(int nRow, int nCol);
  virtual void UpdateSiblingScrollPos(int bVertical);
  virtual void OnUpdateSibling(QuillView* pUpdateSource, int bVertical);

  // ---- Movement, mouse, commands and indicators (move.cpp, mouse.cpp, commands.cpp) ----

  // Movement: bSelect extends the selection from the anchor, else the anchor follows.
  void MoveLeft(int bSelect);
  void MoveRight(int bSelect);
  void MoveWordLeft(int bSelect);
  void MoveWordRight(int bSelect);
  void MoveUp(int bSelect);
  void MoveDown(int bSelect);
  void MoveHome(int bSelect);
  void MoveEnd(int bSelect);
  void MovePgUp(int bSelect);
  void MovePgDn(int bSelect);
  void MoveCtrlHome(int bSelect);
  void MoveCtrlEnd(int bSelect);
  CPoint WordToLeft(CPoint pt);
  CPoint WordToRight(CPoint pt);
  void SelectAll();
  void OnEditDeselectAll();
  void ScrollUp(int nLines);
  void ScrollDown(int nLines);
  void ScrollOneLineUp();
  void ScrollOneLineDown();
  void ScrollLeft();
  void ScrollRight();

  void OnCharLeft() { MoveLeft(0); }
  void OnExtCharLeft() { MoveLeft(1); }
  void OnCharRight() { MoveRight(0); }
  void OnExtCharRight() { MoveRight(1); }
  void OnWordLeft() { MoveWordLeft(0); }
  void OnExtWordLeft() { MoveWordLeft(1); }
  void OnWordRight() { MoveWordRight(0); }
  void OnExtWordRight() { MoveWordRight(1); }
  void OnLineUp() { MoveUp(0); }
  void OnExtLineUp() { MoveUp(1); }
  void OnLineDown() { MoveDown(0); }
  void OnExtLineDown() { MoveDown(1); }
  void OnPageUp() { MovePgUp(0); }
  void OnExtPageUp() { MovePgUp(1); }
  void OnPageDown() { MovePgDn(0); }
  void OnExtPageDown() { MovePgDn(1); }
  void OnHome() { MoveHome(0); }
  void OnExtHome() { MoveHome(1); }
  void OnLineEnd() { MoveEnd(0); }
  void OnExtLineEnd() { MoveEnd(1); }
  void OnTextBegin() { MoveCtrlHome(0); }
  void OnExtTextBegin() { MoveCtrlHome(1); }
  void OnTextEnd() { MoveCtrlEnd(0); }
  void OnExtTextEnd() { MoveCtrlEnd(1); }

  // Window messages: scroll bars (SB_* request, thumb position, the separate bar or
  // null), wheel, mouse buttons (MK_* flags, client point), timer, cursor shape, focus.
  void OnVScroll(unsigned nSBCode, unsigned nPos, ScrollBarCtrl* pScrollBar);
  void OnHScroll(unsigned nSBCode, unsigned nPos, ScrollBarCtrl* pScrollBar);
  // 1 when the view scrolled for the wheel, 0 when the message was left to the default.
  int OnMouseWheel(unsigned nFlags, short zDelta, CPoint pt);
  void OnLButtonDown(unsigned nFlags, CPoint point);
  void OnMouseMove(unsigned nFlags, CPoint point);
  void OnLButtonUp(unsigned nFlags, CPoint point);
  void OnLButtonDblClk(unsigned nFlags, CPoint point);
  void OnRButtonDown(unsigned nFlags, CPoint point);
  void OnTimer(unsigned nIDEvent);
  // True when the view set the cursor shape (the mouse is over the client area).
  bool OnSetCursor(Window* pWnd, unsigned nHitTest, unsigned message);
  void OnSetFocus(Window* pOldWnd);
  void OnKillFocus(Window* pNewWnd);

  // Commands. OnCommand runs the handler of a command id and returns false when the view
  // has none; OnUpdateCommand runs its update handler and returns false when it has none.
  bool OnCommand(unsigned nID);
  bool OnUpdateCommand(unsigned nID, CCmdUI* pCmdUI);
  bool HasCommandHandler(unsigned nID) const;
  // Keyboard messages (WM_KEYFIRST .. WM_KEYLAST) go through the accelerator table; a
  // translated key runs its command (commands the view does not handle go on to the
  // frame) and is consumed (true).
  virtual bool PreTranslateMessage(MSG* pMsg);
  static unsigned GetAcceleratorID() { return 22901; }
  // The accelerator table loaded when the window was created (null before).
  HACCEL GetAcceleratorTable() const { return m_hAccel; }
  // Resources: a host may set s_hResourceInst to supply its own.
  static const void* s_hResourceInst;
  virtual const void* GetResourceHandle();
  static const void* GetModuleInstance();

  void OnContextMenu(Window* pWnd, CPoint point);
  const CMenu& GetContextMenu() const { return m_menuContext; }
  void OnF5Command() { HandleF5Command(); }
  void OnF6Command() { HandleF6Command(); }
  // Writes the text into the status bar's message pane; empty text reads "Ready".
  void SetToolBarMessage(const std::string& strMessage);
  void OnUpdateEditSelectAll(CCmdUI* pCmdUI);
  void OnUpdateIndicatorPosition(CCmdUI* pCmdUI);
  void OnUpdateIndicatorCol(CCmdUI* pCmdUI);
  void OnUpdateIndicatorOvr(CCmdUI* pCmdUI);
  void OnUpdateIndicatorRead(CCmdUI* pCmdUI);
  void OnUpdateIndicatorCRLF(CCmdUI* pCmdUI);

  // ---- Editing (edit.cpp) ----
  // nChar is a byte of the code page in a Windows-1252 document and a code point in a
  // UTF-8 document (typed as its UTF-8 sequence).
  void OnChar(unsigned nChar, unsigned nRepCnt, unsigned nFlags);
  void OnEditCopy();
  void OnEditPaste();
  void OnEditCut();
  void OnEditUndo();
  void OnEditRedo();
  void OnEditDelete();
  void OnEditDeleteBack();
  void OnEditTab();
  void OnEditUntab();
  void OnEditSwitchOvrmode();
  void OnInsertSingleLineComment();
  void OnInsertMultiLineComment();
  void OnRemoveSingleLineComment();
  void OnRemoveMultiLineComment();
  void FindMatchDelimeter();
  void OnUpdateEditCut(CCmdUI* pCmdUI);
  void OnUpdateEditPaste(CCmdUI* pCmdUI);
  void OnUpdateEditUndo(CCmdUI* pCmdUI);
  void OnUpdateEditRedo(CCmdUI* pCmdUI);
  void OnUpdateEditSwitchOvrmode(CCmdUI* pCmdUI);
  void OnUpdateMultiLineComment(CCmdUI* pCmdUI);
  void OnUpdateRemoveSingleLineComment(CCmdUI* pCmdUI);
  void OnUpdateRemoveMultiLineComment(CCmdUI* pCmdUI);
  // Deletes the selection (cursor at its start); false when there is none.
  bool DeleteCurrentSelection();
  // The boundary of one command (edit_boundary.cpp): runs it and, when it throws (a line
  // that would grow too long, memory running out), takes back the text it changed with
  // its undo records, puts cursor and selection back, shows one message box and returns
  // false. Nothing it throws goes further.
  bool RunEditCommand(const std::function<void()>& command);
  // Text for hosts: InsertText types the text over the selection (one undo step with the
  // typing before it); AppendText adds it at the cursor line by line, as one undo group
  // when bGroup is set. The second argument of InsertText is not used.
  void InsertText(const char* pszText, bool bReserved = false);
  void AppendText(const char* pszText, bool bGroup = true);
  void Copy();
  void Cut();
  void Paste();
  // The clipboard as plain 8-bit text.
  virtual bool TextInClipboard();
  virtual bool PutToClipboard(const char* pszText);
  virtual bool GetFromClipboard(std::string& text);

  // ---- Search engine (search.cpp) ----
  // Finds the text from a position within [ptBlockBegin, ptBlockEnd) (forwards) or up to
  // the top (SEARCH_BACKWARD), wrapping once when asked. Nonzero when found, with the
  // match's position and length.
  int FindTextInBlock(std::string_view what, const CPoint& ptStartPosition,
                      const CPoint& ptBlockBegin, const CPoint& ptBlockEnd,
                      unsigned long dwFlags, bool bWrapSearch, CPoint* pptFoundPos,
                      int* pnSearchLen);
  int FindTextInBlock(std::string_view what, const CPoint& ptStartPosition,
                      const CPoint& ptBlockBegin, const CPoint& ptBlockEnd,
                      unsigned long dwFlags, bool bWrapSearch, CPoint& ptFoundPos,
                      int& nSearchLen) {
    return FindTextInBlock(what, ptStartPosition, ptBlockBegin, ptBlockEnd, dwFlags,
                           bWrapSearch, &ptFoundPos, &nSearchLen);
  }
  // FindTextInBlock over the whole text, under the wait cursor.
  int FindText(std::string_view what, const CPoint& ptStartPosition, unsigned long dwFlags,
               bool bWrapSearch, CPoint* pptFoundPos, int* pnSearchLen);
  int FindText(std::string_view what, const CPoint& ptStartPosition, unsigned long dwFlags,
               bool bWrapSearch, CPoint& ptFoundPos, int& nSearchLen) {
    return FindText(what, ptStartPosition, dwFlags, bWrapSearch, &ptFoundPos, &nSearchLen);
  }
  // Selects a match and brings its end into view; returns 1.
  int HighlightText(const CPoint& ptStartPos, int nLength);
  // Selects the first whole-word, case-sensitive occurrence; 0 when there is none.
  int HighlightString(std::string_view what);
  // A search made outside the find dialogs: into the find history, and (when not empty)
  // the text the repeat commands search for next.
  void AddToRecentSearched(const std::string& text);
  void AddToRecentFind(const std::string& text);
  const std::deque<std::string>& GetFindHistory() const { return m_findHistory; }

  // ---- Find and replace commands (find_commands.cpp) ----
  void OnEditFind();
  void OnEditReplace();
  void OnEditRepeat();
  void OnEditFindPrevious();
  void OnFindNextInplace();
  void OnFindpreviousInplace();
  void OnUpdateEditRepeat(CCmdUI* pCmdUI);
  // Replaces the selection by the text, taken literally, and selects it. Returns 1.
  int ReplaceSelection(const char* pszNewText);
  // Replaces, as one undo step, every match of what (SEARCH_MATCH_CASE, SEARCH_WHOLE_WORD,
  // SEARCH_REGEX) that starts at or after ptBlockBegin and before ptBlockEnd by the
  // replacement, taken literally, and selects the last replacement. Each search goes on
  // after the text the previous replacement inserted; an empty match is replaced once and
  // the search goes on at the next line. The windows of the buffer's views are updated
  // once, at the end; a run longer than s_nProgressDelayMs shows its progress in the
  // status bar, and the user can stop it (the application services' PollCancel): what was
  // replaced stays, *pbCancelled is set. Returns the number of replacements.
  int ReplaceAll(std::string_view what, std::string_view replacement, unsigned long dwFlags,
                 const CPoint& ptBlockBegin, const CPoint& ptBlockEnd,
                 bool* pbCancelled = nullptr);
  static int s_nProgressDelayMs;
  void AddToRecentReplace(const std::string& text);
  const std::deque<std::string>& GetReplaceHistory() const { return m_replaceHistory; }
  // The histories and the settings store: entries stored by other views join the queue;
  // the queue is written back whole, with at most 30 counted.
  void MergeFindHistoryFromRegistry();
  void MergeFindHistoryToRegistry();
  void MergeReplaceHistoryFromRegistry();
  void MergeReplaceHistoryToRegistry();

  // ---- Bookmarks and go to (bookmarks.cpp) ----
  void OnEditGoto();
  void OnUpdateGoto(CCmdUI* pCmdUI);
  void OnToggleBookmark(unsigned nCmdID);
  void OnToggleBookmark();
  void OnGoBookmark(unsigned nCmdID);
  void OnClearBookmarks();
  void OnNextBookmark();
  void OnPrevBookmark();
  void OnClearAllBookmarks();
  void OnUpdateNextBookmark(CCmdUI* pCmdUI);

  // ---- Printing and page setup (print.cpp) ----
  // The framework's print sequence: OnPreparePrinting, OnBeginPrinting, then per page
  // OnPrepareDC and OnPrint, and OnEndPrinting.
  virtual int OnPreparePrinting(CPrintInfo* pInfo);
  virtual void OnBeginPrinting(CDC* pdc, CPrintInfo* pInfo);
  virtual void OnPrepareDC(CDC* pdc, CPrintInfo* pInfo = nullptr);
  virtual void OnPrint(CDC* pdc, CPrintInfo* pInfo);
  virtual void OnEndPrinting(CDC* pdc, CPrintInfo* pInfo);
  // The text rectangle, the printer line height and the first line of every page.
  void RecalcPageLayouts(CDC* pdc, CPrintInfo* pInfo);
  int PrintLineHeight(CDC* pdc, int nLine);
  virtual void PrintHeader(CDC* pdc, int nPageNum);
  virtual void PrintFooter(CDC* pdc, int nPageNum);
  virtual void GetPrintHeaderText(int nPageNum, std::string& text);
  virtual void GetPrintFooterText(int nPageNum, std::string& text);
  void OnFilePageSetup();
  // A copy of the printer's settings with that orientation, validated by its driver
  // (malloc'd: the caller frees it with free), or null.
  static DEVMODE* ChangeDevMode(Window* pWnd, const char* pDevice, short nOrientation);
  // The framework's print commands: the print dialog and the job; the preview window.
  void OnFilePrint();
  void OnFilePrintPreview();
  // The framework's print preparation (the print dialog unless the job is direct or a
  // preview).
  int DoPreparePrinting(CPrintInfo* pInfo);
  // Prepares the job and prints all its pages on the printer it chose; false when it was
  // cancelled or failed (a failure is reported once).
  bool RunPrintJob(CPrintInfo& info);
  // Prints the job's pages on pdc, from StartDoc to EndDoc.
  bool PrintPages(CDC* pdc, CPrintInfo* pInfo);
  // Prints the whole text into a PDF file, without a dialog.
  bool PrintToFile(const std::string& strPath);
  // The number of pages of the last layout (0 when there is none).
  int GetPageCount() const { return m_nPageCount; }

  // ---- Document properties (properties.cpp) ----
  void DoOptionDialog(Window* pParent);
  void OnProperties();

  // ---- Drag and drop (drag_drop.cpp) ----
  // Starts a drag of the selection (the first mouse move after a press inside it) and
  // runs the drag loop; a move deletes the dragged text afterwards, in the same undo group
  // as an insertion into this buffer.
  void DragSelection();
  // The selection's text in a new block (the dragged range remembered), or null.
  virtual HGLOBAL PrepareDragData();
  // The effects a drag from this view offers: copy and move.
  virtual DROPEFFECT GetDropEffect();
  // The drag ended with this effect; a move deletes the dragged text.
  virtual void OnDropSource(DROPEFFECT de);
  // Inserts the dropped text at the text point under ptClient; false when nothing was
  // inserted (no text, or a drop onto the selection being dragged).
  bool DoDropText(COleDataObject* pDataObject, const CPoint& ptClient);
  // The grey drop caret at the text point under a client point, and its removal.
  void ShowDropIndicator(const CPoint& point);
  void HideDropIndicator();
  // Scrolls one line or column when the point is near an edge of the client area.
  void DoDragScroll(const CPoint& point);
  bool IsDraggingText() const { return m_bDragSelection; }

  // ---- Files changed outside (last_write_time.cpp) ----
  // Records the current identity of the document's file (the file, its size and its
  // times; kept when the file cannot be read).
  void UpdateLastWrittenTime();
  // Records the identity of the file a save just wrote, as the save saw it.
  void RecordWrittenFile(const FileIdentity& identity);
  // True when the document's file can be opened and its identity differs from the
  // recorded one; false otherwise (also when the file cannot be opened).
  bool CheckTimestamp() const;
  // For the first view of every plain document open on exactly this path: records the
  // file's new last-write time and reloads the view.
  void UpdateDocumentView(const std::string& path);
  // The first views of the plain documents (not the locking ones) whose path is path.
  static std::vector<QuillView*> GetDocumentViews(const std::string& path);
  // Reloads the buffer from the document's file and resets the views; the caret stays on
  // its line where the new text still has it. The buffer is left unmodified. Nothing
  // happens when the file cannot be opened (the text is kept).
  virtual void ReloadFromFile();
  std::uint64_t GetLastWriteTime() const { return m_ftLastWrite; }

  // The number of glyphs of the margin strip and the line flags they show, in order.
  static constexpr int kMarginFlagCount = 15;
  static const std::array<std::uint32_t, kMarginFlagCount>& MarginFlags();

 protected:

  // Colour indexes of the view's own painting.
  enum {
    COLORINDEX_WHITESPACE = 1,       // the 1-pixel strip when the margin is off
    COLORINDEX_NORMALTEXT = 2,
    COLORINDEX_SELMARGIN = 3,
    COLORINDEX_SELBKGND = 4,
    COLORINDEX_SELTEXT = 5,
    COLORINDEX_BKGND = 17,
  };

  // The style's tab size and font go into the view (tab size 3, font kept without one).
  void ApplyStyleToView();
  void CalcLineCharDim();
  // Steps that belong to other concerns of the view; their owners fill them in.
  void ReadSearchHistories() {
    MergeFindHistoryFromRegistry();
    MergeReplaceHistoryFromRegistry();
  }
  void WriteSearchHistories() {
    MergeFindHistoryToRegistry();
    MergeReplaceHistoryToRegistry();
  }
  // The text the find commands start from: a one-line selection or the word at the caret.
  std::string GetTextForSearch();
  // Repeats the last search forwards or backwards.
  void RepeatFind(bool bBackward);
  // Jumps to a line: caret, anchor and an empty selection at its start (nothing for -1).
  void GoToBookmarkLine(int nLine);
  void FreeSearchState() {}
  void LoadAcceleratorTable();
  void ForgetAcceleratorTable() { m_hAccel = nullptr; }
  bool CreateDropTarget();
  void RevokeDropTarget();
  void BuildContextMenu();
  void DestroyContextMenu() { m_menuContext.DestroyMenu(); }
  void ClearLastWriteTime() {
    m_ftLastWrite = 0;
    m_idLastWrite = FileIdentity();
  }
  void RecordLastWriteTime() { UpdateLastWrittenTime(); }
  // Saves the style when it has unsaved changes and deletes it.
  void DeleteStyle();

  // A window exists (geometry that needs one is "not created" without it).
  bool HasWindow() const { return m_pWnd != nullptr; }
  CRect GetClientRect() const;
  void InvalidateAll(bool erase);
  void DiscardFonts();
  std::uint32_t GetLineFlagsSafe(int nLineIndex);
  // 0 <= y < line count and 0 <= x <= that line's length, with a sane scroll position.
  bool IsTextPointValid(const CPoint& pt);

  CDocument* m_pDocument = nullptr;
  Window* m_pWnd = nullptr;
  QuillTextBuffer* m_pTextBuffer = nullptr;
  std::unique_ptr<TDocumentStyle> m_pStyle;

  // Editing state.
  bool m_bOvrMode = false;
  bool m_bAutoIndent = true;
  bool m_bDisableBSAtSOL = false;
  bool m_bCursorHidden = false;

  // Painting and geometry caches.
  std::unique_ptr<CBitmap> m_pCacheBitmap;
  int m_nLineHeight = -1;
  int m_nCharWidth = -1;
  int m_nTabSize = 3;
  bool m_bViewTabs = false;
  bool m_bSelMargin = true;
  bool m_bLineNumbers = false;
  int m_nLineNumberDigits = 0;  // of the line count, while line numbers are shown
  int m_nScreenLines = -1;
  int m_nScreenChars = -1;
  int m_nMaxLineLength = -1;
  int m_nIdealCharPos = -1;
  bool m_bFocused = false;
  LOGFONT m_lfBaseFont;
  std::array<std::unique_ptr<CFont>, 4> m_apFonts;
  // Parse cookies: the entries below m_nParseCookiesKnown are computed, the rest are not
  // (an edit marks every line from the changed one down as not computed; cookies are only
  // ever computed from the last known one downwards, so the known ones form a prefix).
  // The vector reaches no further than the lines whose cookies were ever computed.
  std::vector<std::uint32_t> m_pdwParseCookies;
  int m_nParseCookiesKnown = 0;
  bool m_bParseCookiesAllocated = false;
  std::vector<int> m_pnActualLineLength;
  bool m_bActualLengthAllocated = false;
  CImageList m_pIcons;
  std::vector<TEXTBLOCK> m_aRunBuffer;

  // Mouse and drag state.
  bool m_bDragSelection = false;
  bool m_bSelecting = false;
  bool m_bWordSelection = false;
  bool m_bLineSelection = false;
  bool m_bPreparingToDrag = false;
  unsigned m_nDragSelTimer = 0;
  CPoint m_ptDraggedTextBegin;
  CPoint m_ptDraggedTextEnd;
  bool m_bDisableDragAndDrop = false;
  // The drop target of the window, and the drop caret: shown, the cursor it replaced, the
  // text point it marks.
  std::unique_ptr<CEditDropTargetImpl> m_pDropTarget;
  bool m_bDropPosVisible = false;
  CPoint m_ptSavedCaretPos;
  CPoint m_ptDropPos;

  // Selection, cursor and scroll position.
  CPoint m_ptDrawSelStart;
  CPoint m_ptDrawSelEnd;
  CPoint m_ptSelStart;
  CPoint m_ptSelEnd;
  CPoint m_ptCursorPos;
  CPoint m_ptAnchor;
  int m_nTopLine = 0;
  int m_nOffsetChar = 0;
  bool m_bSmoothScroll = false;
  bool m_bVertScrollBarLocked = false;
  bool m_bHorzScrollBarLocked = false;
  bool m_bShowInactiveSelection = false;

  // Find state: a last search exists, with its text and flags; the find history, newest
  // first.
  bool m_bHasLastFind = false;
  unsigned long m_dwLastFindFlags = 0;
  std::optional<std::string> m_sLastFindText;
  std::deque<std::string> m_findHistory;
  std::deque<std::string> m_replaceHistory;
  // The selection the replace command restores, moved across edits while the flag is set.
  bool m_bSelectionPushed = false;
  CPoint m_ptSavedSelStart;
  CPoint m_ptSavedSelEnd;
  // Printing (print.cpp): the printer font and layout of the job in progress, the
  // header and footer bands wanted, the orientation of the last page setup.
  std::unique_ptr<CFont> m_pPrinterFont;
  int m_nPrinterLineHeight = 0;
  std::unique_ptr<std::vector<int>> m_pPageFirstLines;
  int m_nPageCount = 0;
  CRect m_rcPrintText;
  bool m_bShowPrintHeader = false;
  bool m_bShowPrintFooter = true;
  short m_nPageOrientation = 1;

  // Keys and the context menu.
  HACCEL m_hAccel = nullptr;
  CMenu m_menuContext;

  // Bookmarks exist in the buffer: enables the bookmark navigation commands.
  bool m_bHasBookmarks = false;
  // Last-write time of the document's file as last recorded (100-ns units), 0 = none.
  std::uint64_t m_ftLastWrite = 0;  // of m_idLastWrite, in 100-nanosecond units
  FileIdentity m_idLastWrite;

 private:
  // Counts the digits of the line count for the line numbers; true when they changed (the
  // margin's width with them).
  bool KeepLineNumberDigits();
  // Editing helpers (edit.cpp): the common ending of an edit (anchor, empty selection and
  // cursor at the point, made visible); the whole lines a multi-line selection covers,
  // selected; the comment delimiters of the style.
  void PlaceAt(const CPoint& pt);
  // Editing is possible: a buffer is attached and QueryEditable allows it.
  bool CanEdit();
  // Buffer edits made by this view, noted in the open edit group and counted (each adds
  // one undo record).
  CPoint InsertAt(const CPoint& pt, const char* pszText, int nAction);
  void DeleteRange(const CPoint& ptStart, const CPoint& ptEnd, int nAction);
  int m_nEditCount = 0;
  // Reverts the last nEdits edits of the buffer and drops their undo records.
  void TakeBackEdits(int nEdits);
  // OnChar and AppendText within their command boundary.
  void TypeChar(unsigned nChar);
  void AppendLines(const char* pszText, bool bGroup);
  // An undo group around a compound edit (view/edit_group.h).
  class EditGroup;
  bool m_bGroupEdited = false;
  bool SelectBlockLines(int& nFirstLine, int& nLastLine);
  struct CommentDelims {
    std::string single;
    std::string open;
    std::string close;
  };
  CommentDelims GetCommentDelims() const;
  bool FindMultiLineComment(const CommentDelims& delims, CPoint& ptOpen, CPoint& ptClose);
  bool HasSingleLineCommentInSelection(const std::string& single);
  // Window updates held back while a bulk edit runs over the buffer's views
  // (view/bulk_update.h): invalidation (from the first line touched down), the scroll bars
  // and the caret are noted and done once when the outermost bulk edit ends.
  class BulkUpdate;
  int m_nBulkDepth = 0;
  int m_nBulkFirstLine = -1;
  bool m_bBulkVertBar = false;
  bool m_bBulkHorzBar = false;
  bool m_bBulkCaret = false;
  void EndBulkUpdate();
  // Search (search.cpp): the engine, with or without status-bar messages.
  int SearchInBlock(std::string_view what, const CPoint& ptStartPosition,
                    const CPoint& ptBlockBegin, const CPoint& ptBlockEnd, unsigned long dwFlags,
                    bool bWrapSearch, CPoint* pptFoundPos, int* pnSearchLen, bool bReport);

  // Expansion memo of the line being painted: the column reached at a position of the
  // characters, so that the runs of one line are expanded in one pass.
  const char* m_pExpandMemoChars = nullptr;
  int m_nExpandMemoPos = 0;
  int m_nExpandMemoColumn = 0;
  int m_nExpandMemoLine = -1;
  int m_nExpandMemoLength = 0;
  int ColumnOfPosition(const char* pszChars, int nOffset);
  // ExpandChars of a run of UTF-8 text starting at column nColumn.
  void ExpandUtf8Chars(const char* pszRun, int nCount, int nColumn, int nTabSize, std::string& line);
  // Column indexes of the long lines used last (geometry.cpp); null for a short line.
  std::array<TColumnIndex, 4> m_aColumnIndex;
  int m_nNextColumnIndex = 0;
  TColumnIndex* ColumnIndexFor(int nLineIndex, int nLength);
  // An edit changed line nLine from character nChar on (-1: the whole line) and, with
  // bLinesMoved, moved the lines below it.
  void ForgetColumnIndexes(int nLine, int nChar, bool bLinesMoved);
  // Largest position of the line whose column is at most nColumn (the length at most).
  int PositionAtColumn(int nLineIndex, int nColumn);
  // Runs of the long line painted last, reused by repaints until an edit (render.cpp).
  // Only the part of a long line up to a blank past the window's right edge is parsed.
  struct FreeDeleter {
    void operator()(void* p) const;
  };
  std::unique_ptr<TEXTBLOCK, FreeDeleter> m_pLongRuns;
  std::size_t m_nLongRunsRoom = 0;
  int m_nLongRunsLine = -1;
  int m_nLongRunsEnd = 0;
  int m_nLongRunsCount = 0;
  unsigned long m_dwLongRunsCookie = 0;
  int m_nLongRunsStart = 0;  // the first run's position (runs resumed mid-line start late)
  void ForgetLongRuns() { m_nLongRunsLine = -1; }
  // Parse states saved along the long line parsed last (render.cpp).
  TParseCheckpoints m_parseStates;
  int LongLineParseEnd(int nLineIndex, const char* pszChars, int nLength, int nWidth);
  TEXTBLOCK* LongLineRuns(int nLineIndex, const char* pszChars, int nLength, unsigned long dwCookie,
                          int nWidth, int& nBlocks, int& nParsed);
  // DrawSingleLine's pieces (render.cpp): the coloured runs of a line to draw and how many
  // of its characters they cover; the line break and background right of the text.
  TEXTBLOCK* RunsToDraw(int nLineIndex, const char* pszChars, int nLength, int nWidth,
                        int& nBlocks, int& nDrawLength);
  void FillPastText(CDC* pdc, const CRect& rc, int nLeft, CPoint ptBreak, COLORREF crRest);
  int KeepMaxLineLength(int nLineIndex, int nOldLength);
  // Mouse helpers (mouse.cpp): the whole-line selection between the anchor and a point,
  // and the word selection of word mode.
  void SelectLines(CPoint pt);
  void SelectWords(CPoint pt);
  void EndMouseSelection();
  // The common tail of a movement.
  void FinishMove(int bSelect, bool bKeepIdealColumn);
  void RecalcScrollBar(int nBar, int bPositionOnly, int& nPos, int nPage, int nTotal);
  int m_nKeptMaxLineLength = -1;
  // The horizontal bar of a buffer of more than kExactWidthLines lines does not wait for
  // the longest line: until GetMaxLineLength has been asked for, its range is the widest
  // line shown so far and grows as wider lines come into the window.
  static constexpr int kExactWidthLines = 1 << 17;
  int m_nSeenMaxLineLength = 0;
  bool WidthsAreLazy();
  int HorzScrollRange();
  void SeeWindowLineWidths();
  std::string m_strExpand;  // expansion of the run being drawn
};

// Gives every view of an open plain document whose style is of the style's document type
// a copy of the style, resets it and repaints its window at once.
void ApplyStyleToOpenViews(const TDocumentStyle& style);

}  // namespace quill
