# Warnings for our own targets only; the SDK sources are compiled without them.
# TESSALINE_WERROR turns every warning of our targets into an error (CI builds with it on).
option(TESSALINE_WERROR "Treat warnings in our own code as errors" OFF)

function(tessaline_warnings target)
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:CXX,C>:-Wall -Wextra -Wpedantic -Wconversion -Wno-unused-parameter>
    $<$<AND:$<COMPILE_LANGUAGE:CXX,C>,$<CXX_COMPILER_ID:GNU>>:-Wshadow=local>
    # clang's -Wconversion also takes in sign conversions, which GCC's leaves out for C++:
    # both compilers check the same set.
    $<$<AND:$<COMPILE_LANGUAGE:CXX,C>,$<CXX_COMPILER_ID:Clang>>:-Wshadow -Wno-sign-conversion>)
  if(TESSALINE_WERROR)
    target_compile_options(${target} PRIVATE $<$<COMPILE_LANGUAGE:CXX,C>:-Werror>)
  endif()
endfunction()
