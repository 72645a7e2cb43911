# What `cmake --install` puts under the prefix, and the .deb that CPack makes of it:
#   bin/hux-host                                       the development host
#   lib/libhux-game-queues.so (bin/ on Windows)        the plugin module, loaded by path, never linked
#   include/hux-game-queues/abi/*.h                    the C blocks exchanged with the host
#   lib/cmake/hux-game-queues/                         find_package(hux-game-queues): hux-game-queues::abi
#                                                      (headers) and hux-game-queues::plugin (the module)
#   lib/pkgconfig/hux-game-queues.pc                   the include folder and the module's path (plugin)
# hux-host looks for the plugin at ../lib/ from its own folder, so the library folder stays "lib".
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

if(WIN32)
    set(HUX_INSTALL_PLUGINDIR ${CMAKE_INSTALL_BINDIR})
else()
    set(HUX_INSTALL_PLUGINDIR lib)
endif()
set(HUX_INSTALL_INCLUDEDIR ${CMAKE_INSTALL_INCLUDEDIR}/hux-game-queues)
set(HUX_INSTALL_CMAKEDIR lib/cmake/hux-game-queues)
set(HUX_PLUGIN_FILE_NAME
    ${CMAKE_SHARED_MODULE_PREFIX}hux-game-queues${CMAKE_SHARED_MODULE_SUFFIX})
if(WIN32)
    set(HUX_PLUGIN_FILE_NAME hux-game-queues${CMAKE_SHARED_MODULE_SUFFIX})
endif()
set(HUX_INSTALL_PLUGIN_FILE ${HUX_INSTALL_PLUGINDIR}/${HUX_PLUGIN_FILE_NAME})

install(TARGETS hux-game-queues LIBRARY DESTINATION ${HUX_INSTALL_PLUGINDIR})
install(TARGETS hux-host RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/src/abi/host_abi.h ${PROJECT_SOURCE_DIR}/src/abi/host_endpoint_info.h
        DESTINATION ${HUX_INSTALL_INCLUDEDIR}/abi)

configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/hux-game-queues-config.cmake.in
    ${PROJECT_BINARY_DIR}/package/hux-game-queues-config.cmake
    INSTALL_DESTINATION ${HUX_INSTALL_CMAKEDIR}
    PATH_VARS HUX_INSTALL_INCLUDEDIR HUX_INSTALL_PLUGIN_FILE)
# The package holds headers and a module for one architecture: the same major version is compatible.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/package/hux-game-queues-config-version.cmake
    COMPATIBILITY SameMajorVersion)
configure_file(${PROJECT_SOURCE_DIR}/cmake/hux-game-queues.pc.in
    ${PROJECT_BINARY_DIR}/package/hux-game-queues.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/package/hux-game-queues-config.cmake
              ${PROJECT_BINARY_DIR}/package/hux-game-queues-config-version.cmake
        DESTINATION ${HUX_INSTALL_CMAKEDIR})
install(FILES ${PROJECT_BINARY_DIR}/package/hux-game-queues.pc DESTINATION lib/pkgconfig)

# The Debian package: the same files under /usr, stripped, version from project().
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME hux-game-queues)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "hux-game-queues plugin, its ABI headers and the hux-host development host")
set(CPACK_PACKAGE_CONTACT "hux-game-queues developers <hux-game-queues@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libc6, libstdc++6, zlib1g, libyaml-0-2")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
include(CPack)
