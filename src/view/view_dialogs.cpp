#include "view/view_dialogs.h"

namespace quill {
namespace {

constinit IViewDialogs* g_pViewDialogs = nullptr;

}  // namespace

IViewDialogs* GetViewDialogs() { return g_pViewDialogs; }

void SetViewDialogs(IViewDialogs* pDialogs) { g_pViewDialogs = pDialogs; }

}  // namespace quill
