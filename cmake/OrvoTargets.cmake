# Helpers that keep each folder's CMakeLists.txt to a line or two.

# orvo_library(NAME [DEPENDS lib...] [PACKAGES pkg-config-module...])
# One library per source folder, made of every .cpp in it.
function(orvo_library name)
    cmake_parse_arguments(ARG "" "" "DEPENDS;PACKAGES" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(${name} PUBLIC ${ARG_DEPENDS})
    foreach(pkg IN LISTS ARG_PACKAGES)
        find_package(PkgConfig REQUIRED)
        pkg_check_modules(${pkg}_PC REQUIRED IMPORTED_TARGET ${pkg})
        target_link_libraries(${name} PUBLIC PkgConfig::${pkg}_PC)
    endforeach()
endfunction()

# orvo_tests(FOLDER [DEPENDS lib...])
# One GoogleTest program per tests/ folder (orvo_FOLDER_tests), made of every *_test.cpp in it.
# Each test runs as its own ctest test, in its own ORVO_HOME, XDG_CONFIG_HOME and TMPDIR
# (tests/support/TestMain.cpp makes them).
function(orvo_tests folder)
    cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp
         ${CMAKE_CURRENT_SOURCE_DIR}/*Support.cpp)
    set(target orvo_${folder}_tests)
    add_executable(${target} ${sources})
    target_link_libraries(${target} PRIVATE ${ARG_DEPENDS} orvo_testsupport)
    target_compile_definitions(${target} PRIVATE
        ORVO_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
        ORVO_BINARY_DIR="${CMAKE_BINARY_DIR}"
        ORVO_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/${folder}/data")
    gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
        PROPERTIES TIMEOUT 300 LABELS ${folder})
endfunction()

# orvo_fuzz_target(NAME SOURCE DEPENDS lib...)
# With ORVO_LIBFUZZER a libFuzzer program; otherwise a replay program run by ctest over
# fuzz/corpus/NAME/, so every corpus file is fed to the target on every test run.
function(orvo_fuzz_target name source)
    cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
    set(target fuzz_${name})
    if(ORVO_LIBFUZZER)
        add_executable(${target} ${source})
        target_link_options(${target} PRIVATE -fsanitize=fuzzer)
    else()
        add_executable(${target} ${source} ${CMAKE_SOURCE_DIR}/fuzz/ReplayMain.cpp)
        add_test(NAME fuzz_replay.${name}
                 COMMAND ${target} ${CMAKE_SOURCE_DIR}/fuzz/corpus/${name})
        set_tests_properties(fuzz_replay.${name} PROPERTIES TIMEOUT 300 LABELS fuzz)
    endif()
    target_link_libraries(${target} PRIVATE ${ARG_DEPENDS})
endfunction()

# orvo_benchmark(NAME SOURCE... DEPENDS lib...): a Google Benchmark program, built, not run.
function(orvo_benchmark name)
    cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
    find_package(benchmark REQUIRED)
    add_executable(bench_${name} ${ARG_UNPARSED_ARGUMENTS})
    target_link_libraries(bench_${name} PRIVATE ${ARG_DEPENDS} benchmark::benchmark_main)
    target_include_directories(bench_${name} PRIVATE ${CMAKE_SOURCE_DIR}/bench)
endfunction()
