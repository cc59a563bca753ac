# Cross-build for 64-bit Windows with Debian's mingw-w64 compilers.
#
# The posix thread model compilers: the default (win32 model) g++ 12 has no std::mutex or std::thread, which
# GoogleTest needs. Package: g++-mingw-w64-x86-64-posix.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)

foreach(tool IN ITEMS CMAKE_C_COMPILER CMAKE_CXX_COMPILER CMAKE_RC_COMPILER)
    find_program(_mingw_tool_path ${${tool}} NO_CACHE)
    if(NOT _mingw_tool_path)
        message(FATAL_ERROR "${${tool}} not found; install the Debian package g++-mingw-w64-x86-64-posix")
    endif()
    unset(_mingw_tool_path)
endforeach()

# Wine 8's debugger reads DWARF 4 but not GCC 12's default DWARF 5: with it, the backtrace of a crashed test names
# functions, files and lines. CMake adds its usual -g/-O flags for these configurations after these.
set(CMAKE_C_FLAGS_DEBUG_INIT "-gdwarf-4")
set(CMAKE_CXX_FLAGS_DEBUG_INIT "-gdwarf-4")
set(CMAKE_C_FLAGS_RELWITHDEBINFO_INIT "-gdwarf-4")
set(CMAKE_CXX_FLAGS_RELWITHDEBINFO_INIT "-gdwarf-4")

# Headers and libraries come from the mingw-w64 tree only, never from the build machine's /usr; programs run
# during the build (generators, compilers) are the build machine's own.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
