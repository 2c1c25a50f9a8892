# Installs the built tree twice into a scratch folder and checks the folders each prefix gives:
# a system prefix (lib/vst3, share/vst3/presets, lib/vst) and the home prefix (staged with
# DESTDIR: .vst3, .vst3/presets, .vst). The VST2 link must reach the installed module. The LV2
# bundle goes to lib/lv2 (system) or .lv2 (home) with its two modules, turtle files and panel.
# Arguments: -DBUILD=<build tree> -DHOME_PREFIX=<the per-user prefix> -DWORK=<scratch folder>
#            -DMODULE=<module path inside the bundle>
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${WORK}")

function(install_into prefix destdir)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env DESTDIR=${destdir}
                          ${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "install into ${prefix} failed:\n${out}\n${err}")
  endif()
endfunction()

function(expect_layout root vst3 presets vst2)
  set(module "${root}/${vst3}/Tessaline.vst3/${MODULE}")
  if(NOT EXISTS "${module}")
    message(FATAL_ERROR "no module at ${module}")
  endif()
  file(GLOB preset_files "${root}/${presets}/*.vstpreset")
  list(LENGTH preset_files count)
  if(count LESS 2)
    message(FATAL_ERROR "expected the factory presets in ${root}/${presets}, found ${count}")
  endif()
  set(link "${root}/${vst2}/Tessaline.so")
  if(NOT IS_SYMLINK "${link}")
    message(FATAL_ERROR "no VST2 link at ${link}")
  endif()
  file(REAL_PATH "${link}" through)
  file(REAL_PATH "${module}" real_module)
  if(NOT through STREQUAL real_module)
    message(FATAL_ERROR "VST2 link ${link} leads to ${through}, not ${real_module}")
  endif()
endfunction()

function(expect_lv2 folder)
  foreach(file Tessaline.so TessalineUI.so manifest.ttl Tessaline.ttl presets.ttl tovu.uidesc greymetal.png)
    if(NOT EXISTS "${folder}/Tessaline.lv2/${file}")
      message(FATAL_ERROR "no ${file} in ${folder}/Tessaline.lv2")
    endif()
  endforeach()
endfunction()

install_into("${WORK}/system" "")
expect_layout("${WORK}/system" lib/vst3 share/vst3/presets/Quorvane/Tessaline lib/vst)
expect_lv2("${WORK}/system/lib/lv2")

install_into("${HOME_PREFIX}" "${WORK}/stage")
expect_layout("${WORK}/stage${HOME_PREFIX}" .vst3 .vst3/presets/Quorvane/Tessaline .vst)
expect_lv2("${WORK}/stage${HOME_PREFIX}/.lv2")
# A second install over the first replaces the link instead of failing.
install_into("${HOME_PREFIX}" "${WORK}/stage")
message(STATUS "install layouts as expected")
