# Installation: the headers under include/quill (the include root of the exported targets,
# so "buffer/text_buffer.h", "qt/quill_qt.h" and <quill.h> resolve as in the source tree),
# libquill_core.so and libquill.so, the CMake package (find_package(quill CONFIG) gives
# quill::core and quill::qt) and pkg-config files quill-core.pc and quill-qt.pc.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(QUILL_INSTALL_CMAKEDIR ${CMAKE_INSTALL_LIBDIR}/cmake/quill)
set(QUILL_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/quill)

# Installed programs and libraries find the libraries beside them under any prefix.
set(QUILL_INSTALL_RPATH "$ORIGIN/../${CMAKE_INSTALL_LIBDIR}")

set(quill_export_targets quill_core)
set_target_properties(quill_core PROPERTIES EXPORT_NAME core INSTALL_RPATH "$ORIGIN")
target_include_directories(quill_core INTERFACE $<INSTALL_INTERFACE:${QUILL_INSTALL_INCLUDEDIR}>)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/src/ DESTINATION ${QUILL_INSTALL_INCLUDEDIR}
        COMPONENT devel FILES_MATCHING PATTERN "*.h" PATTERN "qt" EXCLUDE)

set(QUILL_WITH_QT OFF)
if(TARGET quill)
  set(QUILL_WITH_QT ON)
  list(APPEND quill_export_targets quill)
  set_target_properties(quill PROPERTIES EXPORT_NAME qt INSTALL_RPATH "$ORIGIN")
  target_include_directories(quill INTERFACE $<INSTALL_INTERFACE:${QUILL_INSTALL_INCLUDEDIR}>)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/src/qt/ DESTINATION ${QUILL_INSTALL_INCLUDEDIR}/qt
          COMPONENT devel FILES_MATCHING PATTERN "*.h")
endif()
# quillpad's application entry and icon, for desktop menus.
if(TARGET quillpad)
  install(FILES ${PROJECT_SOURCE_DIR}/apps/quillpad/quillpad.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/apps/quillpad/quillpad.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()
foreach(app quillpad quill-settings)
  if(TARGET ${app})
    set_target_properties(${app} PROPERTIES INSTALL_RPATH "${QUILL_INSTALL_RPATH}")
  endif()
endforeach()

install(TARGETS ${quill_export_targets} EXPORT quillTargets
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(EXPORT quillTargets NAMESPACE quill:: DESTINATION ${QUILL_INSTALL_CMAKEDIR}
        COMPONENT devel)

configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/quillConfig.cmake.in
  ${PROJECT_BINARY_DIR}/quillConfig.cmake INSTALL_DESTINATION ${QUILL_INSTALL_CMAKEDIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/quillConfigVersion.cmake
  COMPATIBILITY SameMinorVersion)
install(FILES ${PROJECT_BINARY_DIR}/quillConfig.cmake ${PROJECT_BINARY_DIR}/quillConfigVersion.cmake
        DESTINATION ${QUILL_INSTALL_CMAKEDIR} COMPONENT devel)

# pkg-config: paths relative to the .pc file's prefix so that a moved tree still works.
file(RELATIVE_PATH QUILL_PC_LIBDIR_REL /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
set(QUILL_PC_NAMES quill-core)
if(QUILL_WITH_QT)
  list(APPEND QUILL_PC_NAMES quill-qt)
endif()
foreach(pc ${QUILL_PC_NAMES})
  configure_file(${CMAKE_CURRENT_LIST_DIR}/${pc}.pc.in ${PROJECT_BINARY_DIR}/${pc}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/${pc}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
          COMPONENT devel)
endforeach()
