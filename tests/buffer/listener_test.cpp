// The buffer tells whatever listens to it, views or not, through ITextBufferListener; a
// view hears the source of an edit as the view it is.

#include <gtest/gtest.h>

#include "buffer_fixture.h"
#include "quill.h"

namespace quill::test {
namespace {

class PlainListener : public ITextBufferListener {
 public:
  void OnBufferUpdate(ITextBufferListener* pSource, CUpdateContext*, unsigned long dwFlags, int nLine) override {
    updates.push_back({pSource, dwFlags, nLine});
  }
  void OnEditOperation(int nAction, const char* pszText) override { edits.emplace_back(nAction, pszText); }
  void OnBufferDestroyed(QuillTextBuffer* pBuffer) override { destroyedBuffer = pBuffer; }
  CDocument* GetListenerDocument() const override { return document; }
  void OnBookmarkSet() override { ++bookmarksSet; }

  struct Update {
    ITextBufferListener* source;
    unsigned long flags;
    int line;
  };
  std::vector<Update> updates;
  std::vector<std::pair<int, std::string>> edits;
  QuillTextBuffer* destroyedBuffer = nullptr;
  CDocument* document = nullptr;
  int bookmarksSet = 0;
};

TEST(BufferListener, HearsEditsTitlesBookmarksAndTheEnd) {
  CDocument doc;
  doc.SetTitle("notes.txt");
  PlainListener listener;
  listener.document = &doc;
  QuillTextBuffer* seen = nullptr;
  {
    QuillTextBuffer buf;
    buf.InitNew();
    buf.AddView(&listener);
    int l = 0, c = 0;
    buf.InsertText(&listener, 0, 0, "ab\rc", l, c, UNDO_ACTION_TYPING);
    ASSERT_EQ(listener.updates.size(), 1u);
    EXPECT_EQ(listener.updates[0].source, &listener);
    EXPECT_EQ(listener.updates[0].flags, UPDATE_FLAG_HORZ | UPDATE_FLAG_VERT);
    // The modified mark is the document's, reached through the listener.
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.GetTitle(), "notes.txt *");

    // An edit outside a group is a group of its own, flushed on its source.
    ASSERT_EQ(listener.edits.size(), 1u);
    EXPECT_EQ(listener.edits[0].first, UNDO_ACTION_TYPING);

    buf.SetBookmark(1);
    EXPECT_EQ(listener.bookmarksSet, 1);

    buf.SetReadOnly(1);  // no path: only the title and the notification
    EXPECT_EQ(doc.GetTitle(), "notes.txt * (Read-Only)");
    buf.UpdateViews(nullptr, nullptr, UPDATE_FLAG_RESET);
    EXPECT_EQ(doc.GetTitle(), "notes.txt * (Read-Only)");  // marked once
    seen = &buf;
    buf.FreeAll();
  }
  EXPECT_EQ(listener.destroyedBuffer, seen);
}

TEST(BufferListener, ViewHearsItselfAsSourceAndNothingElse) {
  TestBuffer buf;
  buf.InitNew();
  RecordingView view;
  PlainListener other;
  buf.AddView(&view);
  buf.AddView(&other);
  buf.Insert(0, 0, "x", UNDO_ACTION_TYPING, &view);
  buf.Insert(0, 0, "y", UNDO_ACTION_TYPING, nullptr);
  int l = 0, c = 0;
  buf.InsertText(&other, 0, 0, "z", l, c);
  std::vector<QuillView*> sources;
  for (const auto& note : view.notes) sources.push_back(note.source);
  EXPECT_EQ(sources, (std::vector<QuillView*>{&view, nullptr, nullptr}));  // the last: a listener, no view
  ASSERT_EQ(other.updates.size(), 3u);
  EXPECT_EQ(other.updates[0].source, static_cast<ITextBufferListener*>(&view));
  // Bookmarks set by the buffer enable the commands of the most recently attached view.
  buf.RemoveView(&other);
  buf.SetBookmark(1);
  EXPECT_TRUE(view.HasBookmarks());
  buf.RemoveView(&view);
}

}  // namespace
}  // namespace quill::test
