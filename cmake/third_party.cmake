# GoogleTest as Debian ships it: the native builds link its prebuilt libraries; the cross build compiles the
# same version from Debian's source package.
if(CMAKE_CROSSCOMPILING)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/_googletest EXCLUDE_FROM_ALL SYSTEM)
    # The project's warnings-as-errors are for its own code: a newer compiler's false positive in GoogleTest
    # must not stop the build.
    foreach(gtest_target gtest gtest_main gmock gmock_main)
        target_compile_options(${gtest_target} PRIVATE -Wno-error)
    endforeach()
else()
    find_package(GTest CONFIG REQUIRED)
    find_package(benchmark REQUIRED)
endif()
include(GoogleTest)
