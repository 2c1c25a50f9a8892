# Warnings for our own targets only; the SDK sources are compiled without them.
function(tessaline_warnings target)
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:CXX,C>:-Wall -Wextra -Wpedantic -Wno-unused-parameter>
    $<$<AND:$<COMPILE_LANGUAGE:CXX,C>,$<CXX_COMPILER_ID:GNU>>:-Wshadow=local>
    $<$<AND:$<COMPILE_LANGUAGE:CXX,C>,$<CXX_COMPILER_ID:Clang>>:-Wshadow>)
endfunction()
