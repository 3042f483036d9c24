# Read by ctest (script mode) through the test directory's TEST_INCLUDE_FILES: adds the
# tests of one GoogleTest program, one per suite, so each suite's cases share one process
# (a process start costs about half a second under Wine, a tenth under ASan, most cases
# far less). The suites named in FRESH_SUITES keep a process per case: they depend on
# module state that only a new process resets. With LOCK set, suites not named in
# WINDOWLESS_SUITES hold that resource lock: under Wine they show windows, read the
# screen, move the pointer, take the foreground or the clipboard, so only one of them runs
# at a time; the windowless ones may run beside.
#
# The program is listed (--gtest_list_tests, through EMULATOR if set) when it is newer than
# the list kept from the last listing, so new files and new cases need no registration.
#
# Every test is labelled with its program's name, so a run can pick one program's suites
# (ctest -L wine_e2e_tests).
#
# Set by the including file: PROGRAM, EMULATOR, LIST_FILE, FRESH_SUITES, WINDOWLESS_SUITES,
# LOCK, TIMEOUT.
cmake_policy(PUSH)
cmake_policy(SET CMP0057 NEW)  # if(IN_LIST): ctest reads this with the oldest policies

# The list is made again when the program or these settings changed.
string(REPLACE ";" "," settings "# ${FRESH_SUITES} | ${WINDOWLESS_SUITES} | ${LOCK} | ${TIMEOUT} | ${EMULATOR} | labelled")
set(listed_with "")
if(EXISTS "${LIST_FILE}")
  file(STRINGS "${LIST_FILE}" listed_with LIMIT_COUNT 1)
endif()
if(NOT listed_with STREQUAL settings OR "${PROGRAM}" IS_NEWER_THAN "${LIST_FILE}")
  set(command "")
  if(EMULATOR)
    set(command "\"${EMULATOR}\" ")
  endif()
  string(APPEND command "\"${PROGRAM}\"")
  get_filename_component(program_name "${PROGRAM}" NAME_WE)
  execute_process(COMMAND ${EMULATOR} "${PROGRAM}" --gtest_list_tests
    OUTPUT_VARIABLE listing ERROR_VARIABLE listing_error RESULT_VARIABLE listed TIMEOUT 120)
  if(NOT listed EQUAL 0)
    # A test that fails and says why, rather than a program that silently has no tests.
    string(REPLACE "]==]" "" listing_error "${listing}${listing_error}")
    file(WRITE "${LIST_FILE}.failed" "add_test([==[${program_name}.listing]==] \"${CMAKE_COMMAND}\" -E echo\
 [==[${PROGRAM} --gtest_list_tests failed (${listed}): ${listing_error}]==])\n\
set_tests_properties([==[${program_name}.listing]==] PROPERTIES WILL_FAIL TRUE LABELS ${program_name})\n")
    include("${LIST_FILE}.failed")
    file(REMOVE "${LIST_FILE}.failed")
    cmake_policy(POP)
    return()
  endif()
  # "Suite." (a parameterised suite adds "  # TypeParam = ..."), then "  Case" lines; the
  # disabled cases and suites are left out, and a suite with no other case with them.
  set(suites "")
  set(suite "")
  string(REPLACE ";" "\\;" listing "${listing}")
  string(REPLACE "\n" ";" lines "${listing}")
  foreach(line IN LISTS lines)
    if(line MATCHES "^([^ #][^ ]*)\\.( .*)?$")
      set(suite "${CMAKE_MATCH_1}")
      if(suite MATCHES "(^|/)DISABLED_")
        set(suite "")
      endif()
    elseif(suite AND line MATCHES "^  ([^ ]+)")
      set(case "${CMAKE_MATCH_1}")
      if(NOT case MATCHES "^DISABLED_")
        if(NOT suite IN_LIST suites)
          list(APPEND suites "${suite}")
        endif()
        list(APPEND "cases_${suite}" "${case}")
      endif()
    endif()
  endforeach()
  set(tests "${settings}\n")
  foreach(suite IN LISTS suites)
    set(names "${suite}.*")
    if(suite IN_LIST FRESH_SUITES)
      list(TRANSFORM "cases_${suite}" PREPEND "${suite}." OUTPUT_VARIABLE names)
    endif()
    set(lock "")
    if(LOCK AND NOT suite IN_LIST WINDOWLESS_SUITES)
      set(lock "RESOURCE_LOCK ${LOCK}")
    endif()
    foreach(name IN LISTS names)
      string(APPEND tests "add_test([==[${name}]==] ${command} [==[--gtest_filter=${name}]==])\n"
        "set_tests_properties([==[${name}]==] PROPERTIES TIMEOUT ${TIMEOUT} LABELS ${program_name} ${lock})\n")
    endforeach()
  endforeach()
  file(WRITE "${LIST_FILE}" "${tests}")
endif()
include("${LIST_FILE}")
cmake_policy(POP)
