# cmake -DPROGRAM=... -DMODEL=file -DOUTPUT=picture [-DCOMMAND=render|sheet] [-DEXPECTED=regex] -P refused_model.cmake
# Renders a model file the tool must refuse: it exits with status 1 (not a signal, not a usage error) and
# says why in one line naming the file, matching EXPECTED when given. Models here are files that once made
# the model library crash or loop, which used to take the tool down with it.
if(NOT COMMAND)
    set(COMMAND render)
endif()
execute_process(COMMAND ${PROGRAM} --quiet ${COMMAND} ${MODEL} --size 16x16 --import-time-limit 2 -o ${OUTPUT}
    RESULT_VARIABLE status ERROR_VARIABLE errors OUTPUT_QUIET)
if(NOT status STREQUAL "1")
    message(FATAL_ERROR "the tool ended with '${status}', not exit status 1: ${errors}")
endif()
string(REGEX MATCHALL "\n" ends "${errors}")
list(LENGTH ends lines)
get_filename_component(name ${MODEL} NAME)
if(NOT lines EQUAL 1 OR NOT errors MATCHES "^chromasift: [^\n]*${name}: [^\n]+\n$")
    message(FATAL_ERROR "expected one line naming ${name}, got ${lines} lines: ${errors}")
endif()
if(EXPECTED AND NOT errors MATCHES "${EXPECTED}")
    message(FATAL_ERROR "the message does not say '${EXPECTED}': ${errors}")
endif()
message(STATUS "${errors}")
