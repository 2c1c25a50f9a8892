# TESSALINE_SANITIZE=address  -> ASan + UBSan
# TESSALINE_SANITIZE=thread   -> TSan
if(TESSALINE_SANITIZE STREQUAL "address")
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
elseif(TESSALINE_SANITIZE STREQUAL "thread")
  add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
  add_link_options(-fsanitize=thread)
elseif(NOT TESSALINE_SANITIZE STREQUAL "")
  message(FATAL_ERROR "TESSALINE_SANITIZE must be empty, 'address' or 'thread'")
endif()
# Sanitizer trees keep the internal preconditions (assert) checked, whatever the build type's
# flags say: -UNDEBUG comes after the type's -DNDEBUG on every compile line.
if(NOT TESSALINE_SANITIZE STREQUAL "")
  add_compile_options(-UNDEBUG)
endif()

# Fuzzing build (clang only): every library gets libFuzzer's coverage instrumentation, so the
# fuzz target is guided by the adapter and the DSP code, not only by its own file.
option(TESSALINE_FUZZ "Build the libFuzzer targets fuzz_state, fuzz_process, fuzz_preset, fuzz_uidesc (needs clang)" OFF)
if(TESSALINE_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "TESSALINE_FUZZ needs clang (CC=clang CXX=clang++)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link -UNDEBUG)
endif()

# Shared modules are linked with --no-undefined so a missing symbol fails the build, not the
# host's dlopen. Clang's sanitizer runtimes live in the loading executable, not in the module,
# so sanitized clang builds leave those references to be resolved at load time.
set(TESSALINE_NO_UNDEFINED LINKER:--no-undefined)
if(NOT TESSALINE_SANITIZE STREQUAL "" AND CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  set(TESSALINE_NO_UNDEFINED "")
endif()
