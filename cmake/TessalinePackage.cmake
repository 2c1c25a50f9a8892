# The Debian package: `cmake --build build --target package` (or `cpack -G DEB` in the build
# folder) writes tessaline_<version>_amd64.deb. The package installs with prefix /usr, so the
# bundle's install rule puts it in /usr/lib/vst3, the presets in /usr/share/vst3/presets and the
# VST2 link in /usr/lib/vst, and the LV2 rule (tools/lv2ttl) the LV2 bundle in
# /usr/lib/lv2/Tessaline.lv2; the tool, its manual page and the documents follow below.
set(_doc share/doc/tessaline)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/packaging/copyright DESTINATION ${_doc})
# The pages the README links to, with its pictures, so its links resolve where it is installed.
install(FILES ${CMAKE_SOURCE_DIR}/CONTRIBUTING.md DESTINATION ${_doc})
install(FILES ${CMAKE_SOURCE_DIR}/docs/cli.md ${CMAKE_SOURCE_DIR}/docs/install.md
              ${CMAKE_SOURCE_DIR}/docs/performance.md ${CMAKE_SOURCE_DIR}/docs/architecture.md
              ${CMAKE_SOURCE_DIR}/docs/tail-end.md ${CMAKE_SOURCE_DIR}/docs/rate-true-room.md
        DESTINATION ${_doc}/docs)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/docs/images DESTINATION ${_doc}/docs)
# Debian wants the changelog and manual pages compressed, reproducibly (no name or time stamp).
configure_file(${CMAKE_SOURCE_DIR}/packaging/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
  COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/packaging/changelog
  DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog VERBATIM)
add_custom_target(tessaline_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz DESTINATION ${_doc})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessaline)
set(CPACK_PACKAGE_VENDOR Quorvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Quorvane <packages@quorvane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "room reverb plug-in (VST3, VST2, LV2) and command-line renderer")
set(CPACK_PACKAGE_DESCRIPTION "Tessaline places a stereo or mono signal in a modelled room:
each ear hears the input convolved with a room response built from physically
modelled component responses and shaped by eleven parameters. The package holds
the VST3 bundle, a link for VST2 hosts, the LV2 bundle, the factory presets and the tessaline
program, which renders audio files through the plug-in.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Runtime dependencies read from the installed binaries by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)
