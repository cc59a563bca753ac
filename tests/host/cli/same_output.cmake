# cmake -DPROGRAM=... [-DEMULATOR=...] -DARGS="a;b;c" -DEXPECTED=file -P same_output.cmake
# Runs the tool and fails unless its standard output is byte for byte the expected file: the tool's output
# must not depend on the build that wrote it (no CR LF line ends on Windows).
set(command ${PROGRAM} ${ARGS})
if(EMULATOR)
    set(command ${EMULATOR} ${command})
endif()
execute_process(COMMAND ${command} OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE status ERROR_VARIABLE errors)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} exited with ${status}: ${errors}")
endif()
file(READ ${OUTPUT} actual HEX)
file(READ ${EXPECTED} expected HEX)
if(NOT actual STREQUAL expected)
    file(SIZE ${OUTPUT} actualSize)
    file(SIZE ${EXPECTED} expectedSize)
    message(FATAL_ERROR "the output (${actualSize} bytes, in ${OUTPUT}) differs from ${EXPECTED} (${expectedSize} bytes)")
endif()
