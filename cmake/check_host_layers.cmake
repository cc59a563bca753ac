# Keeps the host tool's folders layered as its data flows: a file may include headers of its own folder and
# of folders below it, never of one above. Run as a test:
#   cmake -DSOURCE_DIR=<repository> -P cmake/check_host_layers.cmake
# Fails naming every file and line whose "host/..." include goes up the order; since the order is a ranking,
# no two folders can then include each other either.

# From the bottom: the top-level folder itself holds only main.cpp, the very top.
set(layers base draw export import scene render job sheet farm edit gltf commands .)

if(NOT SOURCE_DIR)
    message(FATAL_ERROR "give -DSOURCE_DIR=<the repository's root>")
endif()

function(layer_rank folder variable)
    list(FIND layers "${folder}" rank)
    set(${variable} ${rank} PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}/host" "${SOURCE_DIR}/host/*.h" "${SOURCE_DIR}/host/*.cpp")
set(problems "")
foreach(source IN LISTS sources)
    get_filename_component(folder "${source}" DIRECTORY)
    if(folder STREQUAL "")
        set(folder .)
    endif()
    layer_rank("${folder}" from)
    if(from EQUAL -1)
        string(APPEND problems "host/${source}: the folder host/${folder} has no place in the order of layers\n")
        continue()
    endif()
    file(STRINGS "${SOURCE_DIR}/host/${source}" lines)
    set(line_number 0)
    foreach(line IN LISTS lines)
        math(EXPR line_number "${line_number} + 1")
        if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"host/([^\"]*)\"")
            continue()
        endif()
        set(included "${CMAKE_MATCH_1}")
        get_filename_component(to_folder "${included}" DIRECTORY)
        if(to_folder STREQUAL "")
            set(to_folder .)
        endif()
        layer_rank("${to_folder}" to)
        if(to EQUAL -1)
            string(APPEND problems "host/${source}:${line_number}: includes host/${included}, "
                "whose folder has no place in the order of layers\n")
        elseif(to GREATER from)
            string(APPEND problems "host/${source}:${line_number}: includes host/${included}: "
                "host/${folder} may not include host/${to_folder}, which lies above it\n")
        endif()
    endforeach()
endforeach()

if(problems)
    # Plain messages keep each problem on one line, as compilers write theirs, where an error is wrapped.
    string(REPLACE ";" " " order "${layers}")
    message(NOTICE "Includes against the host's layers (from the bottom: ${order}):\n${problems}")
    message(FATAL_ERROR "the host's folders include against their layers")
endif()
