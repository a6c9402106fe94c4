#pragma once
// Qt keys as the virtual keys of the view's key messages.

namespace quill::qt {

// The virtual key of a Qt key (Qt::Key), or 0 for a key that has none or is a bare
// modifier (Shift, Control, Alt and Meta reach the view only as key state).
int VirtualKeyOf(int qtKey);

}  // namespace quill::qt
