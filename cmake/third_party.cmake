# GoogleTest is built from Debian's source package so that the native and the cross build use the same one.
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/_googletest EXCLUDE_FROM_ALL SYSTEM)
include(GoogleTest)

if(NOT CMAKE_CROSSCOMPILING)
    find_package(benchmark REQUIRED)
endif()

# The project's warnings-as-errors are for its own code: a newer compiler's false positive in GoogleTest must
# not stop the build.
foreach(gtest_target gtest gtest_main gmock gmock_main)
    target_compile_options(${gtest_target} PRIVATE -Wno-error)
endforeach()
