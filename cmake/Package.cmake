# `cmake --install` puts the toolkit in place for other projects: the headers
# under include/emrtoolkit, the layers' static libraries, a CMake package
# (find_package(EmrToolkit), targets EmrToolkit::<layer>) and a pkg-config file;
# and the utility with its desktop file and icons, when it is built. The app
# layer's headers and library are not part of the toolkit, and the Windows
# build installs nothing.
if(WIN32)
  return()
endif()
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(EMR_TOOLKIT_TARGETS core graphics platform streaming controls forms storage headless atspi x11 styling menus toolbar)
install(TARGETS ${EMR_TOOLKIT_TARGETS} framework EXPORT EmrToolkitTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
target_include_directories(framework INTERFACE $<INSTALL_INTERFACE:include/emrtoolkit>)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/src/ DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/emrtoolkit
        FILES_MATCHING PATTERN "*.h" PATTERN "app" EXCLUDE)

set(EMR_PACKAGE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/EmrToolkit)
install(EXPORT EmrToolkitTargets NAMESPACE EmrToolkit:: DESTINATION ${EMR_PACKAGE_DIR})
configure_package_config_file(${CMAKE_SOURCE_DIR}/cmake/package/EmrToolkitConfig.cmake.in
                              ${CMAKE_BINARY_DIR}/package/EmrToolkitConfig.cmake
                              INSTALL_DESTINATION ${EMR_PACKAGE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/package/EmrToolkitConfigVersion.cmake
                                 COMPATIBILITY SameMinorVersion)
install(FILES ${CMAKE_BINARY_DIR}/package/EmrToolkitConfig.cmake
              ${CMAKE_BINARY_DIR}/package/EmrToolkitConfigVersion.cmake
              ${CMAKE_SOURCE_DIR}/cmake/EmrEmbedLayout.cmake ${CMAKE_SOURCE_DIR}/cmake/EmbedLayout.cmake
        DESTINATION ${EMR_PACKAGE_DIR})
configure_file(${CMAKE_SOURCE_DIR}/cmake/package/emrtoolkit.pc.in ${CMAKE_BINARY_DIR}/package/emrtoolkit.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/package/emrtoolkit.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

if(TARGET emrpatch)
  install(TARGETS emrpatch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${CMAKE_SOURCE_DIR}/src/app/emrpatch.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  foreach(size 16 32 48)
    install(FILES ${CMAKE_SOURCE_DIR}/src/app/icons/emrpatch-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME emrpatch.png)
  endforeach()
endif()
