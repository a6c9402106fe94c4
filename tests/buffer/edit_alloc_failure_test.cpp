// Memory running out in the middle of an edit, undo or redo. This binary's operator new
// can be told to fail after a number of allocations; it never fails otherwise.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <new>

#include "buffer_fixture.h"

namespace {
std::atomic<long> g_nAllocationsLeft{-1};  // -1: no failure armed
}  // namespace

void* operator new(std::size_t nSize) {
  if (g_nAllocationsLeft.load(std::memory_order_relaxed) >= 0 && g_nAllocationsLeft.fetch_sub(1) == 0)
    throw std::bad_alloc();
  if (void* p = std::malloc(nSize == 0 ? 1 : nSize)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t nSize) { return operator new(nSize); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace quill::test {
namespace {

// Whichever allocation fails, the text, the undo history and the modified flag agree
// afterwards: undoing everything gives back the loaded text, unmodified.
TEST(EditAllocationFailure, LeavesTextHistoryAndModifiedFlagAgreeing) {
  const char* const kLoaded = "alpha beta\r\ngamma\r\ndelta epsilon";
  auto replace = [](TestBuffer& buf) {  // one undo step of two records, as Replace does
    buf.BeginUndoGroup();
    buf.DeleteText(nullptr, 0, 2, 2, 3, UNDO_ACTION_REPLACE);
    buf.Insert(0, 2, "new\r\ntext of more than sixteen characters", UNDO_ACTION_REPLACE);
    buf.FlushUndoGroup(nullptr);
  };
  CPoint cursor;
  const std::vector<std::pair<std::function<void(TestBuffer&)>, std::function<void(TestBuffer&)>>> cases = {
      {[](TestBuffer&) {}, [](TestBuffer& buf) { buf.Insert(0, 3, "one\r\ntwo\r\nthree and more text", 0); }},
      {[](TestBuffer&) {}, [](TestBuffer& buf) { buf.DeleteText(nullptr, 0, 2, 2, 3); }},
      {[](TestBuffer&) {}, replace},
      {replace, [&](TestBuffer& buf) { buf.Undo(cursor); }},
      {[&](TestBuffer& buf) {
         replace(buf);
         buf.Undo(cursor);
       }, [&](TestBuffer& buf) { buf.Redo(cursor); }},
  };
  for (std::size_t nCase = 0; nCase < cases.size(); ++nCase) {
    for (long nFailAt = 0;; ++nFailAt) {
      CDocument doc;
      RecordingView view;  // its notes allocate too
      view.SetDocument(&doc);
      TestBuffer buf;
      buf.AddView(&view);
      ASSERT_EQ(buf.LoadFromBuffer(kLoaded, CRLF_MODE_DOS), 1);
      const Lines loaded = buf.AllLines();
      cases[nCase].first(buf);
      bool bFailed = false;
      g_nAllocationsLeft = nFailAt;
      try {
        cases[nCase].second(buf);
      } catch (const std::bad_alloc&) {
        bFailed = true;
      }
      g_nAllocationsLeft = -1;
      if (!bFailed) break;
      const std::string where = "case " + std::to_string(nCase) + ", allocation " + std::to_string(nFailAt);
      ASSERT_EQ(buf.IsModified(), buf.m_nUndoPosition != 0 ? 1 : 0) << where;
      ASSERT_EQ(doc.IsModified(), buf.IsModified() != 0) << where;
      while (buf.CanUndo()) buf.Undo(cursor);
      ASSERT_EQ(buf.AllLines(), loaded) << where;
      ASSERT_EQ(buf.IsModified(), 0) << where;
      while (buf.CanRedo()) buf.Redo(cursor);  // and the history still replays
      ASSERT_EQ(buf.IsModified(), buf.m_nUndoPosition != 0 ? 1 : 0) << where;
    }
  }
}

}  // namespace
}  // namespace quill::test
