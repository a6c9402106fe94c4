#pragma once
// The whole toolkit-free API of the quill editor component.

#include "buffer/buffer_defs.h"
#include "buffer/file_access.h"
#include "buffer/progress_bar.h"
#include "buffer/text_buffer.h"
#include "buffer/update_context.h"
#include "platform/app_services.h"
#include "platform/document.h"
#include "platform/exceptions.h"
#include "platform/file_errors.h"
#include "platform/file_service.h"
#include "platform/format.h"
#include "platform/held_file.h"
#include "platform/types.h"
#include "resources/strings.h"
#include "view/quill_view.h"
