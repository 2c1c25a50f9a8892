# Compiles through ccache when it is installed (TESSALINE_CCACHE=OFF turns it off). Paths under
# the source tree are hashed relative to it and the working folder is left out of the hash, so
# a fresh clone elsewhere (as CI makes) reuses what an earlier build compiled.
option(TESSALINE_CCACHE "Compile through ccache when it is installed" ON)
if(TESSALINE_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
  find_program(TESSALINE_CCACHE_PROGRAM ccache)
  if(TESSALINE_CCACHE_PROGRAM)
    set(launcher ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${CMAKE_SOURCE_DIR} CCACHE_NOHASHDIR=true
                 ${TESSALINE_CCACHE_PROGRAM})
    set(CMAKE_C_COMPILER_LAUNCHER ${launcher})
    set(CMAKE_CXX_COMPILER_LAUNCHER ${launcher})
  endif()
endif()
