#pragma once
// The whole toolkit-free API of the quill editor component.

#include "platform/display.h"
#include "platform/document.h"
#include "platform/exceptions.h"
#include "platform/format.h"
#include "platform/headless/file_prompt.h"
#include "platform/prompts.h"
#include "platform/types.h"
#include "resources/strings.h"
#include "settings/registry.h"
#include "settings/store.h"
#include "style/color_and_name.h"
#include "style/document_style.h"
#include "style/document_type.h"
#include "style/text_style_impl.h"
#include "view/quill_view.h"
