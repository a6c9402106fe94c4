# The API reference: `docs` runs Doxygen over the headers into <build>/docs/html.
option(QUILL_BUILD_DOCS "Add the docs target (the API reference, needs Doxygen)" OFF)
if(QUILL_BUILD_DOCS)
  find_package(Doxygen REQUIRED)
  set(QUILL_DOCS_OUTPUT ${PROJECT_BINARY_DIR}/docs)
  file(MAKE_DIRECTORY ${QUILL_DOCS_OUTPUT})
  configure_file(${PROJECT_SOURCE_DIR}/docs/Doxyfile.in ${PROJECT_BINARY_DIR}/Doxyfile @ONLY)
  add_custom_target(docs
    COMMAND Doxygen::doxygen ${PROJECT_BINARY_DIR}/Doxyfile
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "API reference in ${QUILL_DOCS_OUTPUT}/html"
    VERBATIM)
  include(GNUInstallDirs)
  install(DIRECTORY ${QUILL_DOCS_OUTPUT}/html/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/api
          COMPONENT doc OPTIONAL)
endif()
