# Debian packages, made by CPack from an installed build (scripts/package):
#   ostrel-setup       the module, with the embedded default installation's files in
#                      /usr/share/ostrel/installation as the template of a host's installation
#   ostrel-setup-dev   the interface headers and the CMake package (find_package(OstrelSetup))
#   ostrel-setup-demo  the demo client and the sample remote-setup plug-ins
# Each package carries the Debian changelog and copyright in /usr/share/doc/<package>/.

set(ostrel_packages runtime dev demo)
set(ostrel_package_runtime ostrel-setup)
set(ostrel_package_dev ostrel-setup-dev)
set(ostrel_package_demo ostrel-setup-demo)

install(DIRECTORY ${PROJECT_SOURCE_DIR}/install/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/ostrel/installation COMPONENT runtime)

# Debian wants the changelog and manual pages compressed with gzip -9n (no name, no time stamp),
# so that the package's bytes depend on the content only. The packages are native: the
# changelog is changelog.gz.
find_program(OSTREL_GZIP gzip)
set(ostrel_changelog ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz)
set(ostrel_manual ${CMAKE_CURRENT_BINARY_DIR}/packaging/ostrel-client.1.gz)
add_custom_command(OUTPUT ${ostrel_changelog} ${ostrel_manual}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/packaging
  COMMAND ${OSTREL_GZIP} -9n -c ${PROJECT_SOURCE_DIR}/packaging/changelog > ${ostrel_changelog}
  COMMAND ${OSTREL_GZIP} -9n -c ${PROJECT_SOURCE_DIR}/packaging/ostrel-client.1 > ${ostrel_manual}
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog ${PROJECT_SOURCE_DIR}/packaging/ostrel-client.1
  VERBATIM)
add_custom_target(ostrel_packaging_docs ALL DEPENDS ${ostrel_changelog} ${ostrel_manual})
install(FILES ${ostrel_manual} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT demo)
foreach(component IN LISTS ostrel_packages)
  install(FILES ${ostrel_changelog} ${PROJECT_SOURCE_DIR}/packaging/copyright
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${ostrel_package_${component}}
          COMPONENT ${component})
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ostrel-setup)
set(CPACK_PACKAGE_VENDOR "Ostrel")
set(CPACK_PACKAGE_CONTACT "Ostrel maintainers <maintainers@ostrel.example>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_COMPONENTS_ALL ${ostrel_packages})
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://ostrel.example/ostrel-setup")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME ${ostrel_package_runtime})
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION
    "Setup manager of the Ostrel video-surveillance client\n"
    " The module a video-surveillance client loads to manage its users and groups,\n"
    " their permissions, its recorders and its options, and to open a recorder's\n"
    " remote setup through a product plug-in. It ships with the language files and\n"
    " configuration of a default installation.")
set(CPACK_DEBIAN_DEV_PACKAGE_NAME ${ostrel_package_dev})
set(CPACK_DEBIAN_DEV_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEV_PACKAGE_DEPENDS "ostrel-setup (= ${PROJECT_VERSION})")
set(CPACK_COMPONENT_DEV_DESCRIPTION
    "Setup manager of the Ostrel client - development files\n"
    " The binary interface headers a host or a product plug-in includes, and the\n"
    " CMake package that finds the installed module (find_package(OstrelSetup)).")
set(CPACK_DEBIAN_DEMO_PACKAGE_NAME ${ostrel_package_demo})
set(CPACK_DEBIAN_DEMO_PACKAGE_DEPENDS "ostrel-setup (= ${PROJECT_VERSION})")
set(CPACK_COMPONENT_DEMO_DESCRIPTION
    "Setup manager of the Ostrel client - demo client and sample plug-ins\n"
    " A demo client that loads the setup manager over file-backed data and opens\n"
    " each of its dialogs, with two sample remote-setup plug-ins.")

include(CPack)
