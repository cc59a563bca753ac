# The real images and meshes that tests and benchmarks read live in the repository, so that a clone alone
# builds and tests.
set(CHROMASIFT_DATA_DIR "${PROJECT_SOURCE_DIR}/tests/data")

# chromasift_add_test(<name> SOURCES <files...> LIBS <targets...>)
# One test executable per group; CTest lists each of its tests as "<name>.<Suite>.<Test>". In the cross
# build the tests run under Wine through the emulator set up by wine_testing.cmake.
function(chromasift_add_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} test_files GTest::gmock GTest::gtest_main)
    if(WIN32)
        target_link_libraries(${name} PRIVATE own_desktop)
    endif()
    target_compile_definitions(${name} PRIVATE
        CHROMASIFT_PLUGIN_DIR="${CHROMASIFT_PLUGIN_DIR}")
    if(CMAKE_CROSSCOMPILING)
        gtest_discover_tests(${name} TEST_PREFIX "${name}." DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
            PROPERTIES TIMEOUT 60 FIXTURES_REQUIRED wine_session)
    else()
        gtest_discover_tests(${name} TEST_PREFIX "${name}." DISCOVERY_MODE PRE_TEST
            PROPERTIES TIMEOUT 120)
    endif()
endfunction()

# chromasift_add_bench(<name> SOURCES <files...> LIBS <targets...>): a Google Benchmark executable
# (native build only); never registered with CTest.
function(chromasift_add_bench name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} benchmark::benchmark_main)
endfunction()
