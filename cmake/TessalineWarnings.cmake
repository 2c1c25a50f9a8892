# Warnings for our own targets only; the SDK sources are compiled without them.
function(tessaline_warnings target)
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:CXX,C>:-Wall -Wextra -Wpedantic -Wshadow=local -Wno-unused-parameter>)
endfunction()
