# The layers of src/, lowest first, and what each may include. Read by src/CMakeLists.txt
# (the include root of each layer's target) and by scripts/check_layers.cmake (the
# check_layers test). docs/architecture.md draws the same order.
#
#   platform < resources, settings < buffer < style < view < dialogs < documents < qt
#
# resources and settings stand side by side: neither includes the other. The test support
# (platform/headless, the layer "testing") includes only the platform.

set(QUILL_CORE_LAYERS platform resources settings buffer style view dialogs documents)

set(QUILL_LAYER_ALLOWED_platform platform)
set(QUILL_LAYER_ALLOWED_resources platform resources)
set(QUILL_LAYER_ALLOWED_settings platform settings)
set(QUILL_LAYER_ALLOWED_buffer platform resources settings buffer)
set(QUILL_LAYER_ALLOWED_style ${QUILL_LAYER_ALLOWED_buffer} style)
set(QUILL_LAYER_ALLOWED_view ${QUILL_LAYER_ALLOWED_style} view)
set(QUILL_LAYER_ALLOWED_dialogs ${QUILL_LAYER_ALLOWED_view} dialogs)
set(QUILL_LAYER_ALLOWED_documents ${QUILL_LAYER_ALLOWED_dialogs} documents)
set(QUILL_LAYER_ALLOWED_qt ${QUILL_LAYER_ALLOWED_documents} qt)
set(QUILL_LAYER_ALLOWED_testing platform testing)
# The umbrella header quill.h: the toolkit-free API, neither the backend nor the test support.
set(QUILL_LAYER_ALLOWED_umbrella ${QUILL_LAYER_ALLOWED_documents})

# The folders (first path component under src/) that may be included from layer.
function(quill_layer_allowed layer out)
  if(NOT DEFINED QUILL_LAYER_ALLOWED_${layer})
    message(FATAL_ERROR "unknown layer ${layer}")
  endif()
  set(dirs)
  foreach(l ${QUILL_LAYER_ALLOWED_${layer}})
    if(NOT l STREQUAL "testing")
      list(APPEND dirs ${l})
    endif()
  endforeach()
  set(${out} ${dirs} PARENT_SCOPE)
endfunction()

# The layer of a path relative to src/ (a file, or what an include names).
function(quill_layer_of path out)
  if(path MATCHES "^platform/headless/")
    set(${out} testing PARENT_SCOPE)
  elseif(path MATCHES "^([a-z_]+)/")
    set(${out} ${CMAKE_MATCH_1} PARENT_SCOPE)
  else()
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()
