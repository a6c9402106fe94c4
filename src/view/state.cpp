// QuillView: construction and destruction, the buffer it shows, reset, the reaction to
// buffer changes and the window lifecycle.

#include <algorithm>

#include "buffer/text_buffer.h"
#include "buffer/update_context.h"
#include "platform/document.h"
#include "style/document_style.h"
#include "view/drop_target.h"
#include "view/quill_view.h"
#include "view/text_document.h"

namespace quill {

namespace {

constexpr char kReadOnlyMark[] = "(Read-Only)";

// Marks every cached entry from `start` on as not computed, after bringing the cache to
// `count` entries (the first `start` entries are kept).
void InvalidateFrom(std::vector<int>& cache, int start, int count) {
  if (static_cast<int>(cache.size()) != count) cache.resize(static_cast<std::size_t>(count), -1);
  if (start < 0) start = 0;
  for (std::size_t i = static_cast<std::size_t>(start); i < cache.size(); ++i) cache[i] = -1;
}

}  // namespace

std::unique_ptr<QuillView> QuillView::CreateObject() { return std::make_unique<QuillView>(); }

QuillView::ViewFactory QuillView::GetThisClass() { return &QuillView::CreateObject; }

QuillView::QuillView() {
  m_bAutoIndent = true;
  m_bSelMargin = true;
  ReadSearchHistories();
  ResetView();
}

QuillView::~QuillView() {
  // A view destroyed without its window (never created, or torn down by a host) still
  // leaves its buffer's list, so the buffer never calls a dead view.
  if (m_pTextBuffer != nullptr) m_pTextBuffer->RemoveView(this);
  m_pTextBuffer = nullptr;
  FreeSearchState();
  m_pdwParseCookies.clear();
  m_pnActualLineLength.clear();
  WriteSearchHistories();
  DestroyContextMenu();
  DeleteStyle();
}

// ---- buffer access ----

QuillTextBuffer* QuillView::LocateTextBuffer() {
  auto* pDoc = dynamic_cast<ITextDocument*>(m_pDocument);
  return pDoc != nullptr ? &pDoc->GetTextBuffer() : nullptr;
}

void QuillView::AttachToBuffer(QuillTextBuffer* pBuf) {
  if (m_pTextBuffer != nullptr) m_pTextBuffer->RemoveView(this);
  if (pBuf == nullptr) pBuf = LocateTextBuffer();
  m_pTextBuffer = pBuf;
  if (m_pTextBuffer != nullptr) m_pTextBuffer->AddView(this);
  ResetView();

  if (HasWindow()) {
    if (ScrollBarCtrl* bar = m_pWnd->GetScrollBarCtrl(SB_VERT)) {
      bar->EnableScrollBar(GetScreenLines() >= GetLineCount() ? ESB_DISABLE_BOTH
                                                                : ESB_ENABLE_BOTH);
    }
    if (ScrollBarCtrl* bar = m_pWnd->GetScrollBarCtrl(SB_HORZ)) {
      bar->EnableScrollBar(GetScreenChars() >= GetMaxLineLength() ? ESB_DISABLE_BOTH
                                                                    : ESB_ENABLE_BOTH);
    }
  }
  RecalcVertScrollBar(0);
  RecalcHorzScrollBar(0);
}

void QuillView::DetachFromBuffer() {
  if (m_pTextBuffer == nullptr) return;
  m_pTextBuffer->RemoveView(this);
  m_pTextBuffer = nullptr;
  ResetView();
}

void QuillView::OnBufferUpdate(ITextBufferListener* pSource, CUpdateContext* pContext,
                               unsigned long dwUpdateFlags, int nLineIndex) {
  UpdateView(pSource == nullptr ? nullptr : dynamic_cast<QuillView*>(pSource), pContext, dwUpdateFlags,
             nLineIndex);
}

CDocument* QuillView::GetListenerDocument() const { return GetDocument(); }

void QuillView::OnFileIdentityChanged(const FileIdentity& before, const FileIdentity& after) {
  if (m_idLastWrite == before) RecordWrittenFile(after);
}

void QuillView::OnBufferDestroyed(QuillTextBuffer* pBuf) {
  if (m_pTextBuffer != pBuf) return;
  m_pTextBuffer = nullptr;
  ResetView();
}

int QuillView::GetLineCount() {
  return m_pTextBuffer == nullptr ? 1 : m_pTextBuffer->GetLineCount();
}

int QuillView::GetLineLength(int nLineIndex) {
  return m_pTextBuffer == nullptr ? 0 : m_pTextBuffer->GetLineLength(nLineIndex);
}

const char* QuillView::GetLineChars(int nLineIndex) {
  return m_pTextBuffer == nullptr ? nullptr : m_pTextBuffer->GetLineChars(nLineIndex);
}

std::uint32_t QuillView::GetLineFlags(int nLineIndex) {
  return m_pTextBuffer == nullptr ? 0 : m_pTextBuffer->GetLineFlags(nLineIndex);
}

void QuillView::GetText(const CPoint& ptStart, const CPoint& ptEnd, std::string& text) {
  if (m_pTextBuffer == nullptr) {
    text.clear();
    return;
  }
  const char* crlf = "\r\n";
  switch (m_pTextBuffer->GetCRLFMode()) {
    case CRLF_MODE_UNIX: crlf = "\n"; break;
    case CRLF_MODE_MAC: crlf = "\r"; break;
    default: break;
  }
  m_pTextBuffer->GetText(ptStart.y, ptStart.x, ptEnd.y, ptEnd.x, text, crlf);
}

bool QuillView::QueryEditable() { return m_pTextBuffer != nullptr; }

// ---- reset and notifications ----

void QuillView::ResetView() {
  m_nTopLine = 0;
  m_nOffsetChar = 0;
  m_nLineHeight = -1;
  m_nCharWidth = -1;
  ApplyStyleToView();
  m_nMaxLineLength = -1;
  m_nSeenMaxLineLength = 0;
  m_nScreenLines = -1;
  m_nScreenChars = -1;
  m_nIdealCharPos = -1;
  m_pIcons.DeleteImageList();
  DiscardFonts();
  m_pCacheBitmap.reset();  // its height is the old line height
  KeepLineNumberDigits();
  m_pdwParseCookies.clear();
  m_nParseCookiesKnown = 0;
  m_bParseCookiesAllocated = false;
  m_pnActualLineLength.clear();
  m_bActualLengthAllocated = false;
  ForgetColumnIndexes(0, -1, true);
  ForgetLongRuns();
  m_parseStates.Reset(-1, 0);
  m_ptSelStart = m_ptSelEnd = m_ptCursorPos = m_ptAnchor = CPoint(0, 0);
  m_ptDrawSelStart = m_ptDrawSelEnd = CPoint(0, 0);
  m_bSelecting = false;
  m_bVertScrollBarLocked = false;
  m_bHorzScrollBarLocked = false;
  m_bShowInactiveSelection = false;
  m_bOvrMode = false;
  m_bAutoIndent = true;
  m_bHasLastFind = false;
  m_dwLastFindFlags = 0;
  m_bHasBookmarks = false;
  m_bShowPrintHeader = false;
  m_bShowPrintFooter = true;
  if (HasWindow()) UpdateCaret();
}

void QuillView::UpdateView(QuillView*, CUpdateContext* pContext, unsigned long dwFlags,
                           int nLineIndex) {
  if (dwFlags & UPDATE_FLAG_RESET) {
    ResetView();
    RecalcVertScrollBar(0);
    RecalcHorzScrollBar(0);
  } else {
    m_pExpandMemoChars = nullptr;
    ForgetLongRuns();
    const int nLineCount = GetLineCount();
    // Where the edit began: the text of its line before that position is unchanged.
    int nEditChar = -1;
    if (auto* pInsert = dynamic_cast<CInsertContext*>(pContext)) {
      if (pInsert->m_ptStart.y == nLineIndex) nEditChar = pInsert->m_ptStart.x;
    } else if (auto* pDelete = dynamic_cast<CDeleteContext*>(pContext)) {
      if (pDelete->m_ptStart.y == nLineIndex) nEditChar = pDelete->m_ptStart.x;
    }
    ForgetColumnIndexes(nLineIndex < 0 ? 0 : nLineIndex, nLineIndex < 0 ? -1 : nEditChar,
                        !(dwFlags & UPDATE_FLAG_LINE));
    // Parse states stand on the text before them; a changed cookie above is caught when
    // they are used.
    if (m_parseStates.Line() >= 0 && m_parseStates.Line() >= nLineIndex) {
      if (m_parseStates.Line() == nLineIndex && nEditChar >= 0)
        m_parseStates.KeepBefore(nEditChar);
      else if (m_parseStates.Line() == nLineIndex || nLineIndex < 0 || !(dwFlags & UPDATE_FLAG_LINE))
        m_parseStates.Reset(-1, 0);
    }
    if (dwFlags & UPDATE_FLAG_LINE) {
      // The cookie of a line depends on every line above it; its length only on itself.
      if (m_bParseCookiesAllocated && nLineIndex >= 0) {
        m_nParseCookiesKnown = std::min(m_nParseCookiesKnown, nLineIndex);
      }
      if (m_bActualLengthAllocated && nLineIndex >= 0 &&
          nLineIndex < static_cast<int>(m_pnActualLineLength.size())) {
        int& nLength = m_pnActualLineLength[static_cast<std::size_t>(nLineIndex)];
        // While the longest line is known, the changed line's new length is measured at
        // once (it is needed to keep the longest line); otherwise it is measured on use.
        nLength = (dwFlags & UPDATE_FLAG_HORZ) ? KeepMaxLineLength(nLineIndex, nLength) : -1;
      }
      InvalidateLines(nLineIndex, -1, 1);
    } else {
      const int nStart = nLineIndex == -1 ? 0 : nLineIndex;
      if (m_bParseCookiesAllocated) {
        m_nParseCookiesKnown = std::min(m_nParseCookiesKnown, nStart);
        if (static_cast<int>(m_pdwParseCookies.size()) > nLineCount)
          m_pdwParseCookies.resize(static_cast<std::size_t>(nLineCount));
      }
      if (m_bActualLengthAllocated) InvalidateFrom(m_pnActualLineLength, nStart, nLineCount);
      InvalidateLines(nStart, -1, 1);
    }

    if (pContext != nullptr) {
      pContext->AdjustPoint(m_ptCursorPos);
      pContext->AdjustPoint(m_ptSelStart);
      pContext->AdjustPoint(m_ptSelEnd);
      pContext->AdjustPoint(m_ptAnchor);
      if (m_bDragSelection) {
        pContext->AdjustPoint(m_ptDraggedTextBegin);
        pContext->AdjustPoint(m_ptDraggedTextEnd);
      }
      CPoint ptTopLine(0, m_nTopLine);
      pContext->AdjustPoint(ptTopLine);
      m_nTopLine = ptTopLine.y;
      UpdateCaret();
    }

    if ((dwFlags & UPDATE_FLAG_VERT) && !m_bVertScrollBarLocked) RecalcVertScrollBar(0);
    // The line count has a digit more or less: the margin and the text move.
    if (KeepLineNumberDigits() && HasWindow()) {
      m_nScreenChars = -1;
      InvalidateAll(true);
      RecalcHorzScrollBar(0);
      UpdateCaret();
    }
    if (dwFlags & UPDATE_FLAG_HORZ) {
      m_nMaxLineLength = m_nKeptMaxLineLength;
      m_nKeptMaxLineLength = -1;
      if (!m_bHorzScrollBarLocked) RecalcHorzScrollBar(0);
    }
  }

  if (m_bSelectionPushed && pContext != nullptr) {
    pContext->AdjustPoint(m_ptSavedSelStart);
    pContext->AdjustPoint(m_ptSavedSelEnd);
  }
}

// The longest line after a change of one line, known without a scan of all lines when
// that line was not the only longest one; -1 (scan again) otherwise. Returns the changed
// line's new length when it was measured, else -1.
int QuillView::KeepMaxLineLength(int nLineIndex, int nOldLength) {
  m_nKeptMaxLineLength = -1;
  if (m_nMaxLineLength < 0 || nOldLength < 0 || m_pTextBuffer == nullptr) return -1;
  const int nNewLength = CalculateActualOffset(nLineIndex, GetLineLength(nLineIndex));
  if (nOldLength < m_nMaxLineLength || nNewLength >= nOldLength) {
    m_nKeptMaxLineLength = std::max(m_nMaxLineLength, nNewLength);
  }
  return nNewLength;
}


// ---- settings hooks ----

int QuillView::GetSettingInt(const char*, int nDefault) { return nDefault; }

unsigned long QuillView::GetSettingString(const char*, const char*, char*, unsigned long nSize) {
  return nSize;
}

bool QuillView::SetSettingInt(const char*, int) { return true; }

// ---- hooks ----

unsigned long QuillView::ParseLine(const char*, int, unsigned long, int, TEXTBLOCK*, int&) {
  return 0;
}

unsigned long QuillView::ParseLinePart(const char* pszChars, int, unsigned long dwCookie,
                                       int nLineIndex, TParseCheckpoints&, int, int nTo,
                                       TEXTBLOCK* pBuf, int& nActualItems) {
  return ParseLine(pszChars, nTo, dwCookie, nLineIndex, pBuf, nActualItems);
}

TDocumentStyle* QuillView::CreateStyle() {
  m_pStyle.reset();
  return nullptr;
}

// ---- window lifecycle ----

bool QuillView::PreCreateWindow(CREATESTRUCT& cs) {
  if (!cs.parentIsSplitter) cs.style |= WS_HSCROLL | WS_VSCROLL;
  cs.classStyle |= CS_DBLCLKS;
  return true;
}

int QuillView::OnCreate(Window* pWnd) {
  if (pWnd == nullptr) return -1;
  // A view created again (a new window for the same view) gives up its old style first.
  if (!RenewStyle()) return -1;
  ApplyStyleToView();
  m_pWnd = pWnd;
  LoadAcceleratorTable();
  if (!CreateDropTarget()) RevokeDropTarget();
  BuildContextMenu();
  ClearLastWriteTime();
  m_nPageOrientation = 1;
  return 0;
}

void QuillView::OnInitialUpdate() {
  AttachToBuffer(nullptr);

  if (HasWindow() && m_pWnd->IsSplitterPane()) {
    const int nId = m_pWnd->GetDlgCtrlID() - AFX_IDW_PANE_FIRST;
    const int nRow = nId / 16;
    const int nCol = nId % 16;
    if (nRow > 0) {
      if (auto* pPane = dynamic_cast<QuillView*>(m_pWnd->GetPane(0, nCol)); pPane != nullptr && pPane != this) {
        m_nOffsetChar = pPane->m_nOffsetChar;
      }
    }
    if (nCol > 0) {
      if (auto* pPane = dynamic_cast<QuillView*>(m_pWnd->GetPane(nRow, 0)); pPane != nullptr && pPane != this) {
        m_nTopLine = pPane->m_nTopLine;
      }
    }
  }

  if (m_pDocument != nullptr) {
    if (m_pTextBuffer != nullptr && m_pTextBuffer->GetReadOnly()) {
      const std::string& title = m_pDocument->GetTitle();
      if (title.find(kReadOnlyMark) == std::string::npos) {
        m_pDocument->SetTitle(title + " " + kReadOnlyMark);
      }
    }
    if (!m_pDocument->GetPathName().empty()) RecordLastWriteTime();
  }

  SetFont(m_lfBaseFont);
}

void QuillView::OnActivateView(int bActivate, QuillView* pActivateView, QuillView*) {
  if (!bActivate || pActivateView != this) return;
  if (m_pTextBuffer == nullptr) {
    OnUpdate(nullptr, 0, nullptr);
    return;
  }
  // Copy the list: a view's update may attach or detach views.
  const std::vector<ITextBufferListener*> views = m_pTextBuffer->GetViews();
  for (ITextBufferListener* pListener : views)
    if (auto* pView = dynamic_cast<QuillView*>(pListener)) pView->OnUpdate(nullptr, 0, nullptr);
}

void QuillView::OnSize(unsigned, int, int) {
  m_pCacheBitmap.reset();
  m_nScreenLines = -1;
  m_nScreenChars = -1;
  RecalcVertScrollBar(0);
  RecalcHorzScrollBar(0);
}

void QuillView::OnSysColorChange() { InvalidateAll(true); }

int QuillView::OnEraseBkgnd(CDC*) { return 1; }

void QuillView::OnDestroy() {
  RevokeDropTarget();
  DetachFromBuffer();
  ForgetAcceleratorTable();
  if (HasWindow()) m_pWnd->HideCaret();
  DiscardFonts();
  m_pCacheBitmap.reset();
  m_pWnd = nullptr;
}

void QuillView::SetFont(const LOGFONT& lf) {
  m_lfBaseFont = lf;
  m_nScreenLines = -1;
  m_nScreenChars = -1;
  m_nCharWidth = -1;
  m_nLineHeight = -1;
  m_pCacheBitmap.reset();
  DiscardFonts();
  if (HasWindow()) {
    RecalcVertScrollBar(0);
    RecalcHorzScrollBar(0);
    UpdateCaret();
    InvalidateAll(true);
  }
}

// ---- helpers ----

CRect QuillView::GetClientRect() const { return HasWindow() ? m_pWnd->GetClientRect() : CRect(); }

void QuillView::InvalidateAll(bool erase) {
  if (HasWindow()) m_pWnd->Invalidate(erase);
}

void QuillView::DiscardFonts() {
  for (auto& font : m_apFonts) font.reset();
}

}  // namespace quill
