# Build helpers: one-line libraries and tests for the three targets.
#
#   kestrova_test(NAME SOURCES... [LIBS ...])      portable: natively on linux, under Wine on win64
#   kestrova_wine_test(NAME SOURCES... [LIBS ...]  [GUI])  Windows only, run under Wine on win64
#
# Native tests appear in CTest one per GoogleTest case as "native.<Suite>.<Case>" (label native).
# Wine tests appear one per executable as "wine.<NAME>" (label wine); run one case with
#   ctest --test-dir build/win64 -R wine.NAME   or   tests/support/wine-exec.sh build/win64 \
#   build/win64/tests/NAME.exe --gtest_filter=Suite.Case
# The win32 build compiles and links every test but runs none (no 32-bit Wine here).
include(GoogleTest)

set(KESTROVA_WINE_SUPPORT ${CMAKE_CURRENT_LIST_DIR}/../tests/support)

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
    add_test(NAME wine.${name} COMMAND ${name})
    set_tests_properties(wine.${name} PROPERTIES LABELS wine FIXTURES_REQUIRED wine TIMEOUT 300)
    if(T_GUI)
      # Windows that take focus and the foreground must not race each other.
      set_tests_properties(wine.${name} PROPERTIES RESOURCE_LOCK display)
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

# The Wine harness: a prefix inside the build tree, a display, one persistent wineserver.
if(WIN32 AND CMAKE_CROSSCOMPILING_EMULATOR)
  add_test(NAME wine.setup COMMAND ${KESTROVA_WINE_SUPPORT}/wine-harness.sh start ${CMAKE_BINARY_DIR})
  add_test(NAME wine.teardown COMMAND ${KESTROVA_WINE_SUPPORT}/wine-harness.sh stop ${CMAKE_BINARY_DIR})
  set_tests_properties(wine.setup PROPERTIES FIXTURES_SETUP wine LABELS wine TIMEOUT 600)
  set_tests_properties(wine.teardown PROPERTIES FIXTURES_CLEANUP wine LABELS wine)
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
