# CTest entries of the fuzz targets: every kept input replayed once, then a few seconds of fuzzing from
# them. New inputs the short runs find go to build/<preset>/fuzz-corpus/<target>, never into the sources.
set(CHROMASIFT_FUZZ_SECONDS 5 CACHE STRING "Seconds each fuzz target runs under CTest")

# chromasift_add_fuzz_tests(<target> MAX_LEN <bytes> [SEEDS <folders...>])
# Seeds are fuzz/corpus/<target> and the given folders; regression inputs are fuzz/regressions/<target>.
function(chromasift_add_fuzz_tests target)
    cmake_parse_arguments(ARG "" "MAX_LEN" "SEEDS" ${ARGN})
    set(inputs)
    foreach(folder ${CMAKE_CURRENT_SOURCE_DIR}/regressions/${target} ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${target}
            ${ARG_SEEDS})
        if(IS_DIRECTORY ${folder})
            list(APPEND inputs ${folder})
        endif()
    endforeach()
    set(found ${CMAKE_BINARY_DIR}/fuzz-corpus/${target})
    file(MAKE_DIRECTORY ${found})
    # Inputs are read relative to the source tree (scene files name images there).
    add_test(NAME fuzz.${target}.replay COMMAND ${target} -runs=0 ${found} ${inputs}
             WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
    # The short runs are a smoke test: an input that is merely slow (a large picture decoded from a small
    # file takes seconds and gigabytes) is no failure here; long runs keep libFuzzer's own limits.
    add_test(NAME fuzz.${target}.run
             COMMAND ${target} -max_total_time=${CHROMASIFT_FUZZ_SECONDS} -max_len=${ARG_MAX_LEN} -timeout=120
                     -rss_limit_mb=4096
                     -print_final_stats=1 ${found} ${inputs}
             WORKING_DIRECTORY ${PROJECT_SOURCE_DIR})
    set_tests_properties(fuzz.${target}.run PROPERTIES DEPENDS fuzz.${target}.replay)
endfunction()

chromasift_add_fuzz_tests(image_fuzzer MAX_LEN 65536 SEEDS ${CHROMASIFT_DATA_DIR}/images)
chromasift_add_fuzz_tests(scene_fuzzer MAX_LEN 16384)
chromasift_add_fuzz_tests(shading_fuzzer MAX_LEN 4096 SEEDS ${CHROMASIFT_DATA_DIR}/meshes)
chromasift_add_fuzz_tests(model_answer_fuzzer MAX_LEN 16384)
