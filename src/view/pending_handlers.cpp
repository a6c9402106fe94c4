// Command handlers whose behaviour is not written yet. Each is bound in the command table
// so that keys and menus reach a named member; its owner replaces the empty body with the
// real one in the file of its concern and deletes the line here.

#include "view/quill_view.h"

namespace quill {


// Drag and drop.
void QuillView::DragSelection() {}

}  // namespace quill
