# Runs the cross-built Windows tests under Wine. Included by the top level after enable_testing() and before
# any test target exists, when cross-compiling.
#
# - CMAKE_CROSSCOMPILING_EMULATOR is <build>/wine-run, so CTest runs every test and every test listing
#   through it; by hand: <build>/wine-run bin/chromasift.exe plugins
# - <build>/wine-session manages the tree's private Wine prefix and one shared Wine session, held open by
#   the wine_keeper program built here (every executable of the project depends on it).
# - Fixture wine_session: test wine_session_start sets it up, wine_session_stop ends it after the run. Tests
#   that run under Wine name it in FIXTURES_REQUIRED.
include_guard(GLOBAL)

if(NOT CMAKE_CROSSCOMPILING OR NOT WIN32)
    message(FATAL_ERROR "wine_testing.cmake is for the Windows cross build only")
endif()

# The programs of the build machine, whatever the toolchain's find-root settings.
find_program(WINE_EXECUTABLE wine NO_CMAKE_FIND_ROOT_PATH)
find_program(WINESERVER_EXECUTABLE wineserver NO_CMAKE_FIND_ROOT_PATH)
if(NOT WINE_EXECUTABLE OR NOT WINESERVER_EXECUTABLE)
    message(WARNING "wine or wineserver not found: the Windows programs build, but the tests cannot run. "
                    "Install the Debian packages wine and wine64.")
    set(WINE_EXECUTABLE wine)
    set(WINESERVER_EXECUTABLE wineserver)
endif()

set(WINE_TEST_PREFIX "${CMAKE_BINARY_DIR}/wine/prefix" CACHE PATH
    "Wine prefix the tests run in (about 700 MB); build trees that share one also share its Wine session")
set(WINE_KEEPER_IDLE_SECONDS 120 CACHE STRING
    "Seconds without a running Windows program after which an abandoned Wine session ends itself")

# err+module names a DLL that failed to load, which is otherwise a silent exit code 53.
set(WINE_TEST_DEBUG "-all,err+module")
# No Mono or Gecko install prompts, no menu entries or file associations on the build machine, and no browser
# started by a URL the program opens.
set(WINE_TEST_DLLOVERRIDES "mscoree,mshtml=;winemenubuilder.exe=d;winebrowser.exe=d")

set(_wine_dir "${CMAKE_BINARY_DIR}/wine")
set(WINE_KEEPER_EXE "${_wine_dir}/wine_keeper${CMAKE_EXECUTABLE_SUFFIX}")
set(WINE_SETTINGS_REG "${_wine_dir}/test_settings.reg")
set(WINE_SESSION_SCRIPT "${CMAKE_BINARY_DIR}/wine-session")
set(WINE_RUN_SCRIPT "${CMAKE_BINARY_DIR}/wine-run")

add_executable(wine_keeper WIN32 ${CMAKE_CURRENT_LIST_DIR}/wine/wine_keeper.cpp)
target_compile_options(wine_keeper PRIVATE -municode)
target_link_options(wine_keeper PRIVATE -municode -static)
# $<0:> keeps multi-config generators from adding a per-configuration folder: the scripts name this path.
set_target_properties(wine_keeper PROPERTIES
    OUTPUT_NAME wine_keeper
    RUNTIME_OUTPUT_DIRECTORY "${_wine_dir}$<0:>")

configure_file(${CMAKE_CURRENT_LIST_DIR}/wine/test_settings.reg ${WINE_SETTINGS_REG} COPYONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine/wine_session.sh.in ${WINE_SESSION_SCRIPT} @ONLY
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine/wine_run.sh.in ${WINE_RUN_SCRIPT} @ONLY
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Targets created from here on inherit it as their CROSSCOMPILING_EMULATOR property.
set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE_RUN_SCRIPT})

# The first Wine program of a run (usually a test listing, before any test) sets the prefix up and starts the
# session anyway; the setup test makes that cost show up as a test of its own when nothing came first.
add_test(NAME wine_session_start COMMAND ${WINE_SESSION_SCRIPT} start)
set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP wine_session TIMEOUT 300)
add_test(NAME wine_session_stop COMMAND ${WINE_SESSION_SCRIPT} stop)
set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP wine_session TIMEOUT 60)

# Once the whole project is configured, every executable depends on the keeper, so building any test (or the
# program to run with wine-run) also builds the keeper that its run needs.
function(_wine_testing_depend_on_keeper dir)
    get_property(targets DIRECTORY "${dir}" PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(type STREQUAL "EXECUTABLE" AND NOT target STREQUAL "wine_keeper")
            add_dependencies(${target} wine_keeper)
        endif()
    endforeach()
    get_property(subdirs DIRECTORY "${dir}" PROPERTY SUBDIRECTORIES)
    foreach(subdir IN LISTS subdirs)
        _wine_testing_depend_on_keeper("${subdir}")
    endforeach()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL _wine_testing_depend_on_keeper ${CMAKE_SOURCE_DIR})
