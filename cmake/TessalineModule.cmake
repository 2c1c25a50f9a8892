# A module a host loads (the VST3 bundle's, the LV2 plug-in's and its UI's): named without the
# "lib" prefix and placed in DIRECTORY; only the symbols EXPORTS names leave it, so two plug-ins
# built from different SDK or toolkit versions cannot bind to each other's; every undefined
# symbol fails the link rather than the host's dlopen; and -z nodelete keeps it mapped until the
# process ends, because cairo, pango, GLib and fontconfig keep process-wide state (type
# registrations, font caches) that cannot be unloaded and loaded again safely under hosts that
# unload and reload a plug-in.
function(tessaline_host_module target directory exports)
  set_target_properties(${target} PROPERTIES
    PREFIX ""
    SUFFIX ".so"
    LIBRARY_OUTPUT_DIRECTORY ${directory}
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    LINK_DEPENDS ${exports})
  target_link_options(${target} PRIVATE
    LINKER:--version-script=${exports}
    ${TESSALINE_NO_UNDEFINED}
    LINKER:-z,nodelete)
endfunction()
