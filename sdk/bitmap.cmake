# The bitmap manager of the hostsdk library: image files decoded by stb_image in every build (the same
# decoder gives the same pixels everywhere), OpenEXR only in the Linux build. Platform differences live in
# separate source files chosen here.
target_sources(hostsdk PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/src/bitmap_manager.cpp
    ${CMAKE_CURRENT_LIST_DIR}/src/bitmap_storage.cpp
    ${CMAKE_CURRENT_LIST_DIR}/src/image_decode.cpp
    ${CMAKE_CURRENT_LIST_DIR}/src/image_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/src/image_stb.cpp
    ${CMAKE_CURRENT_LIST_DIR}/src/image_stb_guard.cpp
    ${CMAKE_CURRENT_LIST_DIR}/src/pixel_conversion.cpp
)
# On corrupt data the decoder's integer arithmetic can overflow (a JPEG's running DC sum times a 16-bit
# quantiser, say): compiled to wrap, such a file gives wrong pixels instead of undefined behaviour.
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/src/image_stb.cpp PROPERTIES COMPILE_OPTIONS -fwrapv)
# Only stb's own folder: /usr/include itself would bring the native C library's headers into the cross build.
target_include_directories(hostsdk SYSTEM PRIVATE /usr/include/stb)

if(WIN32)
    target_sources(hostsdk PRIVATE
        ${CMAKE_CURRENT_LIST_DIR}/src/image_file_open_windows.cpp
        ${CMAKE_CURRENT_LIST_DIR}/src/image_exr_unsupported.cpp
    )
else()
    # Through pkg-config rather than OpenEXR's CMake package: that one loads Imath's, whose Python targets
    # name a module Debian ships in another package, and every configure would warn about the missing file.
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(OpenEXR REQUIRED IMPORTED_TARGET OpenEXR>=3)
    target_sources(hostsdk PRIVATE
        ${CMAKE_CURRENT_LIST_DIR}/src/image_file_open_posix.cpp
        ${CMAKE_CURRENT_LIST_DIR}/src/image_exr_openexr.cpp
    )
    target_link_libraries(hostsdk PRIVATE PkgConfig::OpenEXR)
endif()
