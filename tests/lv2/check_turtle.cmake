# sord_validate over the LV2 extensions' own turtle (from lv2-dev) and the bundle's files:
# passes only when it finds no error. Input: BUNDLE.
# The extensions' turtle as lv2-dev installs it (other plug-ins on the machine are not ours to
# check).
execute_process(COMMAND dpkg -L lv2-dev OUTPUT_VARIABLE _files ERROR_QUIET)
string(REPLACE "\n" ";" _files "${_files}")
set(_specs)
foreach(_file IN LISTS _files)
  if(_file MATCHES "^/usr/lib/lv2/[^/]+/[^/]+\\.ttl$")
    list(APPEND _specs ${_file})
  endif()
endforeach()
if(NOT _specs)
  message(FATAL_ERROR "no LV2 schema files found (install lv2-dev)")
endif()
file(GLOB _ours ${BUNDLE}/*.ttl)
list(LENGTH _ours _count)
if(NOT _count EQUAL 3)
  message(FATAL_ERROR "expected manifest.ttl, Tessaline.ttl and presets.ttl in ${BUNDLE}, found ${_ours}")
endif()
execute_process(COMMAND sord_validate ${_specs} ${_ours}
  RESULT_VARIABLE _result OUTPUT_VARIABLE _out ERROR_VARIABLE _out)
message("${_out}")
if(NOT _result EQUAL 0 OR NOT _out MATCHES "Found 0 errors")
  message(FATAL_ERROR "the bundle's turtle does not validate")
endif()
