#pragma once
// The whole toolkit-free API of the quill editor component.

#include "platform/document.h"
#include "platform/exceptions.h"
#include "platform/format.h"
#include "platform/gdi.h"
#include "platform/types.h"
#include "platform/window.h"
#include "resources/glyphs.h"
#include "resources/strings.h"
#include "buffer/buffer_defs.h"
#include "buffer/text_buffer.h"
#include "buffer/update_context.h"
#include "settings/registry.h"
#include "settings/store.h"
#include "view/quill_view.h"
