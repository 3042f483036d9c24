# GoogleTest cross-built for Windows from Debian's source copy; the Windows test programs
# run under Wine through CMAKE_CROSSCOMPILING_EMULATOR, and are listed at test time
# (inside the Wine session) rather than at build time.
set(GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(${GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
include(GoogleTest)

# Links a Windows test program statically so it needs nothing beside it under Wine.
function(pictornx_wine_test target)
  target_link_libraries(${target} PRIVATE GTest::gtest GTest::gtest_main)
  target_link_options(${target} PRIVATE -static)
  pictornx_warnings(${target})
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 120)
endfunction()
