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

# Registers a GoogleTest program's cases with ctest, one test per suite, listed when ctest
# runs (cmake/gtest-suites.cmake) through CMAKE_CROSSCOMPILING_EMULATOR where there is one.
# PICTORNX_FRESH_SUITES, set by the caller, names the suites that keep a process per case;
# with `lock`, suites not in PICTORNX_WINDOWLESS_SUITES hold that resource lock.
function(pictornx_test_suites target lock)
  set(include_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_include.cmake)
  file(GENERATE OUTPUT ${include_file} CONTENT "set(PROGRAM [==[$<TARGET_FILE:${target}>]==])
set(EMULATOR [==[${CMAKE_CROSSCOMPILING_EMULATOR}]==])
set(LIST_FILE [==[${CMAKE_CURRENT_BINARY_DIR}/${target}_suites.cmake]==])
set(FRESH_SUITES [==[${PICTORNX_FRESH_SUITES}]==])
set(WINDOWLESS_SUITES [==[${PICTORNX_WINDOWLESS_SUITES}]==])
set(LOCK [==[${lock}]==])
set(TIMEOUT 300)
include([==[${PROJECT_SOURCE_DIR}/cmake/gtest-suites.cmake]==])
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${include_file})
endfunction()
