# Runs the layering check on a small tree that breaks the rules three ways (an engine header
# reaching up into the adapter, the core reaching for an editor, a room header including a tool's)
# and keeps four allowed kinds of include (adapter -> engine and core, editor -> adapter, room ->
# core and engine, a tool -> adapter, plus an SDK and a system header that resolve nowhere).
# The check must fail and name exactly the three faults.
execute_process(
  COMMAND ${CMAKE_COMMAND} -DROOT=${FIXTURE} -P ${CHECK}
  RESULT_VARIABLE rc ERROR_VARIABLE err OUTPUT_VARIABLE out)
string(REGEX REPLACE "[ \t\r\n]+" " " err "${err}")
if(rc EQUAL 0)
  message(FATAL_ERROR "the check passed a tree with includes against the layers:\n${err}")
endif()
foreach(expected
    "source/engine/Lower.h (engine) includes source/adapter/Upper.h (adapter)"
    "source/core/Core.h (core) includes source/editor/Panel.h (editor)"
    "source/room/Room.h (room) includes tools/cli/Options.h (tools)"
    "3 include(s) against the layers")
  string(FIND "${err}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "missing: ${expected}\nthe check said: ${err}")
  endif()
endforeach()
string(REGEX MATCHALL "layering: " faults "${err}")
list(LENGTH faults count)
if(NOT count EQUAL 3)
  message(FATAL_ERROR "expected 3 faults, the check named ${count}: ${err}")
endif()
