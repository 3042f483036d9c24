# GoogleTest cross-built for Windows from Debian's source copy; the Windows test programs
# run under Wine through CMAKE_CROSSCOMPILING_EMULATOR, and are listed at test time
# (inside the Wine session) rather than at build time.
set(GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# Links a Windows test program statically so it needs nothing beside it under Wine, and
# registers its cases with ctest a suite to a test, listed at test time inside the Wine
# session; the suites that do not use the desktop may run beside those that do.
function(pictornx_wine_test target)
  target_link_libraries(${target} PRIVATE GTest::gtest GTest::gtest_main)
  target_link_options(${target} PRIVATE -static)
  pictornx_warnings(${target})
  pictornx_test_suites(${target} desktop)
endfunction()
