# Shared helpers for the area CMakeLists files.

# orves_native_test(NAME SOURCES... LIBS...)
# A GoogleTest suite built natively (sanitized) and run by CTest, labelled "native".
function(orves_native_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  if(WIN32 OR ORVES_BENCH OR ORVES_FUZZ)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE ORVES_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS native TIMEOUT 300)
endfunction()

# orves_wine_test(NAME SOURCES... LIBS...)
# A GoogleTest suite cross-compiled with mingw and run under Wine, labelled "wine".
function(orves_wine_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT WIN32)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gtest gmock gtest_main)
  target_compile_definitions(${name} PRIVATE ORVES_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  add_test(NAME ${name} COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh $<TARGET_FILE:${name}>)
  set_tests_properties(${name} PROPERTIES LABELS wine TIMEOUT 300)
endfunction()

# orves_wine_script_test(NAME SCRIPT ARGS...)
# An end-to-end shell script run against the Windows binaries, labelled "wine".
function(orves_wine_script_test name script)
  if(NOT WIN32)
    return()
  endif()
  add_test(NAME ${name} COMMAND bash ${script} ${ARGN})
  set_tests_properties(${name} PROPERTIES LABELS "wine;e2e" TIMEOUT 300
    ENVIRONMENT "ORVES_SOURCE_DIR=${PROJECT_SOURCE_DIR};ORVES_BIN_DIR=${CMAKE_BINARY_DIR}/bin;ORVES_BUILD_DIR=${CMAKE_BINARY_DIR}")
endfunction()

# orves_benchmark(NAME SOURCES... LIBS...)
function(orves_benchmark name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT ORVES_BENCH)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} benchmark::benchmark benchmark::benchmark_main)
  target_compile_definitions(${name} PRIVATE ORVES_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
endfunction()

# orves_fuzz_target(NAME SOURCES... LIBS... CORPUS dir)
# With clang and ORVES_FUZZ a libFuzzer binary, also built by the target
# fuzz_targets (every libFuzzer binary and only what they need); in the
# ordinary native build the same entry point is linked with a small driver and
# run over the seed corpus as a test, so every fuzz target stays built and
# exercised under the sanitizers.
function(orves_fuzz_target name)
  cmake_parse_arguments(T "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  if(WIN32 OR ORVES_BENCH)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS})
  if(ORVES_FUZZ)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    if(NOT TARGET fuzz_targets)
      add_custom_target(fuzz_targets)
    endif()
    add_dependencies(fuzz_targets ${name})
  else()
    target_sources(${name} PRIVATE ${PROJECT_SOURCE_DIR}/fuzz/FuzzSeedDriver.cpp)
    add_test(NAME ${name}_seeds COMMAND ${name} ${T_CORPUS})
    set_tests_properties(${name}_seeds PROPERTIES LABELS "native;fuzz" TIMEOUT 300)
  endif()
endfunction()
