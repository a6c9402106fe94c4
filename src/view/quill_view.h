#pragma once
// QuillView: the editor window over one QuillTextBuffer. A plain class whose window
// messages are members that a backend calls; nothing of a toolkit appears here.

#include <cstdint>
#include <string>

namespace quill {

class CDocument;
class CUpdateContext;
class QuillTextBuffer;

class QuillView {
 public:
  QuillView();
  virtual ~QuillView();
  QuillView(const QuillView&) = delete;
  QuillView& operator=(const QuillView&) = delete;

  // One coloured run of a line: from charPos up to the next run's charPos (the last run
  // up to the line's end), drawn with the two colour indices.
  struct TEXTBLOCK {
    int charPos;
    int fgColorIndex;
    int bgColorIndex;
  };

  // The document this view shows (the framework binds it when the view is created).
  CDocument* GetDocument() const { return m_pDocument; }
  void SetDocument(CDocument* document) { m_pDocument = document; }

  // Called by the buffer for every attached view after each change.
  virtual void UpdateView(QuillView* pSource, CUpdateContext* pContext, unsigned long dwFlags,
                          int nLineIndex);
  // Called on the source view when an undo group is flushed.
  virtual void OnEditOperation(int nAction, const char* pszText);

  // Records the current last-write time of the document's file in m_ftLastWrite (kept
  // when the file cannot be read).
  void UpdateLastWrittenTime();
  // Splits a line into coloured runs and returns the parse state at its end. The base
  // view does no highlighting: it returns 0 and adds no run. A derived view forwards to
  // its style's ParseLine.
  virtual unsigned long ParseLine(const char* pszChars, int nLength, unsigned long dwCookie,
                                  int nLineIndex, TEXTBLOCK* pBuf, int& nActualItems);

 protected:
  friend class QuillTextBuffer;

  CDocument* m_pDocument = nullptr;
  QuillTextBuffer* m_pTextBuffer = nullptr;
  // Bookmarks exist in the buffer: enables the bookmark navigation commands.
  bool m_bHasBookmarks = false;
  // Last-write time of the document's file as last recorded (100-ns units), 0 = none.
  std::uint64_t m_ftLastWrite = 0;
};

}  // namespace quill
