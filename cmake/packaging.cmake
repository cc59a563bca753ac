# Installation layout and packages (cpack, through `./run package`): a ZIP for Windows that runs from any
# folder, a Debian package for Linux. Stripped of debugging information; the build itself is optimised.
#
# Both keep the host's own layout: the SDK library beside the program and the plug-in in plugins/ below it,
# and the user guide in doc/ beside plugins/, where the About rollout's link looks for it.
set(CPACK_PACKAGE_NAME chromasift)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "KESTRIM")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "KR Chromasift texture map, with a stand-in host to render with it")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)

# The copyright statements of the third-party code built into the files, as Debian ships them.
set(third_party_notices
    "stb image decoder and encoder=/usr/share/doc/libstb-dev/copyright"
    "JSON for Modern C++=/usr/share/doc/nlohmann-json3-dev/copyright"
    "TinyGLTF (glTF writer)=/usr/share/doc/libtinygltf-dev/copyright"
    "three.js (the preview page's viewer)=/usr/share/doc/libjs-three/copyright"
    "DejaVu fonts (the typeface of the labels)=/usr/share/doc/fonts-dejavu-core/copyright")
if(WIN32)
    list(APPEND third_party_notices
        "GCC run-time libraries (libgcc, libstdc++, linked in)=/usr/share/doc/gcc-mingw-w64-base/copyright"
        "mingw-w64 run-time and winpthreads (linked in)=/usr/share/doc/mingw-w64-x86-64-dev/copyright")
endif()

if(WIN32)
    set(program_dir .)
    set(guide_dir doc)
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/INSTALL.txt DESTINATION .)
    foreach(notice IN LISTS third_party_notices)
        string(REGEX REPLACE "^([^=]*)=(.*)$" "\\2" file "${notice}")
        string(REGEX REPLACE "^([^=]*)=.*$" "\\1" part "${notice}")
        string(REGEX REPLACE "[^A-Za-z0-9]+" "-" name "${part}")
        string(REGEX REPLACE "-$" "" name "${name}")
        install(FILES ${file} DESTINATION licences RENAME "${name}.txt")
    endforeach()
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_FILE_NAME chromasift-${PROJECT_VERSION}-windows-x64)
else()
    # Debian's layout: the program's own folder under /usr/lib, a command in /usr/bin, the guide and the
    # copyright under /usr/share/doc; links keep the host's layout.
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(program_dir lib/chromasift)
    set(guide_dir share/doc/chromasift/guide)
    set(links ${CMAKE_BINARY_DIR}/package_links)
    file(MAKE_DIRECTORY ${links})
    file(CREATE_LINK ../lib/chromasift/chromasift ${links}/chromasift SYMBOLIC)
    file(CREATE_LINK ../../share/doc/chromasift/guide ${links}/doc SYMBOLIC)
    install(FILES ${links}/chromasift DESTINATION bin)
    install(FILES ${links}/doc DESTINATION ${program_dir})

    set(copyright ${CMAKE_BINARY_DIR}/package_copyright)
    file(WRITE ${copyright} "The chromasift package builds these parts of other projects into its files.\n")
    foreach(notice IN LISTS third_party_notices)
        string(REGEX REPLACE "^([^=]*)=(.*)$" "\\2" file "${notice}")
        string(REGEX REPLACE "^([^=]*)=.*$" "\\1" part "${notice}")
        file(READ ${file} text)
        file(APPEND ${copyright} "\n==== ${part} ====\n\n${text}")
    endforeach()
    install(FILES ${copyright} DESTINATION share/doc/chromasift RENAME copyright)

    set(CPACK_GENERATOR DEB)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Chromasift maintainers <maintainers@chromasift.invalid>")
    set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    # The SDK library is the package's own, found beside the program.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/bin)
endif()

install(TARGETS chromasift RUNTIME DESTINATION ${program_dir})
if(TARGET chromasift-model-reader)
    # Model files are read by this program, which the tool looks for beside itself.
    install(TARGETS chromasift-model-reader RUNTIME DESTINATION ${program_dir})
endif()
install(TARGETS hostsdk RUNTIME DESTINATION ${program_dir} LIBRARY DESTINATION ${program_dir})
install(TARGETS kr_tintworks RUNTIME DESTINATION ${program_dir}/plugins LIBRARY DESTINATION ${program_dir}/plugins)
install(DIRECTORY ${CHROMASIFT_GUIDE_DIR}/ DESTINATION ${guide_dir})

include(CPack)
