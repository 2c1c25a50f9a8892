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
