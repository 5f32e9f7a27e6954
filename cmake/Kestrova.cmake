# Build helpers: one-line libraries and tests for the three targets.
#
#   kestrova_test(NAME SOURCES... [LIBS ...])      portable: natively on linux, under Wine on Windows
#   kestrova_wine_test(NAME SOURCES... [LIBS ...]  [GUI])  Windows only, run under Wine
#   kestrova_wine_fixtures(NAME FIXTURE...)         a Wine test that needs more of the harness
#
# Native tests appear in CTest one per GoogleTest case as "native.<Suite>.<Case>" (label native).
# Wine tests appear one per executable as "wine64.<NAME>" or "wine32.<NAME>" by the bitness of
# the tree (labels wine and wine64 or wine32); run one case with
#   ctest --test-dir build/win64 -R wine64.NAME   or   tests/support/wine-exec.sh build/win64 \
#   build/win64/tests/NAME.exe --gtest_filter=Suite.Case
# Where this machine cannot run a tree's programs (no 32-bit Wine), its Wine tests are skipped.
include(GoogleTest)

set(KESTROVA_WINE_SUPPORT ${CMAKE_CURRENT_LIST_DIR}/../tests/support)
# Prefix of the tree's Wine test names, labels and fixtures; the harness reads the bitness too.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(KESTROVA_WINE wine32)
else()
  set(KESTROVA_WINE wine64)
endif()
if(WIN32)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    file(WRITE ${CMAKE_BINARY_DIR}/wine/arch win32)
  else()
    file(WRITE ${CMAKE_BINARY_DIR}/wine/arch win64)
  endif()
endif()

function(_kestrova_test_target name)
  cmake_parse_arguments(T "GUI" "" "LIBS" ${ARGN})
  add_executable(${name} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(WIN32)
    target_link_options(${name} PRIVATE -mconsole)
  endif()
  if(NOT WIN32)
    gtest_discover_tests(${name} TEST_PREFIX "native." PROPERTIES LABELS native
                         DISCOVERY_TIMEOUT 30)
  elseif(CMAKE_CROSSCOMPILING_EMULATOR)
    set(test ${KESTROVA_WINE}.${name})
    add_test(NAME ${test} COMMAND ${name})
    set_tests_properties(${test} PROPERTIES LABELS "wine;${KESTROVA_WINE}"
                         FIXTURES_REQUIRED ${KESTROVA_WINE} SKIP_RETURN_CODE 77 TIMEOUT 300)
    if(T_GUI)
      # Windows that take focus and the foreground must not race each other on one display.
      set_tests_properties(${test} PROPERTIES RESOURCE_LOCK ${KESTROVA_WINE}.display)
    endif()
  endif()
endfunction()

function(kestrova_test name)
  _kestrova_test_target(${name} ${ARGN})
endfunction()

function(kestrova_wine_test name)
  if(WIN32)
    _kestrova_test_target(${name} ${ARGN})
  endif()
endfunction()

# Fixture names are per bitness: both trees' tests share one CTest run.
function(kestrova_wine_fixtures name)
  if(CMAKE_CROSSCOMPILING_EMULATOR)
    list(TRANSFORM ARGN PREPEND ${KESTROVA_WINE}.)
    set_tests_properties(${KESTROVA_WINE}.${name} PROPERTIES
                         FIXTURES_REQUIRED "${KESTROVA_WINE};${ARGN}")
  endif()
endfunction()

# The Wine harness: a prefix inside the build tree, a display, one persistent wineserver.
if(WIN32 AND CMAKE_CROSSCOMPILING_EMULATOR)
  set(setup ${KESTROVA_WINE}.setup)
  set(teardown ${KESTROVA_WINE}.teardown)
  add_test(NAME ${setup} COMMAND ${KESTROVA_WINE_SUPPORT}/wine-harness.sh start ${CMAKE_BINARY_DIR})
  add_test(NAME ${teardown} COMMAND ${KESTROVA_WINE_SUPPORT}/wine-harness.sh stop ${CMAKE_BINARY_DIR})
  set_tests_properties(${setup} PROPERTIES FIXTURES_SETUP ${KESTROVA_WINE}
                       LABELS "wine;${KESTROVA_WINE}" SKIP_RETURN_CODE 77 TIMEOUT 600)
  set_tests_properties(${teardown} PROPERTIES FIXTURES_CLEANUP ${KESTROVA_WINE}
                       LABELS "wine;${KESTROVA_WINE}")
endif()

# kestrova_library(NAME DIRS [DEPS ...]): a static library of every .cpp in DIRS (one folder, or
# a list of folders whose units call each other), with the repository root on the include path.
# Folders with no sources yet make no library.
function(kestrova_library name dirs)
  set(sources)
  foreach(dir IN LISTS dirs)
    file(GLOB found CONFIGURE_DEPENDS ${dir}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  if(NOT sources)
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARGN})
endfunction()

# Adds every subfolder of the current folder that has a CMakeLists.txt.
function(kestrova_add_subfolders)
  file(GLOB entries LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(entry ${entries})
    if(IS_DIRECTORY ${entry} AND EXISTS ${entry}/CMakeLists.txt)
      add_subdirectory(${entry})
    endif()
  endforeach()
endfunction()

# kestrova_fuzz_target(NAME SOURCES... [LIBS ...]): a libFuzzer target, built by the fuzz preset
# only. CTest runs it as "fuzz.NAME" for a short fixed time over its seed folder fuzz/seeds/NAME
# (created if missing); crashes go to the build tree.
set(KESTROVA_FUZZ_SECONDS 20 CACHE STRING "Seconds each fuzz target runs under CTest")
function(kestrova_fuzz_target name)
  if(NOT KESTROVA_FUZZ)
    return()
  endif()
  cmake_parse_arguments(F "" "" "LIBS" ${ARGN})
  add_executable(${name} ${F_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  set(corpus ${CMAKE_BINARY_DIR}/fuzz/corpus/${name})
  set(seeds ${CMAKE_SOURCE_DIR}/fuzz/seeds/${name})
  add_test(NAME fuzz.${name}
           COMMAND sh -c "mkdir -p '${corpus}' '${seeds}' && exec \"$0\" -max_total_time=${KESTROVA_FUZZ_SECONDS} -rss_limit_mb=2048 -malloc_limit_mb=512 -print_final_stats=1 -artifact_prefix='${CMAKE_BINARY_DIR}/fuzz/' '${corpus}' '${seeds}'"
                   $<TARGET_FILE:${name}>)
  set_tests_properties(fuzz.${name} PROPERTIES LABELS fuzz TIMEOUT 300)
endfunction()
