# The user guide as the About rollout's link finds it: HTML pages made from the Markdown sources in
# docs/guide/, with their pictures, in bin/doc beside the plug-in folder. Every preset builds it.
#
# The pages are written by scripts/guide_html.py with Debian's python3-markdown (scripts/install-deps.sh).
# Debian's interpreter comes first: another python3 on the PATH may lack the package.
find_program(CHROMASIFT_PYTHON NAMES python3 HINTS /usr/bin DOC "Python 3 with the markdown module")
if(NOT CHROMASIFT_PYTHON)
    message(FATAL_ERROR "python3 not found; install the Debian package python3-markdown (scripts/install-deps.sh)")
endif()
execute_process(COMMAND ${CHROMASIFT_PYTHON} -c "import markdown" RESULT_VARIABLE markdown_missing
    OUTPUT_QUIET ERROR_QUIET)
if(markdown_missing)
    message(FATAL_ERROR "${CHROMASIFT_PYTHON} cannot import markdown; install the Debian package "
        "python3-markdown (scripts/install-deps.sh)")
endif()

set(CHROMASIFT_GUIDE_DIR ${CMAKE_BINARY_DIR}/bin/doc)
set(guide_sources ${PROJECT_SOURCE_DIR}/docs/guide)
file(GLOB guide_pages CONFIGURE_DEPENDS ${guide_sources}/*.md)
file(GLOB guide_pictures CONFIGURE_DEPENDS ${guide_sources}/images/*.png)
set(guide_outputs)
foreach(page IN LISTS guide_pages)
    get_filename_component(name ${page} NAME_WE)
    list(APPEND guide_outputs ${CHROMASIFT_GUIDE_DIR}/${name}.html)
endforeach()
foreach(picture IN LISTS guide_pictures)
    get_filename_component(name ${picture} NAME)
    list(APPEND guide_outputs ${CHROMASIFT_GUIDE_DIR}/images/${name})
endforeach()
add_custom_command(OUTPUT ${guide_outputs}
    COMMAND ${CHROMASIFT_PYTHON} ${PROJECT_SOURCE_DIR}/scripts/guide_html.py ${guide_sources} ${CHROMASIFT_GUIDE_DIR}
    DEPENDS ${guide_pages} ${guide_pictures} ${PROJECT_SOURCE_DIR}/scripts/guide_html.py
    COMMENT "Writing the user guide beside the plug-in folder"
    VERBATIM)
add_custom_target(user_guide ALL DEPENDS ${guide_outputs})
