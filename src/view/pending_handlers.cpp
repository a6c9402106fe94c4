// Command handlers whose behaviour is not written yet. Each is bound in the command table
// so that keys and menus reach a named member; its owner replaces the empty body with the
// real one in the file of its concern and deletes the line here.

#include "view/quill_view.h"

namespace quill {

// Find and replace.
void QuillView::OnEditFind() {}
void QuillView::OnEditReplace() {}
void QuillView::OnEditRepeat() {}
void QuillView::OnEditFindPrevious() {}
void QuillView::OnFindNextInplace() {}
void QuillView::OnFindpreviousInplace() {}
void QuillView::OnUpdateEditRepeat(CCmdUI*) {}

// Bookmarks and go to.
void QuillView::OnEditGoto() {}
void QuillView::OnUpdateGoto(CCmdUI*) {}
void QuillView::OnToggleBookmark(unsigned) {}
void QuillView::OnToggleBookmark() {}
void QuillView::OnGoBookmark(unsigned) {}
void QuillView::OnClearBookmarks() {}
void QuillView::OnNextBookmark() {}
void QuillView::OnPrevBookmark() {}
void QuillView::OnClearAllBookmarks() {}
void QuillView::OnUpdateNextBookmark(CCmdUI*) {}

}  // namespace quill
