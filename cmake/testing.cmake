# The real images and meshes that tests and benchmarks read live in the repository, so that a clone alone
# builds and tests.
set(CHROMASIFT_DATA_DIR "${PROJECT_SOURCE_DIR}/tests/data")

# chromasift_add_test(<name> SOURCES <files...> LIBS <targets...>)
# One test executable per group; CTest lists each of its tests as "<name>.<Suite>.<Test>". In the cross
# build each executable is one CTest test, run whole under Wine through the emulator set up by
# wine_testing.cmake: starting a Wine process takes most of a second, more than nearly every test.
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
        add_test(NAME ${name} COMMAND ${name})
        set_tests_properties(${name} PROPERTIES TIMEOUT 300 FIXTURES_REQUIRED wine_session)
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
