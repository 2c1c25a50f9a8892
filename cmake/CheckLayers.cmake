# Refuses an include that runs against the layers (run as `cmake -DROOT=<tree> -P CheckLayers.cmake`).
#
# Every quoted include of a file under source/, standin/ and tools/ is resolved the way the
# compiler would find it: beside the including file, then under source/, then in the include
# folders of the stand-ins, the tools, the tests and the benchmarks. The folder it resolves to is
# its layer; an include whose layer the including layer may not use fails with one line naming
# both files. Includes that resolve nowhere in the tree (the SDK, system headers) are not ours
# and pass.
#
# Layers, from the bottom up, and what each may include besides itself:
#   engine   -- nothing (FFT convolution, no plug-in knowledge)
#   core     -- nothing (the format-neutral plug-in core class)
#   room     -- core, engine
#   adapter  -- room, core, engine, the stand-ins
#   editor   -- adapter, room, core, the stand-ins
#   lv2      -- adapter, room, core, engine, the stand-ins
#   lv2ui    -- lv2, editor, adapter, core, the stand-ins
#   factory  -- every source layer and the stand-ins
#   standin  -- nothing of ours (they stand in for the SDK and the toolkit)
#   tools    -- every source layer and the stand-ins, never tests or benchmarks
cmake_minimum_required(VERSION 3.25)
if(NOT ROOT)
  message(FATAL_ERROR "CheckLayers: pass -DROOT=<source tree>")
endif()

set(_allowed_engine engine)
set(_allowed_core core)
set(_allowed_room room core engine)
set(_allowed_adapter adapter room core engine standin)
set(_allowed_editor editor adapter room core standin)
set(_allowed_lv2 lv2 adapter room core engine standin)
set(_allowed_lv2ui lv2ui lv2 editor adapter core standin)
set(_allowed_factory factory adapter editor lv2 room core engine standin)
set(_allowed_standin standin)
set(_allowed_tools tools factory adapter editor lv2 lv2ui room core engine standin)

# The layer a file of the tree belongs to (empty: not a layer the rules know).
function(layer_of path out)
  file(RELATIVE_PATH rel "${ROOT}" "${path}")
  set(layer "")
  if(rel MATCHES "^source/lv2/ui/")
    set(layer lv2ui)
  elseif(rel MATCHES "^source/([a-z0-9]+)/")
    set(layer "${CMAKE_MATCH_1}")
  elseif(rel MATCHES "^standin/")
    set(layer standin)
  elseif(rel MATCHES "^tools/")
    set(layer tools)
  elseif(rel MATCHES "^tests/")
    set(layer tests)
  elseif(rel MATCHES "^bench/")
    set(layer bench)
  endif()
  set(${out} "${layer}" PARENT_SCOPE)
endfunction()

# Include folders of the tree after source/: each stand-in's root, each tool's folder, the test
# support and bench folders, so an include of theirs from a lower layer is found and refused.
set(_roots "${ROOT}/source")
foreach(_pattern standin/* standin/vstgui/vstgui tools/* tests tests/* bench bench/*)
  file(GLOB _dirs LIST_DIRECTORIES true "${ROOT}/${_pattern}")
  foreach(_d IN LISTS _dirs)
    if(IS_DIRECTORY "${_d}")
      list(APPEND _roots "${_d}")
    endif()
  endforeach()
endforeach()

file(GLOB_RECURSE _files "${ROOT}/source/*.h" "${ROOT}/source/*.cpp" "${ROOT}/standin/*.h"
     "${ROOT}/standin/*.cpp" "${ROOT}/tools/*.h" "${ROOT}/tools/*.cpp")

set(_faults 0)
foreach(_file IN LISTS _files)
  layer_of("${_file}" _from)
  if(_from STREQUAL "")
    continue()
  endif()
  get_filename_component(_dir "${_file}" DIRECTORY)
  file(STRINGS "${_file}" _lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(_line IN LISTS _lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" _inc "${_line}")
    set(_found "")
    foreach(_root IN ITEMS "${_dir}" ${_roots})
      if(EXISTS "${_root}/${_inc}" AND NOT IS_DIRECTORY "${_root}/${_inc}")
        get_filename_component(_found "${_root}/${_inc}" REALPATH)
        break()
      endif()
    endforeach()
    if(_found STREQUAL "")
      continue()
    endif()
    layer_of("${_found}" _to)
    if(_to STREQUAL "" OR _to IN_LIST _allowed_${_from})
      continue()
    endif()
    file(RELATIVE_PATH _rel_from "${ROOT}" "${_file}")
    file(RELATIVE_PATH _rel_to "${ROOT}" "${_found}")
    message(SEND_ERROR "layering: ${_rel_from} (${_from}) includes ${_rel_to} (${_to})")
    math(EXPR _faults "${_faults} + 1")
  endforeach()
endforeach()

if(_faults GREATER 0)
  message(FATAL_ERROR "${_faults} include(s) against the layers; see cmake/CheckLayers.cmake")
endif()
if(STAMP)
  file(TOUCH "${STAMP}")
endif()
