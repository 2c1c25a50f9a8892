# Runs presets.lua in Ardour's headless Lua session tool against the built bundle, in a scratch
# home folder (Ardour finds VST3 bundles in ~/.vst3 and VST2 modules through LXVST_PATH and indexes
# them with its own scanners; LV2 bundles through LV2_PATH), and checks Ardour's view of the eleven
# controls at each stage.
# Arguments: -DBUNDLE=<Tessaline.vst3, Tessaline.lv2, or for LXVST the .vst3 bundle's module>
#            -DFORMAT=<VST3, LV2 or LXVST (VST2)>
#            -DPLUGIN=<the class's name; "Tessaline" when not given>
#            -DARDOUR_LUA=<ardour7-lua or empty> -DSCRIPT=<presets.lua> -DWORK=<scratch folder>
cmake_minimum_required(VERSION 3.25)
if(NOT ARDOUR_LUA OR NOT EXISTS /usr/lib/ardour7/ardour-vst3-scanner)
  message("Ardour 7 is not installed: skipped")
  cmake_language(EXIT 77)
endif()
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}/home/.vst3" "${WORK}/lv2" "${WORK}/lxvst")
set(env ${CMAKE_COMMAND} -E env HOME=${WORK}/home XDG_CONFIG_HOME=${WORK}/home/.config
        XDG_CACHE_HOME=${WORK}/home/.cache)
if(FORMAT STREQUAL "LV2")
  # Only our bundle and the LV2 extensions' own descriptions: another Tessaline installed on the
  # machine is never the one tested.
  file(CREATE_LINK "${BUNDLE}" "${WORK}/lv2/Tessaline.lv2" SYMBOLIC)
  list(APPEND env LV2_PATH=${WORK}/lv2:/usr/lib/lv2)
elseif(FORMAT STREQUAL "LXVST")
  file(CREATE_LINK "${BUNDLE}" "${WORK}/lxvst/Tessaline.so" SYMBOLIC)
  list(APPEND env LXVST_PATH=${WORK}/lxvst)
  execute_process(COMMAND ${env} LD_LIBRARY_PATH=/usr/lib/ardour7 /usr/lib/ardour7/ardour-vst-scanner -f
                          ${WORK}/lxvst/Tessaline.so
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "Ardour's VST2 scanner refused the module (${status}):\n${out}\n${err}")
  endif()
else()
  file(CREATE_LINK "${BUNDLE}" "${WORK}/home/.vst3/Tessaline.vst3" SYMBOLIC)
  execute_process(COMMAND ${env} LD_LIBRARY_PATH=/usr/lib/ardour7 /usr/lib/ardour7/ardour-vst3-scanner -q -f
                          ${WORK}/home/.vst3/Tessaline.vst3
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "Ardour's scanner refused the bundle (${status}):\n${out}\n${err}")
  endif()
endif()

if(NOT PLUGIN)
  set(PLUGIN "Tessaline")
endif()
set(output "")
foreach(stage create reopen)
  set(args ${WORK}/session ${FORMAT} ${PLUGIN})
  if(stage STREQUAL "reopen")
    list(APPEND args reopen)
  endif()
  execute_process(COMMAND ${env} ${ARDOUR_LUA} ${SCRIPT} ${args} WORKING_DIRECTORY ${WORK}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
  if(NOT status EQUAL 0 OR out MATCHES "Error:" OR err MATCHES "Error:")
    message(FATAL_ERROR "ardour7-lua ${stage} failed (${status}):\n${out}\n${err}")
  endif()
  string(APPEND output "${out}")
endforeach()
message("${output}")

# Gain, Position, Vol/Abs L-R, F-B, C-F, Decay Type, Stereo/Mono, Left/Right in plain units.
set(default "0.5000 0.0000 1.0000 7.0000 1.0000 7.0000 1.0000 7.0000 1.0000 0.0000 0.0000")
set(studio "0.5000 5.0000 1.0000 5.3100 1.0000 7.5400 1.0000 9.4900 0.0000 0.0000 0.0000")
set(edited "0.5000 5.0000 1.0000 12.6000 1.0000 7.5400 1.0000 9.4900 0.0000 0.0000 0.0000")
if(FORMAT STREQUAL "LXVST")
  # VST2 shows the same values normalized: Position 5 of 10, each Abs of 14.
  set(default "0.5000 0.0000 1.0000 0.5000 1.0000 0.5000 1.0000 0.5000 1.0000 0.0000 0.0000")
  set(studio "0.5000 0.5000 1.0000 0.3793 1.0000 0.5386 1.0000 0.6779 0.0000 0.0000 0.0000")
  set(edited "0.5000 0.5000 1.0000 0.9000 1.0000 0.5386 1.0000 0.6779 0.0000 0.0000 0.0000")
endif()
# Both runs hold the class asked for, not the other one of the bundle.
string(REGEX MATCHALL "plugin [^\n]*" held "${output}")
if(NOT held STREQUAL "plugin ${PLUGIN};plugin ${PLUGIN}")
  message(FATAL_ERROR "Ardour holds \"${held}\", not ${PLUGIN} twice")
endif()
foreach(expected "default: ${default}" "studio: ${studio}" "edited: ${edited}" "saved: ${edited}"
                 "reopened: ${edited}")
  string(FIND "${output}" "values ${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "Ardour does not show \"${expected}\"")
  endif()
endforeach()
