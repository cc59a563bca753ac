# The user guide as the About rollout's link finds it: the README and its pictures in bin/doc, beside the
# plug-in folder.
set(CHROMASIFT_GUIDE_DIR ${CMAKE_BINARY_DIR}/bin/doc)
file(GLOB guide_pictures CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/images/*.png)
set(guide_outputs ${CHROMASIFT_GUIDE_DIR}/README.md)
foreach(picture IN LISTS guide_pictures)
    get_filename_component(name ${picture} NAME)
    list(APPEND guide_outputs ${CHROMASIFT_GUIDE_DIR}/docs/images/${name})
endforeach()
add_custom_command(OUTPUT ${guide_outputs}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CHROMASIFT_GUIDE_DIR}/docs/images
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PROJECT_SOURCE_DIR}/README.md ${CHROMASIFT_GUIDE_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${guide_pictures} ${CHROMASIFT_GUIDE_DIR}/docs/images
    DEPENDS ${PROJECT_SOURCE_DIR}/README.md ${guide_pictures}
    COMMENT "Placing the user guide beside the plug-in folder")
add_custom_target(user_guide ALL DEPENDS ${guide_outputs})
