# Where `cmake --install` puts things. Per user by default: a first configure without
# CMAKE_INSTALL_PREFIX sets the prefix to the home folder, which the install rule
# (TessalineInstall.cmake, run at install time) reads as "the per-user folders". A prefix the user
# sets at any later configure, or with `cmake --install --prefix`, installs system-wide there.
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
  set(CMAKE_INSTALL_PREFIX "$ENV{HOME}" CACHE PATH
    "Install prefix: your home folder installs per user (~/.vst3, ~/.vst); any other prefix installs to <prefix>/lib/vst3 and <prefix>/lib/vst"
    FORCE)
endif()
set(TESSALINE_HOME_PREFIX "$ENV{HOME}" CACHE INTERNAL "The prefix that means per-user folders")
set(TESSALINE_INSTALL_DIR "" CACHE PATH
  "Folder the Tessaline.vst3 bundle is installed into (empty: chosen by the prefix)")
option(TESSALINE_VST2_LINK "Install a link to the module for VST2 hosts (~/.vst or <prefix>/lib/vst)" ON)

# The bundle, its presets and the VST2 link, by one rule evaluated at install time.
function(tessaline_install_bundle bundle_dir preset_dir module_in_bundle)
  install(CODE "
    set(TESSALINE_BUNDLE_DIR \"${bundle_dir}\")
    set(TESSALINE_PRESET_DIR \"${preset_dir}\")
    set(TESSALINE_HOME_PREFIX \"${TESSALINE_HOME_PREFIX}\")
    set(TESSALINE_INSTALL_DIR \"${TESSALINE_INSTALL_DIR}\")
    set(TESSALINE_MODULE_IN_BUNDLE \"${module_in_bundle}\")
    set(TESSALINE_VST2_LINK \"${TESSALINE_VST2_LINK}\")
    set(TESSALINE_STRIP \"${CMAKE_STRIP}\")
    include(\"${CMAKE_CURRENT_FUNCTION_LIST_DIR}/TessalineInstall.cmake\")")
endfunction()
