# Warnings are errors everywhere. Colour maths must give the same bits in every build, so no target is
# ever compiled with floating-point contraction or fast-math.
add_compile_options(-Wall -Wextra -Wpedantic -Werror -ffp-contract=off -fno-fast-math)

if(WIN32)
    # One self-contained image per module: libgcc, libstdc++ and winpthread linked in, Windows DLLs imported.
    add_link_options(-static)
    add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()

option(CHROMASIFT_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(CHROMASIFT_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
endif()

option(CHROMASIFT_SANITIZE_THREAD "Build with ThreadSanitizer" OFF)
if(CHROMASIFT_SANITIZE_THREAD)
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
endif()

# libFuzzer targets (clang only): every library the targets link carries the fuzzer's coverage hooks and
# both sanitizers; only the targets in fuzz/ link the fuzzer's driver.
option(CHROMASIFT_FUZZ "Build the libFuzzer targets of fuzz/ instead of the tests and benchmarks" OFF)
if(CHROMASIFT_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "CHROMASIFT_FUZZ needs clang (libFuzzer): configure with the linux-fuzz preset")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                        -fno-omit-frame-pointer
                        -fsanitize-coverage-ignorelist=${PROJECT_SOURCE_DIR}/fuzz/coverage_ignorelist.txt)
    add_link_options(-fsanitize=address,undefined)
endif()
