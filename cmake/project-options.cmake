# Warnings as errors on our own code; third-party code is not built with these.
function(pictornx_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Werror
    $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor>)
endfunction()

option(PICTORNX_BENCH "Build the benchmarks" OFF)
option(PICTORNX_FUZZ "Build the libFuzzer targets (clang)" OFF)
option(PICTORNX_SANITIZE "Build with AddressSanitizer and UBSan" OFF)

if(PICTORNX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
