#pragma once
// QuillTextBuffer: the text of one document as an array of lines, its edits, per-line
// flags (bookmarks and host marks), grouped undo and redo, and the notification of every
// attached view after each change.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "buffer/buffer_defs.h"
#include "buffer/buffer_listener.h"
#include "buffer/line_table.h"
#include "buffer/update_context.h"
#include "platform/file_service.h"
#include "platform/text_encoding.h"
#include "platform/types.h"

namespace quill {

class CDocument;

// Opaque iteration position of GetUndoDescription / GetRedoDescription; null is the start
// (as argument) or the end (as result).
using POSITION = void*;

class QuillTextBuffer {
 public:
  // The lines of text as an edit inserts them: a CR ends a line, an LF right after a CR
  // belongs to the break, a lone LF is text.
  static std::vector<std::string_view> SplitAtCR(std::string_view text);
  // One line of text (see buffer/line_table.h).
  using SLineInfo = TLineInfo;

  // One recorded edit. The text is the inserted text, or the deleted text with CR LF
  // breaks; a deletion's text is moved in, not copied, and a short text (typing) stays
  // inside the string without a heap allocation.
  struct SUndoRecord {
    std::uint32_t m_dwFlags = 0;  // UNDOREC_INSERT, UNDOREC_GROUPSTART
    CPoint m_ptStartPos;          // start of the inserted or deleted text
    CPoint m_ptEndPos;            // position just after it
    int m_nAction = UNDO_ACTION_UNKNOWN;
    std::string m_text;

    const char* GetText() const { return m_text.c_str(); }

    // Deleted text whose lines hold CRs cannot be split again at CR: the lengths of its
    // lines, in order (null for every other record).
    std::unique_ptr<std::vector<int>> m_pLineLengths;
  };

  explicit QuillTextBuffer(CDocument* pOwnerDoc = nullptr);
  virtual ~QuillTextBuffer();
  QuillTextBuffer(const QuillTextBuffer&) = delete;
  QuillTextBuffer& operator=(const QuillTextBuffer&) = delete;

  // Lifecycle.
  int InitNew(int nCrlfStyle = CRLF_MODE_DOS);
  void FreeAll();
  int IsInit() const { return m_bInit ? 1 : 0; }

  // State.
  int GetReadOnly() const { return m_bReadOnly ? 1 : 0; }
  void SetReadOnly(int bReadOnly = 1);
  int IsModified() const { return m_bModified ? 1 : 0; }
  virtual void SetModified(int bModified = 1);
  void* GetChangeHandle() const { return m_hChangeHandle; }
  int GetCRLFMode() const { return m_nCRLFMode; }
  void SetCRLFMode(int nCRLFMode) { m_nCRLFMode = nCRLFMode; }
  // The encoding of the bytes (ENCODING_UTF8 or ENCODING_WINDOWS_1252): how characters are
  // told apart, measured, shown and exchanged. The bytes never change with it. A load from
  // a file detects it (TEncodingDetector, the settings' default for pure ASCII); a load from
  // a buffer and InitNew start with Windows-1252 (a host sets what it wants after them). Changing it resets the views.
  int GetEncoding() const { return m_nEncoding; }
  void SetEncoding(int nEncoding);
  bool IsUtf8() const { return m_nEncoding == ENCODING_UTF8; }
  // What the last load found in its input (false before any load and after FreeAll):
  // line breaks other than those of the detected or given mode, all of which a save
  // writes in the mode; and NUL bytes, which the lines hold like any other character.
  bool LoadedMixedBreaks() const { return m_bLoadedMixedBreaks; }
  bool LoadedNulBytes() const { return m_bLoadedNulBytes; }
  CDocument* GetOwnerDocument() const { return m_pOwnerDoc; }

  // The longest line: its capacity (LineCapacity) still fits in an int. Edits that would
  // make a longer line throw InvalidArgException; loads refuse such files.
  static constexpr int kMaxLineLength = 0x7fffffef;
  // Lower limits for this buffer's loads and edits (the defaults are the store's own).
  void SetLoadLimits(const TLoadLimits& limits) { m_loadLimits = limits; }
  const TLoadLimits& GetLoadLimits() const { return m_loadLimits; }

  // Lines. Indexes outside 0 .. GetLineCount() - 1 throw InvalidArgException.
  int GetLineCount() const { return m_aLines.GetSize(); }
  int GetLineLength(int nLine) const;
  char* GetLineChars(int nLine) const;
  std::uint32_t GetLineFlags(int nLine) const;
  int GetLineWithFlag(std::uint32_t dwFlag) const { return FindLineWithFlag(dwFlag); }
  void SetLineFlag(int nLine, std::uint32_t dwFlag, int bSet, int bRemoveFromPreviousLine = 1);
  int FindNextBookmarkLine(int nCurrentLine = 0) const;
  int FindPrevBookmarkLine(int nCurrentLine = 0) const;
  // Line numbers count from 1; numbers outside the buffer are ignored. Both return 0.
  int SetBookmark(int nLine);
  int RemoveBookmark(int nLine);

  // Text between two positions, lines joined by pszCRLF (CR LF when null).
  void GetText(int nStartLine, int nStartChar, int nEndLine, int nEndChar, std::string& text,
               const char* pszCRLF = nullptr) const;

  // Views: every listener attached (a QuillView, usually), told of each change.
  void AddView(ITextBufferListener* pView);
  void RemoveView(ITextBufferListener* pView);
  // The attached views, in the order they attached.
  const std::vector<ITextBufferListener*>& GetViews() const { return m_lpViews; }
  // The most recently attached view, or null when none is attached.
  ITextBufferListener* GetLastAttachedView() const { return m_lpViews.empty() ? nullptr : m_lpViews.back(); }
  void UpdateViews(ITextBufferListener* pSource, CUpdateContext* pContext, unsigned long dwUpdateFlags,
                   int nLineIndex = -1);

  // Edits, recorded for undo.
  int InsertText(ITextBufferListener* pSource, int nLine, int nPos, const char* pszText, int& nEndLine,
                 int& nEndChar, int nAction = UNDO_ACTION_UNKNOWN);
  int DeleteText(ITextBufferListener* pSource, int nStartLine, int nStartChar, int nEndLine, int nEndChar,
                 int nAction = UNDO_ACTION_UNKNOWN);

  // Undo and redo.
  int CanUndo() const { return m_nUndoPosition > 0 ? 1 : 0; }
  int CanRedo() const { return m_nUndoPosition < static_cast<int>(m_aUndoBuf.size()) ? 1 : 0; }
  int Undo(CPoint& ptCursorPos);
  int Redo(CPoint& ptCursorPos);
  void BeginUndoGroup(int bMergeWithPrevious = 0);
  void FlushUndoGroup(ITextBufferListener* pSource);
  POSITION GetUndoDescription(std::string& desc, POSITION pos = nullptr);
  // Reverts the last nEdits recorded edits at once and drops their records (nothing to
  // redo): what a command that failed half-way did is taken back.
  void TakeBackEdits(int nEdits);
  POSITION GetRedoDescription(std::string& desc, POSITION pos = nullptr);

  // Loading and saving (text_buffer_load.cpp, text_buffer_save.cpp). Mode -1 detects the
  // line breaks (loads) or keeps the buffer's mode (saves). Results: 1 done, 0 failed
  // (the failure was shown in a message box).
  int LoadFromFile(const char* pszFileName, int nCrlfStyle = -1);
  int LoadFromFileLocking(const char* pszFileName, bool bReadOnly = false, int nCrlfStyle = -1);
  int LoadFromBuffer(const char* pszText, int nCrlfStyle = -1);
  int LoadFromBufferLocking(const char* pszText, int nCrlfStyle = -1) {
    return LoadFromBuffer(pszText, nCrlfStyle);
  }
  int SaveToFile(const char* pszFileName, int nCrlfStyle = -1, int bClearModifiedFlag = 1);
  int SaveToFileLocking(const char* pszFileName, int nCrlfStyle = -1, int bClearModifiedFlag = 1);
  int LoadFromFile(const std::string& fileName, int nCrlfStyle = -1) {
    return LoadFromFile(fileName.c_str(), nCrlfStyle);
  }
  int SaveToFile(const std::string& fileName, int nCrlfStyle = -1, int bClearModifiedFlag = 1) {
    return SaveToFile(fileName.c_str(), nCrlfStyle, bClearModifiedFlag);
  }
  int LoadFromFileLocking(const std::string& fileName, bool bReadOnly = false, int nCrlfStyle = -1) {
    return LoadFromFileLocking(fileName.c_str(), bReadOnly, nCrlfStyle);
  }
  int SaveToFileLocking(const std::string& fileName, int nCrlfStyle = -1, int bClearModifiedFlag = 1) {
    return SaveToFileLocking(fileName.c_str(), nCrlfStyle, bClearModifiedFlag);
  }
  int LoadFromBuffer(const std::string& text, int nCrlfStyle = -1) {
    return LoadFromBuffer(text.c_str(), nCrlfStyle);
  }
  // The file the text is based on (the file loaded, or last saved to) as it was then. A
  // save over that file asks before replacing it when it is no longer that file; a save
  // over any other file asks when it changed while the save was writing.
  // RecordFileIdentity takes the file's current identity (none when it is missing);
  // hosts call it before loading the text, and after the user agreed to replace a
  // changed file.
  void RecordFileIdentity(const std::string& path);
  const FileIdentity& GetFileIdentity() const { return m_idFile; }
  // The file (links followed) that GetFileIdentity is about.
  const std::string& GetIdentityPath() const { return m_strIdentityPath; }

 protected:
  virtual int GetActionDescription(int nAction, std::string& desc);

  // Creates a line (nLength -1: up to the NUL) before nPosition, or at the end for -1.
  void InsertLine(const char* pszLine, int nLength = -1, int nPosition = -1);
  // Appends characters to a line (nLength -1: up to the NUL).
  void AppendLine(int nLineIndex, const char* pszChars, int nLength = -1);
  int InternalInsertText(ITextBufferListener* pSource, int nLine, int nPos, const char* pszText,
                         int& nEndLine, int& nEndChar);
  int InternalDeleteText(ITextBufferListener* pSource, int nStartLine, int nStartChar, int nEndLine,
                         int nEndChar);
  // What an edit does to the undo history at the moment its text has changed, before any
  // view hears of it: store a record built beforehand (room for it made too), or move the
  // undo position one record (undo -1, redo +1). Text and history change together, so a
  // failure before that moment changes neither and one after it leaves both changed.
  struct SEditCommit {
    SUndoRecord* pRecord = nullptr;  // reset once stored
    int nUndoStep = 0;
  };
  // Inserts the segments at (nPos, nLine): the first continues the line, every further one
  // starts a new line, the rest of the line follows the last. Everything that can fail
  // (the line length limit, InvalidArgException; memory) fails before anything changes.
  int InsertSegments(ITextBufferListener* pSource, int nLine, int nPos,
                     const std::vector<std::string_view>& aSegments, int& nEndLine, int& nEndChar,
                     SEditCommit* pCommit = nullptr);
  // InternalDeleteText with the undo commit; fails before anything changes, like
  // InsertSegments.
  int DeleteRange(ITextBufferListener* pSource, int nStartLine, int nStartChar, int nEndLine, int nEndChar,
                  SEditCommit* pCommit);
  void AddUndoRecord(int bInsert, const CPoint& ptStartPos, const CPoint& ptEndPos,
                     const char* pszText, int nActionType = UNDO_ACTION_UNKNOWN);

  // ---- Helpers for bulk line creation (loaders) ----
  //
  // A loader that creates millions of lines should avoid allocations per line: it copies
  // the characters of many lines one after the other into a slab (AllocSlab), with no
  // line breaks between them, and adds each line with m_aLines.AddPacked, or as a record
  // when the table cannot hold it so; then m_aLines.FreeExtra(). FreeAll (and the
  // destructor) free records one by one and release all slabs at once.

  // The capacity rule (TLineInfo::Capacity); lengths are at most kMaxLineLength, which
  // NewLine and AppendLine check.
  static int LineCapacity(int nLength) { return TLineInfo::Capacity(nLength); }
  // Storage for line records and texts, aligned for any object, owned by the buffer until
  // FreeAll.
  char* AllocSlab(std::size_t nBytes);
  // A new heap line holding a copy of nLength characters.
  static SLineInfo* NewLine(const char* pszChars, int nLength);
  // A new heap line holding head followed by tail (their length checked by the caller).
  static SLineInfo* NewJoinedLine(std::string_view head, std::string_view tail);
  // Frees a line's heap parts (slab parts stay until FreeAll).
  static void FreeLine(SLineInfo* pLine);
  // Frees the heap parts of the line at nLine, leaving its slot in the table.
  void FreeLineAt(int nLine);

  // The line's record (made for a packed line); the index is checked.
  SLineInfo* GetLine(int nLine);
  // Throws InvalidArgException for an index outside the table.
  void CheckLineIndex(int nLine) const;

  bool m_bInit = false;
  bool m_bReadOnly = false;
  bool m_bModified = false;
  int m_nCRLFMode = CRLF_MODE_DOS;
  int m_nEncoding = ENCODING_WINDOWS_1252;
  bool m_bLoadedMixedBreaks = false;
  bool m_bLoadedNulBytes = false;
  bool m_bCreateBackupFile = false;
  // Undo keeps at most this many groups, and drops the oldest whole groups while its
  // records take more than m_nUndoMemoryLimit bytes. The group being recorded is never
  // cut or dropped, however large.
  TLoadLimits m_loadLimits;
  int m_nUndoBufSize = 1024;
  std::size_t m_nUndoMemoryLimit = std::size_t{512} << 20;
  void* m_hChangeHandle = nullptr;
  CDocument* m_pOwnerDoc = nullptr;

  TCArray<SLineInfo*> m_aLines;
  std::vector<std::unique_ptr<char[]>> m_aSlabs;

  // Oldest first. A deque: the oldest groups leave from the front in constant time, and
  // records keep their place while others are added.
  std::deque<SUndoRecord> m_aUndoBuf;
  int m_nUndoGroups = 0;           // records carrying UNDOREC_GROUPSTART (the first always does)
  std::size_t m_nUndoBytes = 0;    // memory taken by the records, as UndoRecordBytes counts it
  int m_nUndoPosition = 0;
  // Undo position at the last save, load or InitNew. Negative when that state can no
  // longer be reached by undo or redo (its records were dropped or overwritten).
  int m_nSyncPosition = 0;
  bool m_bUndoGroup = false;
  bool m_bUndoBeginGroup = false;

  std::vector<ITextBufferListener*> m_lpViews;

 private:
  FileIdentity m_idFile;
  std::string m_strIdentityPath;
  // First line whose flags share a bit with dwFlag, or -1.
  int FindLineWithFlag(std::uint32_t dwFlag) const;
  // Adds the read-only attribute to the owner document's file on disk, if it exists.
  void SetFileReadOnlyAttribute();
  // Drops the records from nFrom to the end.
  void FreeUndoRecords(std::size_t nFrom);
  static std::size_t UndoRecordBytes(const SUndoRecord& rec);
  // Counts the record in or out of m_nUndoGroups and m_nUndoBytes.
  void CountUndoRecord(const SUndoRecord& rec, int nSign);
  // Wraps an edit that records one undo record: makes room for it, opens the automatic
  // group of a single edit, and undoes both when the edit fails before its text changed.
  template <typename Edit>
  int RecordedEdit(ITextBufferListener* pSource, SUndoRecord& rec, Edit edit);
  // Stores the record in the room made at the end of the array: drops the redo records
  // and, past the limits, the oldest whole groups.
  void StoreUndoRecord(SUndoRecord& rec) noexcept;
  void DropOldestUndoGroup() noexcept;
  void CommitEdit(SEditCommit* pCommit) noexcept;
  // Tells the views of a change; the modified flag follows even when a view fails.
  void NotifyEdit(ITextBufferListener* pSource, CUpdateContext& context, unsigned long dwUpdateFlags, int nLine);
  // Line-break mode of the first break in the bytes (CRLF_MODE_DOS when there is none).
  static int DefineCRLFMode(const char* pcData, int nCount);
  // Sets the state of a completed load, with what it found in its input.
  void FinishLoad(bool bReadOnly, bool bMixedBreaks, bool bNulBytes);
  friend class TLineSink;
  void UpdateModifiedAfterUndo();
};

}  // namespace quill
