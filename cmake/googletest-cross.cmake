# GoogleTest cross-built for Windows from Debian's source copy; the Windows test programs
# run under Wine through CMAKE_CROSSCOMPILING_EMULATOR, and are listed at test time
# (inside the Wine session) rather than at build time.
set(GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# Links a Windows test program statically so it needs nothing beside it under Wine, and
# registers its cases with ctest one suite to a test (cmake/wine-test-suites.cmake), listed
# at test time inside the Wine session. PICTORNX_FRESH_SUITES and PICTORNX_WINDOWLESS_SUITES,
# set by the caller, name the suites that need a process per case and those that may run
# beside the others.
function(pictornx_wine_test target)
  target_link_libraries(${target} PRIVATE GTest::gtest GTest::gtest_main)
  target_link_options(${target} PRIVATE -static)
  pictornx_warnings(${target})
  set(include_file ${CMAKE_CURRENT_BINARY_DIR}/${target}_include.cmake)
  file(GENERATE OUTPUT ${include_file} CONTENT "set(PROGRAM [==[$<TARGET_FILE:${target}>]==])
set(EMULATOR [==[${CMAKE_CROSSCOMPILING_EMULATOR}]==])
set(LIST_FILE [==[${CMAKE_CURRENT_BINARY_DIR}/${target}_suites.cmake]==])
set(FRESH_SUITES [==[${PICTORNX_FRESH_SUITES}]==])
set(WINDOWLESS_SUITES [==[${PICTORNX_WINDOWLESS_SUITES}]==])
set(TIMEOUT 300)
include([==[${PROJECT_SOURCE_DIR}/cmake/wine-test-suites.cmake]==])
")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${include_file})
endfunction()
