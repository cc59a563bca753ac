# Geometry and render context of the hostsdk library: meshes and their adjacency, polygon meshes, objects,
# nodes, materials, views and what renderers tell maps about a render.
target_sources(hostsdk PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/src/instance_info.cpp
    ${CMAKE_CURRENT_LIST_DIR}/src/mesh.cpp
    ${CMAKE_CURRENT_LIST_DIR}/src/mesh_adjacency.cpp
    ${CMAKE_CURRENT_LIST_DIR}/src/mesh_selection.cpp
    ${CMAKE_CURRENT_LIST_DIR}/src/mn_mesh.cpp
    ${CMAKE_CURRENT_LIST_DIR}/src/node.cpp
    ${CMAKE_CURRENT_LIST_DIR}/src/object.cpp
    ${CMAKE_CURRENT_LIST_DIR}/src/poly_object.cpp
    ${CMAKE_CURRENT_LIST_DIR}/src/render_context.cpp
    ${CMAKE_CURRENT_LIST_DIR}/src/std_mat.cpp
    ${CMAKE_CURRENT_LIST_DIR}/src/tri_object.cpp
    ${CMAKE_CURRENT_LIST_DIR}/src/view.cpp
)
