# Install rule of the bundle, its presets and the VST2 link, run at install time (cmake --install),
# so the folders follow the prefix in force then - the one set at any configure, or --prefix:
#   prefix = home folder (the default): ~/.vst3/Tessaline.vst3, ~/.vst3/presets/Quorvane/Tessaline,
#                                        ~/.vst/Tessaline.so
#   any other prefix:                    <prefix>/lib/vst3/Tessaline.vst3,
#                                        <prefix>/share/vst3/presets/Quorvane/Tessaline,
#                                        <prefix>/lib/vst/Tessaline.so
# TESSALINE_INSTALL_DIR, when set, is the bundle's folder (presets in its presets/ sub-folder).
# Inputs: TESSALINE_BUNDLE_DIR, TESSALINE_PRESET_DIR, TESSALINE_HOME_PREFIX, TESSALINE_INSTALL_DIR,
# TESSALINE_MODULE_IN_BUNDLE (the module's path inside the bundle), TESSALINE_VST2_LINK,
# TESSALINE_STRIP (the strip program).
if(CMAKE_INSTALL_PREFIX STREQUAL TESSALINE_HOME_PREFIX)
  set(_vst3 "${CMAKE_INSTALL_PREFIX}/.vst3")
  set(_presets "${_vst3}/presets/Quorvane/Tessaline")
  set(_vst2 "${CMAKE_INSTALL_PREFIX}/.vst")
else()
  set(_vst3 "${CMAKE_INSTALL_PREFIX}/lib/vst3")
  set(_presets "${CMAKE_INSTALL_PREFIX}/share/vst3/presets/Quorvane/Tessaline")
  set(_vst2 "${CMAKE_INSTALL_PREFIX}/lib/vst")
endif()
if(TESSALINE_INSTALL_DIR)
  set(_vst3 "${TESSALINE_INSTALL_DIR}")
  set(_presets "${TESSALINE_INSTALL_DIR}/presets/Quorvane/Tessaline")
endif()

file(INSTALL "${TESSALINE_BUNDLE_DIR}" DESTINATION "${_vst3}" USE_SOURCE_PERMISSIONS)
# A stripped install (cmake --install --strip, or a package) strips the module as well: the rule
# copies it as a file, so the install step's own stripping of targets does not reach it.
get_filename_component(_bundle_name "${TESSALINE_BUNDLE_DIR}" NAME)
if(CMAKE_INSTALL_DO_STRIP AND TESSALINE_STRIP)
  execute_process(COMMAND "${TESSALINE_STRIP}" --strip-unneeded
                          "$ENV{DESTDIR}${_vst3}/${_bundle_name}/${TESSALINE_MODULE_IN_BUNDLE}")
endif()
file(INSTALL "${TESSALINE_PRESET_DIR}/" DESTINATION "${_presets}" FILES_MATCHING PATTERN "*.vstpreset")

if(TESSALINE_VST2_LINK)
  # VST2 hosts scan a flat folder of modules: a relative link to the module inside the installed
  # bundle (relative, so a DESTDIR staging tree stays correct when moved into place).
  get_filename_component(_module_name "${TESSALINE_MODULE_IN_BUNDLE}" NAME)
  file(RELATIVE_PATH _target "${_vst2}" "${_vst3}/${_bundle_name}/${TESSALINE_MODULE_IN_BUNDLE}")
  set(_link "$ENV{DESTDIR}${_vst2}/${_module_name}")
  file(MAKE_DIRECTORY "$ENV{DESTDIR}${_vst2}")
  file(REMOVE "${_link}")
  file(CREATE_LINK "${_target}" "${_link}" SYMBOLIC)
  message(STATUS "Installing: ${_link} -> ${_target}")
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${_vst2}/${_module_name}")
endif()
